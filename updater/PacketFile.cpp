#include "updater/PacketFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

PacketFile::PacketFile(std::string path) : m_path(std::move(path)) {}

PacketFile::~PacketFile()
{
    discard();
}

bool PacketFile::open()
{
    m_tempPath = m_path + ".XXXXXX";
    m_fd = ::mkostemp(m_tempPath.data(), O_CLOEXEC);
    if (m_fd < 0)
        m_tempPath.clear();
    return m_fd >= 0;
}

bool PacketFile::write(const char* data, std::size_t size)
{
    m_size += static_cast<std::int64_t>(size);
    m_digest.update(data, size);
    while (size > 0 && !m_writeFailed) {
        ssize_t n = ::write(m_fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_writeFailed = true;
            break;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return !m_writeFailed;
}

bool PacketFile::commit(long long expectedSize)
{
    if (m_fd < 0)
        return false;
    bool ok = !m_writeFailed && m_size >= expectedSize && ::fsync(m_fd) == 0;
    ok = ::close(m_fd) == 0 && ok;
    m_fd = -1;
    if (ok && ::rename(m_tempPath.c_str(), m_path.c_str()) == 0) {
        m_committed = true;
        m_tempPath.clear();
        return true;
    }
    discard();
    return false;
}

void PacketFile::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
}

bool PacketSink::onReply(long status, long long contentLength)
{
    m_status = status;
    m_contentLength = contentLength;
    if (status != 200)
        return false;
    return m_file.open();
}

bool PacketSink::onBody(const char* data, std::size_t size)
{
    constexpr std::size_t kBlock = 2048;
    while (size > 0) {
        std::size_t block = std::min(size, kBlock);
        m_onBlock(block);
        if (!m_file.write(data, block))
            return false;
        data += block;
        size -= block;
    }
    return true;
}
