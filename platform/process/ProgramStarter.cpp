#include "platform/process/ProgramStarter.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs in the grandchild: only async-signal-safe calls until exec.
[[noreturn]] void execProgram(const char* program, char* const* argv, const char* folder,
                              int reportFd)
{
    ::setsid();
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    int err = 0;
    if (::chdir(folder) != 0)
        err = errno;
    else {
        ::execv(program, argv);
        err = errno;
    }
    // The report pipe is closed by a successful exec; anything written means failure.
    ssize_t written = ::write(reportFd, &err, sizeof err);
    (void)written;
    ::_exit(127);
}

} // namespace

bool StartDetached(const std::string& program, const std::vector<std::string>& args,
                   const std::string& workingFolder)
{
    // Everything the child needs is prepared before fork.
    std::vector<std::string> strings;
    strings.push_back(program);
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    const std::string folder = workingFolder.empty() ? "." : workingFolder;

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // A middle process that leaves at once, so the program is adopted by init and never
        // becomes our zombie.
        ::close(report[0]);
        pid_t grandchild = ::fork();
        if (grandchild == 0)
            execProgram(program.c_str(), argv.data(), folder.c_str(), report[1]);
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    bool started = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    int err = 0;
    ssize_t n;
    while ((n = ::read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return started && n == 0;
}

bool MakeExecutable(const std::string& path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IXUSR) == 0;
}
