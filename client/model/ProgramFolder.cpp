#include "client/model/ProgramFolder.h"

#include <climits>
#include <unistd.h>

std::string ExecutableFolder()
{
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return ".";
    std::string exe(buf, static_cast<size_t>(n));
    auto slash = exe.rfind('/');
    // A program in "/" itself: the empty folder, so that folder + "/Set/..." stays a path.
    return slash == 0 ? "" : exe.substr(0, slash);
}

std::string ProgramFolder()
{
    std::string folder = ExecutableFolder();
    if (::chdir(folder.empty() ? "/" : folder.c_str()) != 0) {
        // The folder is still the right answer for building paths; relative skin paths
        // simply will not resolve.
    }
    return folder;
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
