#include "ServiceTestUtil.h"

#include "client/model/AtomicFile.h"
#include "client/model/IniText.h"
#include "client/model/LocalText.h"
#include "service/PasswordHash.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

namespace {

class PageServerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_updater = new TempFolder;
        AtomicWriteFile(s_updater->file("Update"), std::string("\x7f"
                                                               "ELF updater bytes\0\1",
                                                               20));
        s_service = new ServiceProcess(
            {"--latest-version", "2.11", "--updater", s_updater->file("Update")});
    }
    static void TearDownTestSuite()
    {
        delete s_service;
        delete s_updater;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_service->running());
        m_client = s_service->client();
    }
    std::string get(const std::string& path, int status = 200)
    {
        auto r = m_client->Get(path.c_str());
        EXPECT_TRUE(r) << path;
        if (!r)
            return {};
        EXPECT_EQ(r->status, status) << path;
        return r->body;
    }
    static std::string iniValue(const std::string& text, const char* section, const char* key)
    {
        return IniText::find(text, section, key).value_or("<missing>");
    }

    static ServiceProcess* s_service;
    static TempFolder* s_updater;
    std::unique_ptr<httplib::Client> m_client;
};

ServiceProcess* PageServerTest::s_service = nullptr;
TempFolder* PageServerTest::s_updater = nullptr;

TEST_F(PageServerTest, VersionFileNamesTheLatestVersion)
{
    EXPECT_EQ(iniValue(get("/soft/lastversion.txt"), "Version", "num"), "2.11");
}

std::vector<std::string> Column(sqlite3* db, const std::string& sql)
{
    std::vector<std::string> rows;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        return {"<" + std::string(sqlite3_errmsg(db)) + ">"};
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const unsigned char* t = sqlite3_column_text(st, i);
            row += std::string(i ? "|" : "") + (t ? reinterpret_cast<const char*>(t) : "");
        }
        rows.push_back(row);
    }
    sqlite3_finalize(st);
    return rows;
}

TEST_F(PageServerTest, StockDatabaseHoldsEveryRowWithFastPrefixSearch)
{
    const std::string path = s_updater->file("meridex.db");
    ASSERT_TRUE(AtomicWriteFile(path, get("/soft/StockDB/meridex.db")));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);

    std::string csv;
    ASSERT_TRUE(
        ReadWholeFile(std::string(MERIDEX_SOURCE_DIR_TEXT) + "/service/data/stocks.csv", csv));
    const long lines = std::count(csv.begin(), csv.end(), '\n') - 1; // without the header
    EXPECT_EQ(Column(db, "SELECT count(*) FROM stockname"),
              std::vector<std::string>{std::to_string(lines)});
    EXPECT_EQ(Column(db, "SELECT codename, spell, name FROM stockname WHERE code = '600000'"),
              std::vector<std::string>{"600000 浦发银行|PFYH|浦发银行"});
    // The index and the stock of the same digits are both there, told apart by name.
    EXPECT_EQ(Column(db, "SELECT codename FROM stockname WHERE code = '000001' ORDER BY name"),
              (std::vector<std::string>{"000001 上证指数", "000001 平安银行"}));

    // The client's own prefix query, with its three OR'ed LIKEs.
    const std::string query = "SELECT codename FROM stockname where spell like 'PFY%' or code like "
                              "'PFY%' or name like 'PFY%'";
    EXPECT_EQ(Column(db, query), std::vector<std::string>{"600000 浦发银行"});
    EXPECT_EQ(Column(db, "SELECT codename FROM stockname where spell like '60000%' or code like "
                         "'60000%' or name like '60000%'")
                  .size(),
              6u);
    std::string plan;
    for (const std::string& step : Column(db, "EXPLAIN QUERY PLAN " + query))
        plan += step + "\n";
    EXPECT_EQ(plan.find("SCAN stockname"), std::string::npos) << plan;
    sqlite3_close(db);
}

TEST_F(PageServerTest, UpdateListNamesAPacketThatVerifiesAndInstalls)
{
    const std::string list = LocalToUtf8(get("/soft/Update/2.10.ini"));
    EXPECT_EQ(iniValue(list, "info", "way"), "2");
    EXPECT_EQ(iniValue(list, "UpdatePacket", "version1"), "2.10");
    EXPECT_EQ(iniValue(list, "UpdatePacket", "version2"), "<missing>");
    EXPECT_EQ(iniValue(list, "update_int", "value"), "Version#num");
    EXPECT_EQ(iniValue(list, "Version", "num"), "2.11");

    const std::string url = iniValue(list, "UpdatePacket", "path1");
    const std::string prefix = s_service->base() + "/soft/Update/packets/";
    ASSERT_EQ(url.rfind(prefix, 0), 0u) << url;
    const std::string name = url.substr(prefix.size());
    EXPECT_EQ(name, "MERIDEX-2.11-setup.sh");
    const std::string packet = get("/soft/Update/packets/" + name);
    EXPECT_EQ(iniValue(list, "info", "size"), std::to_string(packet.size()));
    EXPECT_EQ(iniValue(list, "UpdatePacket", "size1"), std::to_string(packet.size()));
    EXPECT_EQ(iniValue(list, "UpdatePacket", "sha2561"), PasswordHash::Sha256Hex(packet));

    // Run as the updater does: from <program folder>/Update, silently, without waiting for input.
    TempFolder program;
    std::filesystem::create_directories(program.file("Update"));
    const std::string script = program.file("Update/" + name);
    ASSERT_TRUE(AtomicWriteFile(script, packet, 0755));
    const std::string command = "'" + script + "' RunAsAdmin /VERYSILENT /SP- </dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::string notes;
    ASSERT_TRUE(ReadWholeFile(program.file("doc/whatsnew.txt"), notes));
    EXPECT_NE(notes.find("MERIDEX 2.11"), std::string::npos);

    get("/soft/Update/2.10x.ini", 404);
    get("/soft/Update/packets/MERIDEX-2.10-setup.sh", 404);
}

TEST_F(PageServerTest, UpdaterProgramIsServedOrClearlyMissing)
{
    EXPECT_EQ(get("/soft/Update/Update.exe"), std::string("\x7f"
                                                          "ELF updater bytes\0\1",
                                                          20));
    ServiceProcess without({"--updater", s_updater->file("absent")});
    ASSERT_TRUE(without.running());
    auto r = without.client()->Get("/soft/Update/Update.exe");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 404);
    EXPECT_NE(r->body.find("updater"), std::string::npos);
}

TEST_F(PageServerTest, UsageLogStoresBothTablesAndListsThem)
{
    // Table 1 arrives with the user name in the local code page, unencoded.
    const std::string user = Utf8ToLocal("张三");
    const std::string table1 = "00-11-22-aa-bb-cc||||Intel||2048M||120||1920:1080||2.10||" + user;
    EXPECT_EQ(get("/soft/userlog.php?table1=" + table1), "ok\n");
    EXPECT_EQ(get("/soft/userlog.php?table2=" +
                  UrlEncode("00-11-22-aa-bb-cc||2014-3-5-9-7-8||2014-3-5-9-8-0")),
              "ok\n");
    const std::string page = get("/soft/userlog.php");
    EXPECT_NE(page.find("2048M||120||1920:1080||2.10||张三"), std::string::npos);
    EXPECT_NE(page.find("2014-3-5-9-7-8"), std::string::npos);
    // Markup in a record is shown as text.
    get("/soft/userlog.php?table1=" + UrlEncode("<script>x</script>"));
    EXPECT_EQ(get("/soft/userlog.php").find("<script>x"), std::string::npos);
}

TEST_F(PageServerTest, PagesAndTheirFilesAreServedForAnyVersion)
{
    for (const char* page : {"stockmy", "stocktop", "stocksingle"}) {
        const std::string html = get(std::string("/soft/2.10/htmls/") + page + ".php");
        EXPECT_NE(html.find(std::string("src=\"") + page + ".js\""), std::string::npos) << page;
        EXPECT_FALSE(get(std::string("/soft/9.9/htmls/") + page + ".js").empty());
    }
    EXPECT_FALSE(get("/soft/2.10/htmls/common.js").empty());
    EXPECT_FALSE(get("/soft/2.10/htmls/pages.css").empty());
    get("/soft/2.10/htmls/missing.js", 404);
    for (const char* site : {"/", "/register", "/getpass", "/stock/help/golden",
                             "/about/iphone.html", "/about/android.html"})
        EXPECT_NE(get(site).find("<html"), std::string::npos) << site;
}

} // namespace
