#include "platform/process/ProcessList.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        // Bytes of multi-byte characters compare as they are.
        if (x < 0x80 && y < 0x80) {
            x = static_cast<unsigned char>(std::tolower(x));
            y = static_cast<unsigned char>(std::tolower(y));
        }
        if (x != y)
            return false;
    }
    return true;
}

std::vector<pid_t> userProcessIds()
{
    std::vector<pid_t> ids;
    DIR* dir = ::opendir("/proc");
    if (!dir)
        return ids;
    const uid_t me = ::getuid();
    while (const dirent* entry = ::readdir(dir)) {
        char* end = nullptr;
        long id = std::strtol(entry->d_name, &end, 10);
        if (*end != '\0' || id <= 0)
            continue;
        struct stat st
        {
        };
        std::string path = std::string("/proc/") + entry->d_name;
        if (::stat(path.c_str(), &st) == 0 && st.st_uid == me)
            ids.push_back(static_cast<pid_t>(id));
    }
    ::closedir(dir);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// The file name of the process's executable; the short command name when the link cannot
// be read.
std::string executableName(pid_t pid)
{
    std::string base = "/proc/" + std::to_string(pid);
    char buf[PATH_MAX];
    ssize_t n = ::readlink((base + "/exe").c_str(), buf, sizeof buf - 1);
    if (n > 0) {
        std::string exe(buf, static_cast<std::size_t>(n));
        const std::string deleted = " (deleted)";
        if (exe.size() > deleted.size() &&
            exe.compare(exe.size() - deleted.size(), deleted.size(), deleted) == 0)
            exe.resize(exe.size() - deleted.size());
        return exe.substr(exe.rfind('/') + 1);
    }
    std::ifstream comm(base + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// A zombie has ended; only its parent's wait is missing.
bool isGone(pid_t pid)
{
    if (::kill(pid, 0) != 0 && errno == ESRCH)
        return true;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

bool waitUntilGone(pid_t pid, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!isGone(pid)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace

pid_t FindUserProcess(const std::string& exeName)
{
    const pid_t self = ::getpid();
    for (pid_t pid : userProcessIds()) {
        if (pid != self && sameNameIgnoringCase(executableName(pid), exeName))
            return pid;
    }
    return -1;
}

bool EndProcess(pid_t pid, std::chrono::milliseconds grace)
{
    if (pid <= 0)
        return false;
    if (::kill(pid, SIGTERM) != 0)
        return errno == ESRCH;
    if (waitUntilGone(pid, grace))
        return true;
    if (::kill(pid, SIGKILL) != 0)
        return errno == ESRCH;
    return waitUntilGone(pid, std::chrono::seconds(2));
}
