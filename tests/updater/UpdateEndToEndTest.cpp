// The whole update, as a user meets it: the real Update program against the real local web
// service, with a stand-in for the client that is running when Update starts.
#include "UpdateFixture.h"

#include "ServiceProcess.h"
#include "platform/process/ProcessList.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

pid_t Spawn(const std::vector<std::string>& args)
{
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    for (auto& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// The exit status, or -1 when the process did not end within `seconds`.
int WaitForExit(pid_t pid, int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        ::usleep(50 * 1000);
    }
    return -1;
}

// Answers the message box captioned "Update" with its default button (OK), once.
bool AnswerUpdateBox()
{
    for (int i = 0; i < 60; ++i) {
        std::string ids;
        if (std::FILE* p =
                ::popen("xdotool search --onlyvisible --name '^Update$' 2>/dev/null", "r")) {
            char buf[256];
            while (std::fgets(buf, sizeof buf, p))
                ids += buf;
            ::pclose(p);
        }
        std::istringstream lines(ids);
        for (std::string id; std::getline(lines, id);) {
            if (WaitForExit(Spawn({"xdotool", "windowfocus", "--sync", id}), 10) == 0 &&
                WaitForExit(Spawn({"xdotool", "key", "Return"}), 10) == 0)
                return true;
        }
        ::usleep(500 * 1000);
    }
    return false;
}

std::string LastLine(const std::string& text)
{
    auto end = text.find_last_not_of('\n');
    auto start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

TEST(UpdateEndToEndTest, UpdatesARunningClientFromTheLocalService)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ServiceProcess service({"--latest-version", "2.11"});
    ASSERT_TRUE(service.running());

    // A program folder of its own: Update, its skin, Set.ini and the stand-in client.
    TempFolder folder;
    const std::string app = folder.path() + "/";
    fs::copy_file(MERIDEX_UPDATE_BIN, app + "Update");
    fs::copy_file(MERIDEX_STANDIN_BIN, app + "MeridexStandIn");
    std::error_code ec;
    fs::copy(std::string(MERIDEX_SOURCE_DIR_TEXT) + "/skin", app + "skin",
             fs::copy_options::recursive, ec);
    fs::create_directory(app + "Set");
    const std::string setIni = app + "Set/Set.ini";
    Ini::WriteString(setIni, "Version", "num", "2.10");
    Ini::WriteString(setIni, "Version", "name", "MeridexStandIn");
    Ini::WriteString(setIni, "Version", "Softname", "MeridexStandIn");
    Ini::WriteString(setIni, "url", "page", service.base());

    pid_t client = Spawn({app + "MeridexStandIn"});
    ASSERT_EQ(WaitForFile(app + "standin.log"), "started:");
    pid_t updater = Spawn({app + "Update"});

    // "MeridexStandIn已在运行！..." is answered OK: the running client is ended.
    EXPECT_TRUE(AnswerUpdateBox());
    EXPECT_EQ(WaitForExit(client, 30), 0);
    EXPECT_EQ(WaitForExit(updater, 60), 0);

    // The packet ran, the new version number was carried over, the working folder is gone
    // and the client runs again with "RunAsAdmin".
    EXPECT_NE(ReadFile(app + "doc/whatsnew.txt").find("MERIDEX 2.11"), std::string::npos);
    EXPECT_EQ(Ini::ReadString(setIni, "Version", "num", ""), "2.11");
    EXPECT_FALSE(Exists(app + "update"));
    for (int i = 0; i < 200 && LastLine(ReadFile(app + "standin.log")) == "stopped"; ++i)
        ::usleep(50 * 1000);
    EXPECT_EQ(ReadFile(app + "standin.log"), "started:\nstopped\nstarted:RunAsAdmin\n");

    pid_t restarted = FindUserProcess("MeridexStandIn");
    EXPECT_GT(restarted, 0);
    if (restarted > 0)
        EndProcess(restarted);
}

} // namespace
