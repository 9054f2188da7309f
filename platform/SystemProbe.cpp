#include "platform/SystemProbe.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/sysinfo.h>
#include <vector>

namespace SystemProbe {

namespace {

constexpr unsigned long kLoopbackFlag = 0x8;

std::string trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

bool readFirstLine(const std::string& path, std::string& line)
{
    std::ifstream in(path);
    return static_cast<bool>(std::getline(in, line));
}

// "aa:bb:cc:dd:ee:ff[:...]" to bytes; false unless every part is one hexadecimal byte.
bool parseHardwareAddress(const std::string& text, std::vector<unsigned>& bytes)
{
    std::istringstream in(trim(text));
    std::string part;
    while (std::getline(in, part, ':')) {
        if (part.empty() || part.size() > 2)
            return false;
        char* end = nullptr;
        const unsigned long v = std::strtoul(part.c_str(), &end, 16);
        if (*end != '\0')
            return false;
        bytes.push_back(static_cast<unsigned>(v));
    }
    return true;
}

} // namespace

std::string NetworkAddress(const std::string& sysClassNet)
{
    DIR* dir = ::opendir(sysClassNet.c_str());
    if (dir == nullptr)
        return "error";
    long bestIndex = LONG_MIN;
    std::string best = "error";
    while (dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string base = sysClassNet + "/" + name + "/";
        std::string flags, index, address;
        if (!readFirstLine(base + "ifindex", index) || !readFirstLine(base + "address", address))
            continue;
        if (readFirstLine(base + "flags", flags) &&
            (std::strtoul(flags.c_str(), nullptr, 16) & kLoopbackFlag) != 0)
            continue;
        std::vector<unsigned> bytes;
        if (!parseHardwareAddress(address, bytes) || bytes.size() < 6)
            continue;
        const long i = std::strtol(index.c_str(), nullptr, 10);
        if (i < bestIndex)
            continue;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%02x-%02x-%02x-%02x-%02x-%02x", bytes[0], bytes[1],
                      bytes[2], bytes[3], bytes[4], bytes[5]);
        bestIndex = i;
        best = buf;
    }
    ::closedir(dir);
    return best;
}

std::string OsName(const std::string& osRelease)
{
    std::ifstream in(osRelease);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, 12, "PRETTY_NAME=") != 0)
            continue;
        std::string value = trim(line.substr(12));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        std::string out;
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '\\' && i + 1 < value.size())
                ++i;
            out += value[i];
        }
        return out;
    }
    return std::string();
}

std::string ProcessorName(const std::string& cpuinfo)
{
    std::ifstream in(cpuinfo);
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos || trim(line.substr(0, colon)) != "model name")
            continue;
        const std::string name = trim(line.substr(colon + 1));
        return name.empty() ? "error" : name;
    }
    return "error";
}

std::string Memory()
{
    struct sysinfo info
    {
    };
    if (::sysinfo(&info) != 0)
        return "0M";
    const unsigned long long bytes = static_cast<unsigned long long>(info.totalram) * info.mem_unit;
    return std::to_string(bytes / 1048576ULL) + "M";
}

} // namespace SystemProbe
