#pragma once

#include "updater/Sha256.h"
#include "updater/UpdateHttp.h"

#include <cstdint>
#include <functional>
#include <string>

// A downloaded packet on its way to disk: written to a temporary file beside its final name
// and put in place only when complete, so a broken download never leaves a startable file.
class PacketFile
{
public:
    explicit PacketFile(std::string path);
    ~PacketFile();
    PacketFile(const PacketFile&) = delete;
    PacketFile& operator=(const PacketFile&) = delete;

    bool open();
    bool opened() const { return m_fd >= 0 || m_committed; }
    bool write(const char* data, std::size_t size);
    std::int64_t size() const { return m_size; }
    // SHA-256 of what was written.
    std::string digestHex() { return m_digest.finishHex(); }
    // Puts the file in place when at least `expectedSize` bytes were written without error;
    // otherwise removes it.
    bool commit(long long expectedSize);

private:
    void discard();

    std::string m_path;
    std::string m_tempPath;
    int m_fd = -1;
    bool m_writeFailed = false;
    bool m_committed = false;
    std::int64_t m_size = 0;
    Sha256 m_digest;
};

// Feeds a packet reply into a PacketFile in blocks of at most 2048 bytes; `onBlock` runs
// before each block is written (download count, progress).
class PacketSink : public HttpReplySink
{
public:
    PacketSink(PacketFile& file, std::function<void(std::size_t)> onBlock)
        : m_file(file), m_onBlock(std::move(onBlock))
    {
    }

    bool onReply(long status, long long contentLength) override;
    bool onBody(const char* data, std::size_t size) override;

    long status() const { return m_status; }
    long long contentLength() const { return m_contentLength; }

private:
    PacketFile& m_file;
    std::function<void(std::size_t)> m_onBlock;
    long m_status = 0;
    long long m_contentLength = -1;
};
