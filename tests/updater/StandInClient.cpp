// Stands in for the client in the end-to-end update: records in "standin.log" beside itself
// how it was started and that it was asked to stop, then waits to be ended.
#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onTerm(int)
{
    g_stop = 1;
}

std::string logPath()
{
    char exe[4096];
    ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string path = n > 0 ? std::string(exe, static_cast<std::size_t>(n)) : "./standin";
    return path.substr(0, path.rfind('/') + 1) + "standin.log";
}

void record(const std::string& line)
{
    if (std::FILE* f = std::fopen(logPath().c_str(), "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::signal(SIGTERM, onTerm);
    std::string args;
    for (int i = 1; i < argc; ++i)
        args += (i > 1 ? " " : "") + std::string(argv[i]);
    record("started:" + args);
    for (int i = 0; i < 1200 && !g_stop; ++i)
        ::usleep(50 * 1000);
    record(g_stop ? "stopped" : "timed out");
    return 0;
}
