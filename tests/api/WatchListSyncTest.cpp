// The watch-list operations of the main frame's model wired to the real server calls.
#include "ApiTestFixture.h"

#include "client/api/ApiWatchListServer.h"
#include "client/model/IniFile.h"
#include "tests/alerts/RecordingPorts.h"

namespace {

class WatchListSync : public ApiTest, protected RecordingFrame
{
protected:
    WatchListSync()
        : adapter(ctx), paths{setIni(), folder.file("Set/WarnSet.ini"),
                              folder.file("Set/SelfStock.ini")},
          model(paths, Ports(adapter))
    {
        SetAccessKey("K1");
    }

    std::string storedList() const
    {
        return Ini::ReadString(paths.selfStockIni, "SelfStock", "num", "<none>", 2048);
    }

    ApiWatchListServer adapter;
    SettingsPaths paths;
    MainFrameModel model;
};

TEST_F(WatchListSync, AcceptedAdditionIsSentStoredAndShown)
{
    server.reply("/api/action/write", R"({"code":200})");
    EXPECT_EQ(model.AddStarToSelfStock("600000"), 1);
    EXPECT_EQ(model.AddStarToSelfStock("399001深证成指"), 1);
    ASSERT_EQ(server.requestsTo("/api/action/write").size(), 2u);
    EXPECT_EQ(server.requestsTo("/api/action/write").at(1).target,
              "/api/action/write?accesskey=K1&data=600000,i399001&type=1");
    EXPECT_EQ(storedList(), "600000|i399001");
    EXPECT_TRUE(log.has("reload 600000|i399001"));
    EXPECT_TRUE(log.has("message 自选股添加成功！"));
}

TEST_F(WatchListSync, RefusedOrUnreachableServerKeepsTheFileAsItWas)
{
    const struct
    {
        const char* name;
        int status;
        const char* body;
    } cases[] = {
        {"refused", 200, R"({"code":500,"error":"x"})"},
        {"error page", 500, "<html>oops</html>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        server.reply("/api/action/write", c.body, c.status);
        model.SetSelfStocks("");
        EXPECT_EQ(model.AddStarToSelfStock("600000"), 0);
        EXPECT_TRUE(log.has("message 自选股添加失败"));
        EXPECT_EQ(storedList(), "<none>");
    }
    setBaseUrl(closedUrl());
    log.clear();
    model.SetSelfStocks("");
    EXPECT_EQ(model.AddStarToSelfStock("600000"), 0);
    EXPECT_TRUE(log.has("message 自选股添加失败"));
    EXPECT_EQ(storedList(), "<none>");
}

TEST_F(WatchListSync, DeletionSendsTheEntryNotTheList)
{
    server.reply("/api/action/write", R"({"code":200})");
    server.reply("/api/action/delete", R"({"code":200})");
    model.AddStarToSelfStock("600000");
    model.AddStarToSelfStock("000001上证指数");
    model.RefreshSelfStockInfo("i000001|上证指数|3100.5|0.5|1.0|0.8");
    model.DeleteSelfStock("i000001");
    ASSERT_EQ(server.requestsTo("/api/action/delete").size(), 1u);
    EXPECT_EQ(server.requestsTo("/api/action/delete").at(0).target,
              "/api/action/delete?accesskey=K1&data=i000001&type=1");
    EXPECT_EQ(storedList(), "600000");
}

} // namespace
