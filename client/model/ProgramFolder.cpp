#include "client/model/ProgramFolder.h"

#include <climits>
#include <unistd.h>

std::string ProgramFolder()
{
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return ".";
    std::string exe(buf, static_cast<size_t>(n));
    auto slash = exe.rfind('/');
    std::string folder = slash == 0 ? "/" : exe.substr(0, slash);
    if (::chdir(folder.c_str()) != 0) {
        // The folder is still the right answer for building paths; relative skin paths
        // simply will not resolve.
    }
    return folder == "/" ? "" : folder;
}

std::string SetIniPath()
{
    return ProgramFolder() + "/Set/Set.ini";
}

std::string WarnSetIniPath()
{
    return ProgramFolder() + "/Set/WarnSet.ini";
}

std::string SelfStockIniPath()
{
    return ProgramFolder() + "/Set/SelfStock.ini";
}
