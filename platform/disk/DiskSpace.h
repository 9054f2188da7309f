#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Free space of the file system that holds a path. An interface so that tests can stand in
// any amount.
class DiskSpace
{
public:
    virtual ~DiskSpace() = default;
    // All free bytes of the file system, including those reserved for the administrator;
    // nullopt when the file system cannot be queried.
    virtual std::optional<std::uint64_t> freeBytes(const std::string& path) const = 0;
};

class StatvfsDiskSpace : public DiskSpace
{
public:
    std::optional<std::uint64_t> freeBytes(const std::string& path) const override;
};
