#include "service/ServiceOptions.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool ParseNumber(const std::string& text, long long low, long long high, long long& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high)
        return false;
    out = v;
    return true;
}

} // namespace

std::string ServiceUsage()
{
    return "Usage: meridex-service [options]\n"
           "  --port N            port to listen on (default 8600; 0 picks a free one)\n"
           "  --bind ADDR         address to bind (default 127.0.0.1)\n"
           "  --data DIR          data folder, created and seeded on first start\n"
           "                      (default: service-data next to the program)\n"
           "  --files DIR         folder with pages/, site/ and data/ (default: shipped copy)\n"
           "  --updater FILE      program served as /soft/Update/Update.exe (default: Update\n"
           "                      next to the program)\n"
           "  --key-lifetime SEC  lifetime of access keys in seconds (default 43200)\n"
           "  --latest-version V  version announced by /soft/lastversion.txt\n"
           "  --seed N            seed of the quote simulator (default 20140305)\n"
           "  --clock TIME        run the clock from this China time: HH:MM[:SS] today or\n"
           "                      YYYY-MM-DD HH:MM[:SS]\n"
           "  --scenario FILE     replay timed quote changes from FILE\n"
           "  --help              this text\n";
}

bool ParseServiceOptions(int argc, char** argv, ServiceConfig& config, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            config.help = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value or unknown option: " + arg;
            return false;
        }
        const std::string value = argv[++i];
        long long n = 0;
        if (arg == "--port") {
            if (!ParseNumber(value, 0, 65535, n)) {
                error = "bad port: " + value;
                return false;
            }
            config.port = static_cast<int>(n);
        } else if (arg == "--bind") {
            config.bind = value;
        } else if (arg == "--data") {
            config.dataDir = value;
        } else if (arg == "--files") {
            config.filesDir = value;
        } else if (arg == "--updater") {
            config.updaterPath = value;
        } else if (arg == "--key-lifetime") {
            if (!ParseNumber(value, 1, 365LL * 86400, n)) {
                error = "bad key lifetime: " + value;
                return false;
            }
            config.keyLifetime = static_cast<int>(n);
        } else if (arg == "--latest-version") {
            if (value.empty() || value.size() > 16 ||
                value.find_first_not_of("0123456789.") != std::string::npos) {
                error = "bad version: " + value;
                return false;
            }
            config.latestVersion = value;
        } else if (arg == "--seed") {
            if (!ParseNumber(value, 0, (1LL << 62), n)) {
                error = "bad seed: " + value;
                return false;
            }
            config.seed = static_cast<std::uint64_t>(n);
        } else if (arg == "--clock") {
            config.clock = value;
        } else if (arg == "--scenario") {
            config.scenarioFile = value;
        } else {
            error = "unknown option: " + arg;
            return false;
        }
    }
    return true;
}

std::string BuiltVersion()
{
    return MERIDEX_VERSION_TEXT;
}

std::string SourceFilesDir()
{
    return MERIDEX_SERVICE_SOURCE_DIR;
}
