#include "client/model/ProgramFolder.h"
#include "service/ServiceOptions.h"
#include "service/WebService.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

// Pages and data: the copy next to the program, else the source tree it was built from.
std::string DefaultFilesDir(const std::string& programDir)
{
    std::error_code ec;
    const std::string shipped = programDir + "/service-files";
    if (std::filesystem::exists(shipped + "/data/stocks.csv", ec))
        return shipped;
    return SourceFilesDir();
}

} // namespace

int main(int argc, char** argv)
{
    ServiceConfig config;
    config.latestVersion = BuiltVersion();
    std::string error;
    if (!ParseServiceOptions(argc, argv, config, error)) {
        std::fprintf(stderr, "meridex-service: %s\n%s", error.c_str(), ServiceUsage().c_str());
        return 2;
    }
    if (config.help) {
        std::fputs(ServiceUsage().c_str(), stdout);
        return 0;
    }
    const std::string programDir = ExecutableFolder();
    if (config.dataDir.empty())
        config.dataDir = programDir + "/service-data";
    if (config.filesDir.empty())
        config.filesDir = DefaultFilesDir(programDir);
    if (config.updaterPath.empty())
        config.updaterPath = programDir + "/Update";

    // SIGINT and SIGTERM are taken by one thread that stops the server; every other thread
    // inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    WebService service(config);
    const int port = service.start(error);
    if (port == 0) {
        std::fprintf(stderr, "meridex-service: %s\n", error.c_str());
        return 1;
    }
    std::printf("listening on http://%s:%d\n", config.bind.c_str(), port);
    std::fflush(stdout);

    std::atomic<bool> served{false};
    std::thread stopper([&service, &stopSignals, &served] {
        const timespec tick{0, 200 * 1000 * 1000};
        bool stopping = false;
        while (!served) {
            const int signal = sigtimedwait(&stopSignals, nullptr, &tick);
            if (signal > 0 && !stopping) {
                std::fprintf(stderr, "meridex-service: stopping on signal %d\n", signal);
                stopping = true;
            }
            // Repeated: a stop that arrives before the server runs would otherwise be lost.
            if (stopping)
                service.stop();
        }
    });
    const bool ok = service.run();
    served = true;
    stopper.join();
    return ok ? 0 : 1;
}
