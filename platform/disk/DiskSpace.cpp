#include "platform/disk/DiskSpace.h"

#include <sys/statvfs.h>

std::optional<std::uint64_t> StatvfsDiskSpace::freeBytes(const std::string& path) const
{
    struct statvfs st
    {
    };
    if (::statvfs(path.c_str(), &st) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(st.f_bfree) * static_cast<std::uint64_t>(st.f_frsize);
}
