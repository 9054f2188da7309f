#include "client/model/LocalText.h"

#include <cerrno>
#include <iconv.h>

namespace {

constexpr const char* kLocalCodePage = "GB18030";

// One converter per direction and thread: iconv_open is costly and a descriptor is not
// safe to share between threads.
class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> convert(const std::string& in)
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return std::nullopt;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.resize(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        size_t done = 0;
        for (;;) {
            char* dst = out.data() + done;
            size_t dstLeft = out.size() - done;
            size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            done = out.size() - dstLeft;
            if (rc != static_cast<size_t>(-1)) {
                // Flush any shift state; GB18030 and UTF-8 have none, but be correct.
                dst = out.data() + done;
                dstLeft = out.size() - done;
                iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);
                done = out.size() - dstLeft;
                break;
            }
            if (errno != E2BIG)
                return std::nullopt; // EILSEQ or EINVAL: invalid or truncated input
            out.resize(out.size() * 2);
        }
        out.resize(done);
        return out;
    }

private:
    iconv_t m_cd;
};

Converter& toLocal()
{
    thread_local Converter c(kLocalCodePage, "UTF-8");
    return c;
}

Converter& toUtf8()
{
    thread_local Converter c("UTF-8", kLocalCodePage);
    return c;
}

bool isAscii(const std::string& text)
{
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

std::optional<std::string> TryUtf8ToLocal(const std::string& text)
{
    if (isAscii(text))
        return text;
    return toLocal().convert(text);
}

std::optional<std::string> TryLocalToUtf8(const std::string& text)
{
    if (isAscii(text))
        return text;
    return toUtf8().convert(text);
}

std::string Utf8ToLocal(const std::string& text)
{
    return TryUtf8ToLocal(text).value_or(std::string());
}

std::string LocalToUtf8(const std::string& text)
{
    return TryLocalToUtf8(text).value_or(std::string());
}

std::string UrlEncode(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            out += static_cast<char>(c);
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::size_t LocalPrefixLength(const std::string& text, std::size_t maxBytes)
{
    // GB18030: one byte below 0x80; two bytes lead 0x81-0xFE with a trail outside 0x30-0x39;
    // four bytes lead, digit, lead, digit.
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t len = 1;
        if (p[i] >= 0x81 && p[i] <= 0xFE && i + 1 < n) {
            if (p[i + 1] >= 0x30 && p[i + 1] <= 0x39)
                len = (i + 3 < n) ? 4 : n - i;
            else
                len = 2;
        }
        if (i + len > maxBytes)
            break;
        i += len;
    }
    return i;
}
