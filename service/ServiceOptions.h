#pragma once

#include <cstdint>
#include <string>

struct ServiceConfig
{
    std::string bind = "127.0.0.1";
    int port = 8600;
    std::string dataDir;     // accounts, watch lists, the built stock database
    std::string filesDir;    // pages/, site/, data/ as shipped
    std::string updaterPath; // the updater program served as Update.exe
    int keyLifetime = 12 * 3600;
    std::string latestVersion;
    std::uint64_t seed = 20140305;
    std::string clock;        // start the clock at this China time
    std::string scenarioFile; // timed quote changes to replay
    bool help = false;
};

// Fills `config` from the command line; false with `error` set on a bad argument. Paths left
// empty are filled in by the caller from the program folder.
bool ParseServiceOptions(int argc, char** argv, ServiceConfig& config, std::string& error);
std::string ServiceUsage();

// The version this build carries, and the source folder of the shipped files.
std::string BuiltVersion();
std::string SourceFilesDir();
