#include "updater/UpdateList.h"

#include "client/model/IniFile.h"
#include "updater/UpdateHelpers.h"

#include <algorithm>
#include <filesystem>

namespace {

// An update list is a few lines; anything far larger is not one.
constexpr std::size_t kMaxListBytes = 1 << 20;

bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool parseByteCount(const std::string& text, std::int64_t& value)
{
    if (text.empty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    value = std::stoll(text);
    return true;
}

} // namespace

bool ListReply::onReply(long status, long long)
{
    m_status = status;
    return true;
}

bool ListReply::onBody(const char* data, std::size_t size)
{
    if (m_body.size() + size > kMaxListBytes) {
        m_tooLarge = true;
        return false;
    }
    m_body.append(data, size);
    return true;
}

std::string ListReply::linesWithCrLf() const
{
    std::string out;
    std::size_t pos = 0;
    while (pos < m_body.size()) {
        std::size_t end = m_body.find('\n', pos);
        std::string line = m_body.substr(pos, end == std::string::npos ? end : end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out += line + "\r\n";
        if (end == std::string::npos)
            break;
        pos = end + 1;
    }
    return out;
}

std::string FindListFile(const std::string& workDir)
{
    std::error_code ec;
    for (std::filesystem::directory_iterator it(workDir, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (equalsIgnoringAsciiCase(it->path().filename().string(), "update.ini"))
            return it->path().string();
    }
    return workDir + "/Update.ini";
}

std::string PacketName(const std::string& url)
{
    return url.substr(url.rfind('/') + 1);
}

bool IsSafePacketName(const std::string& name)
{
    if (name.empty() || name.find('\0') != std::string::npos)
        return false;
    for (const auto& part : SplitText(name, "\\")) {
        if (part == "." || part == "..")
            return false;
    }
    return true;
}

bool PacketMatchesList(const std::string& listPath, int n, const std::string& digestHex,
                       std::int64_t size)
{
    const std::string index = std::to_string(n);
    std::string digest =
        Ini::ReadString(listPath, "UpdatePacket", "sha256" + index, "", kListValueCapacity);
    std::transform(digest.begin(), digest.end(), digest.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (!digest.empty() && digest != digestHex)
        return false;
    const std::string sizeText =
        Ini::ReadString(listPath, "UpdatePacket", "size" + index, "", kListValueCapacity);
    std::int64_t expected = 0;
    return sizeText.empty() || (parseByteCount(sizeText, expected) && expected == size);
}

void CopyListedSettings(const std::string& listPath, const std::string& setIniPath)
{
    const std::string value =
        Ini::ReadString(listPath, "update_int", "value", "", kListValueCapacity);
    for (const auto& item : SplitText(value, "|")) {
        auto parts = SplitText(item, "#");
        if (parts.size() < 2 || parts[0].empty())
            continue;
        for (const auto& key : SplitText(parts[1], ",")) {
            if (key.empty())
                continue;
            Ini::WriteString(setIniPath, parts[0], key,
                             Ini::ReadString(listPath, parts[0], key, "", kListValueCapacity));
        }
    }
}
