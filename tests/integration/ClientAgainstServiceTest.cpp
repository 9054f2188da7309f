// The API client and the watch-list operations against the real local web service: what a
// fresh checkout does end to end, without windows.
#include "tests/service/ServiceProcess.h"

#include "client/api/ApiContext.h"
#include "client/api/ApiWatchListServer.h"
#include "client/api/CookieStore.h"
#include "client/api/Downloads.h"
#include "client/api/LoginApi.h"
#include "client/api/LoginState.h"
#include "client/api/ServerCheck.h"
#include "client/api/VersionCheck.h"
#include "client/api/WatchListApi.h"
#include "client/model/IniFile.h"
#include "tests/alerts/RecordingPorts.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <json/json.h>
#include <sqlite3.h>

namespace {

class ClientAgainstService : public ::testing::Test
{
protected:
    explicit ClientAgainstService(std::vector<std::string> args = {}) : service(std::move(args))
    {
        std::filesystem::create_directories(program.file("Set"));
        std::filesystem::create_directories(program.file("skin"));
        for (const char* key : {"home", "page", "main"})
            Ini::WriteString(program.file("Set/Set.ini"), "url", key, service.base());
        Ini::WriteString(program.file("Set/Set.ini"), "Version", "num", "2.10");
        ctx.programFolder = program.path();
        ClearLogin();
        SetSessionCookie("");
        CookieStore::instance().clear();
    }

    // The code the service drew into the verification image of this session.
    std::string codeShownInTheImage()
    {
        std::string cookie = GetSessionCookie();
        const auto at = cookie.find("MXSESSION=");
        if (at == std::string::npos)
            return "";
        cookie = cookie.substr(at + 10);
        cookie = cookie.substr(0, cookie.find(';'));
        auto res = service.client()->Get("/admin/verifycode?cookie=" + cookie);
        if (!res || res->status != 200)
            return "";
        Json::Value body;
        std::istringstream in(res->body);
        in >> body;
        return body["verifycode"].asString();
    }

    ServiceProcess service;
    TempFolder program;
    ApiContext ctx;
};

TEST_F(ClientAgainstService, LoginThenWatchListRoundTrip)
{
    ASSERT_TRUE(service.running());
    EXPECT_EQ(TestServer(ctx), 1);
    std::string error;
    ASSERT_EQ(ApiLogin("demo", "meridex", "", error, ctx), 1) << error;
    EXPECT_FALSE(GetAccessKey().empty());
    ApiGetUserInfo(ctx);
    EXPECT_GT(GetUserId(), 0);

    std::string list;
    ASSERT_EQ(ApiReadWatchList(list, ctx), 1);
    EXPECT_FALSE(list.empty()) << "the demo account comes with a watch list";

    // The model's additions and deletions reach the account.
    RecordingFrame frame;
    ApiWatchListServer server(ctx);
    SettingsPaths paths{program.file("Set/Set.ini"), program.file("Set/WarnSet.ini"),
                        program.file("Set/SelfStock.ini")};
    MainFrameModel model(paths, frame.Ports(server));
    model.SetSelfStocks(list);
    ASSERT_EQ(model.AddStarToSelfStock("002594"), 1);
    EXPECT_TRUE(frame.log.has("message 自选股添加成功！"));
    std::string afterAdd;
    ASSERT_EQ(ApiReadWatchList(afterAdd, ctx), 1);
    EXPECT_EQ(afterAdd, list + "|002594");

    model.RefreshSelfStockInfo("002594|比亚迪|250.00|1.00|1.0|0.5");
    model.DeleteSelfStock("002594");
    std::string afterDelete;
    ASSERT_EQ(ApiReadWatchList(afterDelete, ctx), 1);
    EXPECT_EQ(afterDelete, list);
    EXPECT_EQ(Ini::ReadString(paths.selfStockIni, "SelfStock", "num", "", 2048), list);
}

TEST_F(ClientAgainstService, RepeatedWrongPasswordsNeedTheCodeOfTheImage)
{
    std::string error;
    int result = 0;
    for (int i = 0; i < 3 && result != 2; ++i)
        result = ApiLogin("demo", "wrong", "", error, ctx);
    ASSERT_EQ(result, 2) << "three failures ask for a verification code";

    const CodeImageResult image = FetchVerificationCode([](const CodeImageResult&) {}, ctx);
    ASSERT_EQ(image.outcome, CodeImageResult::Outcome::Ready) << image.message;
    EXPECT_GT(std::filesystem::file_size(program.file("skin/code.png")), 0u);
    const std::string code = codeShownInTheImage();
    ASSERT_EQ(code.size(), 4u);

    EXPECT_EQ(ApiLogin("demo", "meridex", code, error, ctx), 1) << error;
}

TEST_F(ClientAgainstService, PasswordsWithUrlCharactersArriveIntact)
{
    // Register through the site form the way a browser does, then log in from the client.
    const std::string password = "a&b #c+d%";
    httplib::Params form{{"username", "urltest"}, {"password", password}, {"password2", password}};
    auto res = service.client()->Post("/register", form);
    ASSERT_TRUE(res);
    ASSERT_EQ(res->status, 200) << res->body;
    std::string error;
    EXPECT_EQ(ApiLogin("urltest", password, "", error, ctx), 1) << error;
}

TEST_F(ClientAgainstService, StockDatabaseDownloadsAndAnswersPrefixQueries)
{
    ASSERT_TRUE(DownloadStockDb(ctx));
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(program.file("meridex.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT codename FROM stockname WHERE spell LIKE 'PAYH%' "
                                 "ORDER BY code",
                                 -1, &stmt, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))),
              "000001 平安银行");
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    EXPECT_FALSE(std::filesystem::exists(program.file("meridex1.db")));
}

TEST_F(ClientAgainstService, SameVersionAnnouncesNoUpdate)
{
    float installed = 0;
    float latest = 0;
    EXPECT_EQ(CheckVersion(
                  installed, latest, [](const std::string&) {}, ctx),
              0);
}

class ClientAgainstNewerService : public ClientAgainstService
{
protected:
    ClientAgainstNewerService() : ClientAgainstService({"--latest-version", "2.11"}) {}
};

TEST_F(ClientAgainstNewerService, NewerVersionIsAnnounced)
{
    float installed = 0;
    float latest = 0;
    EXPECT_EQ(CheckVersion(
                  installed, latest, [](const std::string&) {}, ctx),
              1);
    EXPECT_GT(latest, installed);
}

} // namespace
