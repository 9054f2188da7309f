#include "SelfSignedCert.h"
#include "UpdateFixture.h"

#include "updater/UpdateHelpers.h"
#include "updater/UpdateProcedure.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <openssl/sha.h>
#include <sys/wait.h>
#include <unistd.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const char* const kListPath = "/soft/Update/2.10.ini";

std::string Sha256Hex(const std::string& bytes)
{
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
    char hex[2 * SHA256_DIGEST_LENGTH + 1];
    for (int i = 0; i < SHA256_DIGEST_LENGTH; ++i)
        std::snprintf(hex + 2 * i, 3, "%02X", digest[i]);
    return hex;
}

class UpdateProcedureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::mkdir((app + "Set").c_str(), 0755);
        setIni("Version", "num", "2.10");
        setIni("Version", "name", "meridex-no-such-client");
        setIni("Version", "Softname", "client.sh");
        setIni("url", "page", server.base());
        WriteFile(app + "client.sh", MarkerScript(app + "client.txt"), true);
    }

    void setIni(const std::string& section, const std::string& key, const std::string& value)
    {
        ASSERT_TRUE(Ini::WriteString(setIni(), section, key, value));
    }
    std::string setIni() const { return app + "Set/Set.ini"; }
    std::string workDir() const { return app + "update"; }

    void serveList(const std::string& text) { server.serve(kListPath, Utf8ToLocal(text)); }
    // A packet that records how it was started in "<name>.txt" of the program folder.
    std::string servePacket(const std::string& name)
    {
        std::string script = MarkerScript(app + name + ".txt");
        server.serve("/soft/" + name, script);
        return script;
    }
    std::string packetUrl(const std::string& name) const { return server.base() + "/soft/" + name; }

    // The real wait gives a started script time to be read before the working folder goes;
    // here each one waits for its packet's marker instead.
    void waitForPacketsInTurn(std::vector<std::string> names)
    {
        port.afterInstallerStart = [this, names, next = std::size_t(0)]() mutable {
            if (next < names.size())
                WaitForFile(app + names[next++] + ".txt");
        };
    }

    int run()
    {
        server.start();
        UpdateProcedure procedure(app, port, disk);
        return procedure.FetchUpdateList();
    }

    TempFolder folder;
    std::string app = folder.path() + "/";
    TestServer server;
    FakePort port;
    FakeDisk disk;
};

TEST_F(UpdateProcedureTest, ListNotReachedOverHttpEndsSilently)
{
    setIni("url", "page", "ftp://127.0.0.1");
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(port.shownLogs.empty());
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(port.armed, 0);
    EXPECT_TRUE(Exists(workDir()));
}

TEST_F(UpdateProcedureTest, NetworkErrorOnListShowsErrorTextAndArmsRetry)
{
    setIni("url", "page", "http://127.0.0.1:" + std::to_string(UnusedPort()));
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].kind, UpdatePort::BoxKind::Plain);
    EXPECT_FALSE(port.boxes[0].text.empty());
    EXPECT_EQ(port.armed, 1);
    EXPECT_EQ(port.lastLog(), "正在连接服务器\r\n连接服务器失败！\r\n点击重试按钮\r\n");
    EXPECT_TRUE(Exists(workDir()));
}

TEST_F(UpdateProcedureTest, HttpsListFromAnUntrustedServerIsANetworkError)
{
    ASSERT_TRUE(WriteSelfSignedCert(folder.file("cert.pem"), folder.file("key.pem")));
    httplib::SSLServer tls(folder.file("cert.pem").c_str(), folder.file("key.pem").c_str());
    tls.Get(kListPath, [](const httplib::Request&, httplib::Response& res) {
        res.set_content("[info]\r\nway=1\r\n", "text/plain");
    });
    int tlsPort = tls.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { tls.listen_after_bind(); });
    while (!tls.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    setIni("url", "page", "https://127.0.0.1:" + std::to_string(tlsPort));

    EXPECT_EQ(run(), 0);
    tls.stop();
    serving.join();
    // The certificate is checked: the list is never read.
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_THAT(port.boxes[0].text, HasSubstr("certificate"));
    EXPECT_EQ(port.armed, 1);
    EXPECT_FALSE(Exists(workDir() + "/Update.ini"));
}

TEST_F(UpdateProcedureTest, ListStatusOtherThan200ArmsRetry)
{
    EXPECT_EQ(run(), 0);
    EXPECT_THAT(
        port.shownLogs,
        ElementsAre("正在连接服务器", "正在连接服务器\r\n连接服务器失败！\r\n点击重试按钮\r\n"));
    EXPECT_EQ(port.armed, 1);
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_TRUE(Exists(workDir()));
}

TEST_F(UpdateProcedureTest, ListRedirectIsFollowed)
{
    server.server.Get(kListPath, [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/elsewhere.ini");
    });
    serveList("");
    server.serve("/elsewhere.ini", "[info]\r\nsize=10\r\nway=1\r\n");
    EXPECT_EQ(run(), 1);
    EXPECT_THAT(port.lastLog(), HasSubstr("获取更新文件列表成功！\r\n"));
}

TEST_F(UpdateProcedureTest, FreeSpaceEqualToSizeFailsTheDiskCheck)
{
    serveList("[info]\r\nsize=1048576\r\nway=2\r\n");
    disk.free = 1048576;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(
        port.lastLog(),
        "正在连接服务器\r\n连接服务器成功！\r\n正在获取更新文件列表\r\n获取更新文件列表成功！\r\n"
        "现有磁盘空间：1.00M\r\n所需磁盘空间：1.00M\r\n"
        "无法安装更新，请清理磁盘空间后重新启动程序！！！！\r\n");
    EXPECT_EQ(port.armed, 0);
    EXPECT_THAT(port.progress, ElementsAre(0));
    EXPECT_FALSE(Exists(workDir()));
}

TEST_F(UpdateProcedureTest, WayOtherThan2DeletesTheWorkingFolderAndStops)
{
    serveList("[info]\r\nsize=10\r\nway=1\r\n[UpdatePacket]\r\nversion1=2.10\r\npath1=" +
              packetUrl("a.sh") + "\r\n");
    servePacket("a.sh");
    EXPECT_EQ(run(), 1);
    // The disk-space text was appended but is not shown.
    EXPECT_EQ(
        port.lastLog(),
        "正在连接服务器\r\n连接服务器成功！\r\n正在获取更新文件列表\r\n获取更新文件列表成功！\r\n");
    EXPECT_EQ(port.armed, 0);
    EXPECT_EQ(port.finished, 0);
    EXPECT_FALSE(Exists(workDir()));
    EXPECT_THAT(server.requests(), ElementsAre(kListPath));
}

TEST_F(UpdateProcedureTest, NoVersion1IsAListError)
{
    serveList("[info]\r\nsize=10\r\nway=2\r\n[UpdatePacket]\r\nversion2=2.10\r\npath2=" +
              packetUrl("a.sh") + "\r\n");
    EXPECT_EQ(run(), 1);
    EXPECT_THAT(port.lastLog(), HasSubstr("开始下载更新包。。。。。。\r\n"
                                          "更新列表读取错误，请点击重试按钮\r\n"));
    EXPECT_EQ(port.armed, 1);
    EXPECT_EQ(port.finished, 0);
    EXPECT_TRUE(Exists(workDir()));
    EXPECT_TRUE(Exists(workDir() + "/Update.ini"));
}

// Packet failures: each ends with retry armed, the working folder gone and nothing run.
struct PacketFailure
{
    const char* name;
    std::function<void(httplib::Server&)> serve;
    const char* logTail;
    const char* box;
};

void PrintTo(const PacketFailure& row, std::ostream* os)
{
    *os << row.name;
}

class PacketFailureTest : public UpdateProcedureTest,
                          public ::testing::WithParamInterface<PacketFailure>
{
};

TEST_P(PacketFailureTest, EndsArmedWithoutRunningAnything)
{
    serveList("[info]\r\nsize=100\r\nway=2\r\n[UpdatePacket]\r\nversion1=2.10\r\npath1=" +
              packetUrl("p.sh") + "\r\n");
    GetParam().serve(server.server);
    EXPECT_EQ(run(), 1);
    EXPECT_THAT(port.lastLog(),
                HasSubstr(std::string("下载更新包：p.sh\r\n") + GetParam().logTail));
    if (GetParam().box)
        EXPECT_TRUE(!port.boxes.empty() && port.boxes.back().text == GetParam().box);
    else
        EXPECT_TRUE(port.boxes.empty());
    EXPECT_GE(port.armed, 1);
    EXPECT_EQ(port.finished, 0);
    EXPECT_FALSE(Exists(workDir()));
    EXPECT_FALSE(Exists(app + "p.sh.txt"));
}

const char* const kDownloadFailed = "下载更新包出错！\r\n请检查网络，并点击重试按钮\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, PacketFailureTest,
    ::testing::Values(
        PacketFailure{
            "NotFound", [](httplib::Server&) {},
            "连接错误，请点击重试按钮\r\n下载更新包出错！\r\n请检查网络，并点击重试按钮\r\n",
            nullptr},
        // Redirects are not followed for packets.
        PacketFailure{"Redirected",
                      [](httplib::Server& s) {
                          s.Get("/soft/p.sh", [](const httplib::Request&, httplib::Response& res) {
                              res.set_redirect("/soft/q.sh");
                          });
                          s.Get("/soft/q.sh", [](const httplib::Request&, httplib::Response& res) {
                              res.set_content("#!/bin/sh\n", "text/plain");
                          });
                      },
                      "连接错误，请点击重试按钮\r\n", nullptr},
        // Content-Length promises more than arrives.
        PacketFailure{"ShortBody",
                      [](httplib::Server& s) {
                          s.Get("/soft/p.sh", [](const httplib::Request&, httplib::Response& res) {
                              res.set_content_provider(
                                  5000, "application/octet-stream",
                                  [](size_t offset, size_t, httplib::DataSink& sink) {
                                      if (offset > 0)
                                          return false;
                                      std::string part(1000, '#');
                                      sink.write(part.data(), part.size());
                                      return true;
                                  });
                          });
                      },
                      kDownloadFailed, nullptr},
        PacketFailure{"NotStartable",
                      [](httplib::Server& s) {
                          s.Get("/soft/p.sh", [](const httplib::Request&, httplib::Response& res) {
                              res.set_content("this is no program", "text/plain");
                          });
                      },
                      "", "更新包损坏，请重新下载！"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(UpdateProcedureTest, FinishedUpdateRunsPacketsCopiesSettingsAndRestartsTheClient)
{
    std::string packet = servePacket("p1.sh");
    servePacket("p2.sh");
    // The second packet names another host: it is still requested from the list's host.
    serveList("[info]\r\nsize=" + std::to_string(2 * packet.size()) +
              "\r\nway=2\r\n[UpdatePacket]\r\nversion1=2.10\r\npath1=" + packetUrl("p1.sh") +
              "\r\nsha2561=" + Sha256Hex(packet) + "\r\nsize1=" + std::to_string(packet.size()) +
              "\r\nversion2=2.20\r\npath2=http://elsewhere.invalid:9/soft/p2.sh\r\n"
              "[update_int]\r\nvalue=Version#num,Softname\r\n"
              "[Version]\r\nnum=2.30\r\nSoftname=client.sh\r\n");
    waitForPacketsInTurn({"p1.sh", "p2.sh"});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(WaitForFile(app + "p1.sh.txt"), "RunAsAdmin /VERYSILENT /SP-");
    EXPECT_EQ(WaitForFile(app + "p2.sh.txt"), "RunAsAdmin /VERYSILENT /SP-");
    EXPECT_EQ(WaitForFile(app + "client.txt"), "RunAsAdmin");
    EXPECT_THAT(server.requests(), ElementsAre(kListPath, "/soft/p1.sh", "/soft/p2.sh"));
    EXPECT_THAT(port.lastLog(), HasSubstr("开始下载更新包。。。。。。\r\n"
                                          "下载更新包：p1.sh\r\n更新包：p1.sh更新成功！\r\n"
                                          "下载更新包：p2.sh\r\n更新包：p2.sh更新成功！\r\n"
                                          "更新成功！\r\n"));
    EXPECT_THAT(port.pauses, ElementsAre(500, 500, 500, 2000, 2000));
    EXPECT_GE(port.blockPauses, 2);
    ASSERT_FALSE(port.progress.empty());
    EXPECT_EQ(port.progress.back(), 100);
    EXPECT_EQ(Ini::ReadString(setIni(), "Version", "num", ""), "2.30");
    EXPECT_EQ(port.finished, 1);
    EXPECT_EQ(port.armed, 0);
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_FALSE(Exists(workDir()));
}

TEST_F(UpdateProcedureTest, InstalledVersionMatchingVersion2SkipsPacket1)
{
    servePacket("p2.sh");
    servePacket("p3.sh");
    serveList("[info]\r\nsize=0\r\nway=2\r\n[UpdatePacket]\r\n"
              "version1=1.00\r\npath1=" +
              packetUrl("p1.sh") + "\r\nversion2=2.10\r\npath2=" + packetUrl("p2.sh") +
              "\r\nversion3=0.1\r\npath3=" + packetUrl("p3.sh") + "\r\n");
    waitForPacketsInTurn({"p2.sh", "p3.sh"});
    EXPECT_EQ(run(), 1);
    EXPECT_THAT(server.requests(), ElementsAre(kListPath, "/soft/p2.sh", "/soft/p3.sh"));
    EXPECT_EQ(WaitForFile(app + "p3.sh.txt"), "RunAsAdmin /VERYSILENT /SP-");
    EXPECT_EQ(WaitForFile(app + "client.txt"), "RunAsAdmin");
    EXPECT_EQ(port.finished, 1);
    // A size of 0 gives no percentage.
    EXPECT_TRUE(port.progress.empty());
}

TEST_F(UpdateProcedureTest, VersionsThatNeverMatchStillFinish)
{
    serveList("[info]\r\nsize=10\r\nway=2\r\n[UpdatePacket]\r\nversion1=1.00\r\npath1=" +
              packetUrl("p1.sh") + "\r\n");
    EXPECT_EQ(run(), 1);
    EXPECT_THAT(server.requests(), ElementsAre(kListPath));
    EXPECT_THAT(port.lastLog(), HasSubstr("开始下载更新包。。。。。。\r\n更新成功！\r\n"));
    EXPECT_EQ(WaitForFile(app + "client.txt"), "RunAsAdmin");
    EXPECT_EQ(port.finished, 1);
    EXPECT_FALSE(Exists(workDir()));
}

TEST_F(UpdateProcedureTest, ClientThatCannotBeStartedIsReported)
{
    setIni("Version", "Softname", "missing-client");
    serveList("[info]\r\nsize=10\r\nway=2\r\n[UpdatePacket]\r\nversion1=1.00\r\n");
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, "文件损坏，请重新安装程序！");
    EXPECT_EQ(port.finished, 1);
}

struct Verification
{
    const char* name;
    // Lines of [UpdatePacket] for packet 1, given the packet's URL, text and digest.
    std::function<std::string(const std::string&, const std::string&, const std::string&)> lines;
    bool downloaded;
};

void PrintTo(const Verification& row, std::ostream* os)
{
    *os << row.name;
}

class VerificationTest : public UpdateProcedureTest,
                         public ::testing::WithParamInterface<Verification>
{
};

TEST_P(VerificationTest, PacketIsRefusedAndNothingRuns)
{
    std::string packet = servePacket("p.sh");
    serveList("[info]\r\nsize=100\r\nway=2\r\n[UpdatePacket]\r\nversion1=2.10\r\n" +
              GetParam().lines(packetUrl("p.sh"), packet, Sha256Hex(packet)));
    EXPECT_EQ(run(), 1);
    EXPECT_THAT(port.lastLog(), HasSubstr("更新包校验失败，请点击重试按钮\r\n"));
    EXPECT_THAT(port.lastLog(), Not(HasSubstr("更新成功")));
    EXPECT_EQ(port.armed, 1);
    EXPECT_EQ(port.finished, 0);
    EXPECT_FALSE(Exists(workDir()));
    EXPECT_EQ(server.requests().size(), GetParam().downloaded ? 2u : 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(Exists(app + "p.sh.txt"));
    EXPECT_FALSE(Exists(app + "client.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VerificationTest,
    ::testing::Values(
        Verification{"DigestMismatch",
                     [](auto& url, auto&, auto&) {
                         return "path1=" + url + "\r\nsha2561=" + std::string(64, '0') + "\r\n";
                     },
                     true},
        Verification{"SizeMismatch",
                     [](auto& url, auto& packet, auto& digest) {
                         return "path1=" + url + "\r\nsha2561=" + digest +
                                "\r\nsize1=" + std::to_string(packet.size() + 1) + "\r\n";
                     },
                     true},
        Verification{"SizeNotANumber",
                     [](auto& url, auto&, auto&) { return "path1=" + url + "\r\nsize1=12x\r\n"; },
                     true},
        Verification{"DotDotName",
                     [](auto& url, auto&, auto&) {
                         return "path1=" + url.substr(0, url.rfind('/')) + "/..\r\n";
                     },
                     false},
        Verification{"EmptyName",
                     [](auto& url, auto&, auto&) {
                         return "path1=" + url.substr(0, url.rfind('/') + 1) + "\r\n";
                     },
                     false},
        Verification{"BackslashDotDot",
                     [](auto& url, auto&, auto&) {
                         return "path1=" + url.substr(0, url.rfind('/')) + "/..\\..\\p.sh\r\n";
                     },
                     false}),
    [](const auto& row) { return std::string(row.param.name); });

struct SettingsCopy
{
    const char* value;
    std::vector<std::pair<const char*, const char*>> expected; // key of [Version], value
};

void PrintTo(const SettingsCopy& row, std::ostream* os)
{
    *os << "\"" << row.value << "\"";
}

class SettingsCopyTest : public UpdateProcedureTest,
                         public ::testing::WithParamInterface<SettingsCopy>
{
};

TEST_P(SettingsCopyTest, CopiesTheNamedKeys)
{
    serveList(std::string("[info]\r\nsize=10\r\nway=2\r\n[UpdatePacket]\r\nversion1=1.00\r\n"
                          "[update_int]\r\nvalue=") +
              GetParam().value + "\r\n[Version]\r\nnum=3.00\r\nchannel=新渠道\r\n");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(WaitForFile(app + "client.txt"), "RunAsAdmin");
    for (const auto& [key, value] : GetParam().expected)
        EXPECT_EQ(Ini::ReadString(setIni(), "Version", key, "(none)"), value) << key;
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsCopyTest,
    ::testing::Values(SettingsCopy{"Version#num,channel", {{"num", "3.00"}, {"channel", "新渠道"}}},
                      SettingsCopy{"", {{"num", "2.10"}, {"channel", "(none)"}}},
                      // A key missing from the list is written empty; items without "#" and empty
                      // items are passed over.
                      SettingsCopy{"Version|Version#num,,nothing|",
                                   {{"num", "3.00"}, {"channel", "(none)"}, {"nothing", ""}}},
                      SettingsCopy{"Other#x|Version#channel",
                                   {{"num", "2.10"}, {"channel", "新渠道"}}}));

TEST_F(UpdateProcedureTest, RunningClientIsEndedOnOkAndKeptOnCancel)
{
    // A child of this test that runs under the client's executable name.
    setIni("Version", "name", "standinclient");
    serveList("[info]\r\nsize=10\r\nway=1\r\n");
    server.start();

    for (auto answer : {UpdatePort::Answer::Cancel, UpdatePort::Answer::Ok}) {
        pid_t child = StartNamedChild(app + "StandInClient");
        ASSERT_GT(child, 0);
        FakePort answering;
        answering.answers.push_back(answer);
        UpdateProcedure procedure(app, answering, disk);
        EXPECT_EQ(procedure.FetchUpdateList(), 1);
        ASSERT_EQ(answering.boxes.size(), 1u);
        EXPECT_EQ(
            answering.boxes[0].text,
            "standinclient已在运行！\n请先关闭程序才能进行更新！\n如果选择确定将强行关闭程序！");
        EXPECT_EQ(answering.boxes[0].kind, UpdatePort::BoxKind::Question);
        // The update goes on either way.
        EXPECT_THAT(answering.lastLog(), HasSubstr("获取更新文件列表成功！"));
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, WNOHANG), answer == UpdatePort::Answer::Ok ? child : 0);
        if (answer == UpdatePort::Answer::Cancel) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
        }
    }
}

} // namespace
