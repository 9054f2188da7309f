#include "client/model/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void setError(std::string* error, const char* what)
{
    if (error)
        *error = std::string(what) + ": " + std::strerror(errno);
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace

bool AtomicWriteFile(const std::string& path, const std::string& bytes, mode_t mode,
                     std::string* error)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;

    std::string tmp = path + ".XXXXXX";
    int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) {
        setError(error, "create temporary file");
        return false;
    }
    bool ok =
        ::fchmod(fd, mode) == 0 && writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    if (!ok)
        setError(error, "write temporary file");
    if (::close(fd) != 0 && ok) {
        setError(error, "close temporary file");
        ok = false;
    }
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
        setError(error, "rename");
        ok = false;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable.
    int dirFd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& out, bool* missing)
{
    out.clear();
    if (missing)
        *missing = false;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (missing)
            *missing = (errno == ENOENT || errno == ENOTDIR);
        return false;
    }
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}
