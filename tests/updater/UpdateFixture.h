#pragma once

#include "client/model/IniFile.h"
#include "client/model/LocalText.h"
#include "platform/disk/DiskSpace.h"
#include "platform/process/ProcessList.h"
#include "tests/model/TempFolder.h"
#include "updater/UpdatePort.h"

#include <chrono>
#include <csignal>
#include <deque>
#include <fstream>
#include <functional>
#include <httplib.h>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

// Records what the procedure shows; answers message boxes from a queue (OK when empty).
class FakePort : public UpdatePort
{
public:
    struct Box
    {
        std::string text;
        BoxKind kind;
    };

    void showLog(const std::string& log) override { shownLogs.push_back(log); }
    void setProgress(int percent) override { progress.push_back(percent); }
    void armRetry() override { ++armed; }
    Answer messageBox(const std::string& text, BoxKind kind) override
    {
        boxes.push_back({text, kind});
        if (answers.empty())
            return Answer::Ok;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void postFinished() override { ++finished; }
    void pause(int milliseconds) override
    {
        if (milliseconds > 1) {
            pauses.push_back(milliseconds);
            if (milliseconds == 2000 && afterInstallerStart)
                afterInstallerStart();
        } else
            ++blockPauses;
    }

    std::string lastLog() const { return shownLogs.empty() ? std::string() : shownLogs.back(); }

    std::vector<std::string> shownLogs;
    std::vector<int> progress;
    std::vector<Box> boxes;
    std::deque<Answer> answers;
    std::vector<int> pauses;
    int blockPauses = 0;
    // Runs in place of the wait after an installer start.
    std::function<void()> afterInstallerStart;
    int armed = 0;
    int finished = 0;
};

class FakeDisk : public DiskSpace
{
public:
    std::optional<std::uint64_t> freeBytes(const std::string&) const override { return free; }
    std::optional<std::uint64_t> free = std::uint64_t(1) << 40;
};

// An HTTP server on a free loopback port, serving from its own thread.
class TestServer
{
public:
    TestServer()
    {
        port = server.bind_to_any_port("127.0.0.1");
        server.set_logger([this](const httplib::Request& req, const httplib::Response&) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_requests.push_back(req.path);
        });
    }
    ~TestServer()
    {
        if (m_thread.joinable()) {
            server.stop();
            m_thread.join();
        }
    }
    // Handlers are all registered before the server thread starts.
    void start()
    {
        if (m_thread.joinable())
            return;
        m_thread = std::thread([this] { server.listen_after_bind(); });
        // stop() does nothing before the server runs.
        while (!server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    std::string base() const { return "http://127.0.0.1:" + std::to_string(port); }
    std::vector<std::string> requests()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }
    // Serves `body` at `path`; lists are sent in the local code page as the real server does.
    void serve(const std::string& path, const std::string& body)
    {
        server.Get(path, [body](const httplib::Request&, httplib::Response& res) {
            res.set_content(body, "application/octet-stream");
        });
    }

    httplib::Server server;
    int port = 0;

private:
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<std::string> m_requests;
};

// A loopback port on which nothing listens.
inline int UnusedPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &size);
    ::close(fd);
    return ntohs(addr.sin_port);
}

inline void WriteFile(const std::string& path, const std::string& bytes, bool executable = false)
{
    std::ofstream(path, std::ios::binary) << bytes;
    if (executable)
        ::chmod(path.c_str(), 0755);
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Programs started detached write their marker a little later.
inline std::string WaitForFile(const std::string& path)
{
    for (int i = 0; i < 500; ++i) {
        std::ifstream in(path);
        std::string line;
        if (std::getline(in, line))
            return line;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return "(missing)";
}

inline bool Exists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

// A copy of a long-running program under a name of our choosing, started as a child of the
// test; once this returns, it runs under that name (and ignores SIGTERM when asked to).
inline pid_t StartNamedChild(const std::string& exe, bool ignoreTerm = false)
{
    WriteFile(exe, ReadFile("/bin/sleep"), true);
    pid_t child = ::fork();
    if (child == 0) {
        if (ignoreTerm)
            ::signal(SIGTERM, SIG_IGN);
        ::execl(exe.c_str(), exe.c_str(), "30", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const std::string name = exe.substr(exe.rfind('/') + 1);
    for (int i = 0; i < 500 && FindUserProcess(name) != child; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return child;
}

// A program that writes its arguments into `marker`.
inline std::string MarkerScript(const std::string& marker)
{
    return "#!/bin/sh\necho \"$@\" > \"" + marker + "\"\n";
}
