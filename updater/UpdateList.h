#pragma once

#include "updater/UpdateHttp.h"

#include <cstdint>
#include <string>

// The update list: its local copy, the packets it names and the settings it carries.

// Capacity of the values read from the list (and of the installed version number).
constexpr std::size_t kListValueCapacity = 260;

// The list's reply: its body as lines, each ended by CR LF, as the local copy keeps them.
class ListReply : public HttpReplySink
{
public:
    bool onReply(long status, long long contentLength) override;
    bool onBody(const char* data, std::size_t size) override;

    long status() const { return m_status; }
    // A body far larger than any list; it was not read to its end.
    bool tooLarge() const { return m_tooLarge; }
    std::string linesWithCrLf() const;

private:
    long m_status = 0;
    bool m_tooLarge = false;
    std::string m_body;
};

// The local copy in the working folder: "Update.ini" and "update.ini" name one file, as they
// do where the lists come from; an existing one of any letter case is taken.
std::string FindListFile(const std::string& workDir);

// The packet's file name: the URL's text after its last "/".
std::string PacketName(const std::string& url);

// A packet file name that stays inside the working folder here and on a Windows-style
// reading: not empty, no "." or ".." segment between backslashes.
bool IsSafePacketName(const std::string& name);

// Whether a downloaded packet N agrees with the list's "sha256N" (hex, any case) and "sizeN";
// a key the list does not give is not checked.
bool PacketMatchesList(const std::string& listPath, int n, const std::string& digestHex,
                       std::int64_t size);

// Writes into Set.ini every key that the list's [update_int] value names, with the list's
// value of that section and key. Items without "#" and empty names are passed over.
void CopyListedSettings(const std::string& listPath, const std::string& setIniPath);
