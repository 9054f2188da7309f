#include "ApiTestFixture.h"

#include "client/api/Downloads.h"
#include "client/api/VersionCheck.h"
#include "client/model/AtomicFile.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(VersionCompare, FirstThreeCharactersThenLastThree)
{
    struct Case
    {
        const char* installed;
        const char* latest;
        int expected;
        float installedValue;
        float latestValue;
    };
    const Case cases[] = {
        {"2.10", "2.11", 1, 0.10f, 0.11f}, {"2.9", "2.10", 0, 2.9f, 2.1f},
        {"2.10", "2.10", 0, 0.10f, 0.10f}, {"1.9", "2.0", 1, 1.9f, 2.0f},
        {"2.10", "", 0, 2.1f, 0.0f},       {"2", "3", 1, 2.0f, 3.0f},
        {"2.10", "x.yz", 0, 2.1f, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.installed) + " vs " + c.latest);
        float a = -1;
        float b = -1;
        EXPECT_EQ(CompareVersions(c.installed, c.latest, a, b), c.expected);
        EXPECT_FLOAT_EQ(a, c.installedValue);
        EXPECT_FLOAT_EQ(b, c.latestValue);
    }
}

class DownloadTest : public ApiTest
{
protected:
    // A small, sound stock database as the server would send it.
    std::string makeDatabase(const char* rowName)
    {
        const std::string path = folder.file("source.db");
        fs::remove(path);
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        const std::string sql = std::string("CREATE TABLE stockname(code TEXT, name TEXT, py TEXT);"
                                            "INSERT INTO stockname VALUES('600000','") +
                                rowName + "','PFYH');";
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes));
        fs::remove(path);
        return bytes;
    }

    std::string read(const std::string& name)
    {
        std::string bytes;
        return ReadWholeFile(folder.file(name), bytes) ? bytes : std::string("(missing)");
    }
};

TEST_F(DownloadTest, CheckVersion)
{
    float a = -1;
    float b = -1;
    std::string shown;
    auto show = [&](const std::string& text) { shown = text; };
    EXPECT_EQ(CheckVersion(a, b, show, ctx), 3);
    EXPECT_EQ(shown, "文件损坏，请重新安装程序！");

    ASSERT_TRUE(Ini::WriteString(setIni(), "Version", "num", "2.10"));
    server.reply("/soft/lastversion.txt", "[Version]\r\nnum=2.11\r\n");
    EXPECT_EQ(CheckVersion(a, b, show, ctx), 1);
    EXPECT_FLOAT_EQ(a, 0.10f);
    EXPECT_FLOAT_EQ(b, 0.11f);
    EXPECT_FALSE(fs::exists(folder.file("Set/version.dat")));

    server.reply("/soft/lastversion.txt", "[Version]\nnum=2.10\n");
    EXPECT_EQ(CheckVersion(a, b, show, ctx), 0);
    server.reply("/soft/lastversion.txt", "[Version]\nnum=9.9\n", 404);
    EXPECT_EQ(CheckVersion(a, b, show, ctx), 0) << "an error page is no version file";
    server.stall("/soft/lastversion.txt");
    EXPECT_EQ(CheckVersion(a, b, show, ctx), 0);
    EXPECT_FALSE(fs::exists(folder.file("Set/version.dat")));
}

TEST_F(DownloadTest, StockDatabaseIsInstalledOnlyWhenSound)
{
    const std::string good = makeDatabase("浦发银行");
    const std::string older = makeDatabase("old");
    std::string corrupt = good;
    corrupt.replace(100, 3000, std::string(3000, '\x5a'));

    struct Case
    {
        const char* name;
        std::function<void()> serve;
        bool installed;
    };
    const std::string path = "/soft/StockDB/meridex.db";
    const Case cases[] = {
        {"error page", [&] { server.reply(path, "<html>503</html>"); }, false},
        {"404 with a database", [&] { server.reply(path, good, 404); }, false},
        {"truncated", [&] { server.reply(path, good.substr(0, good.size() / 2)); }, false},
        {"corrupt pages", [&] { server.reply(path, corrupt); }, false},
        {"cut short",
         [&] {
             server.on(path, [&](const httplib::Request&, httplib::Response& res) {
                 res.set_content_provider(good.size(), "application/octet-stream",
                                          [&](size_t, size_t, httplib::DataSink& sink) {
                                              sink.write(good.data(), 1024);
                                              return false;
                                          });
             });
         },
         false},
        {"stalled", [&] { server.stall(path); }, false},
        {"unreachable", [&] { setBaseUrl(closedUrl()); }, false},
        {"sound", [&] { server.reply(path, good); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(AtomicWriteFile(folder.file("meridex.db"), older));
        ASSERT_TRUE(AtomicWriteFile(folder.file("meridex.db-wal"), "stale"));
        c.serve();
        EXPECT_EQ(DownloadStockDb(ctx), c.installed);
        EXPECT_EQ(read("meridex.db"), c.installed ? good : older);
        EXPECT_EQ(fs::exists(folder.file("meridex.db-wal")), !c.installed);
        EXPECT_FALSE(fs::exists(folder.file("meridex1.db")));
        setBaseUrl(server.url());
    }
}

TEST_F(DownloadTest, UpdaterIsInstalledByRenameAndRemembered)
{
    const std::string path = "/soft/Update/Update.exe";
    server.reply(path, "not found", 404);
    EXPECT_FALSE(DownloadUpdater(ctx));
    EXPECT_FALSE(fs::exists(folder.file("Update")));
    EXPECT_EQ(Ini::ReadInt(setIni(), "update", "num", 0), 0);
    EXPECT_FALSE(fs::exists(folder.file("Change.db")));

    // The updater that runs keeps its file: it holds it open as a running program does.
    ASSERT_TRUE(AtomicWriteFile(folder.file("Update"), "old updater", 0755));
    const int running = ::open(folder.file("Update").c_str(), O_RDONLY);
    ASSERT_GE(running, 0);
    server.reply(path, "#!/bin/sh\necho new\n");
    EXPECT_TRUE(DownloadUpdater(ctx));
    EXPECT_EQ(read("Update"), "#!/bin/sh\necho new\n");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(folder.file("Update").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_EQ(Ini::ReadInt(setIni(), "update", "num", 0), 1);
    EXPECT_FALSE(fs::exists(folder.file("Change.db")));
    char buf[32] = {};
    EXPECT_EQ(::pread(running, buf, sizeof buf - 1, 0), 11);
    EXPECT_STREQ(buf, "old updater");
    ::close(running);
}

} // namespace
