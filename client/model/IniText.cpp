#include "client/model/IniText.h"

namespace {

std::string_view trim(std::string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.substr(b, e - b);
}

// Section name of a header line "[name]", or nullopt when the line is not a header.
// A "[" line without "]" is not a header: it belongs to the section above as a plain line.
std::optional<std::string_view> headerName(std::string_view line)
{
    line = trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(1, close - 1));
}

// Key and value of a "key=value" line, or nullopt for comments and other lines.
std::optional<std::pair<std::string_view, std::string_view>> keyValue(std::string_view line)
{
    std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#' || t.front() == '[')
        return std::nullopt;
    auto eq = t.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    std::string_view key = trim(t.substr(0, eq));
    if (key.empty())
        return std::nullopt;
    return std::make_pair(key, trim(t.substr(eq + 1)));
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Walks `content` line by line without copying; `fn` returns false to stop.
template <typename Fn> void forEachLine(std::string_view content, Fn fn)
{
    std::size_t pos = 0;
    while (pos < content.size()) {
        auto nl = content.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? content.size() : nl;
        if (!fn(content.substr(pos, end - pos)))
            return;
        pos = end + 1;
    }
}

} // namespace

bool IniText::sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    // Only single-byte characters fold: a trail byte of a GB18030 character may fall into the
    // ASCII letter range and must not be folded.
    std::size_t i = 0;
    while (i < a.size()) {
        auto c = static_cast<unsigned char>(a[i]);
        if (c < 0x80) {
            if (foldAscii(a[i]) != foldAscii(b[i]))
                return false;
            ++i;
            continue;
        }
        std::size_t len = 1;
        if (c >= 0x81 && c <= 0xFE && i + 1 < a.size()) {
            auto next = static_cast<unsigned char>(a[i + 1]);
            len = (next >= 0x30 && next <= 0x39) ? 4 : 2;
        }
        for (std::size_t k = 0; k < len && i < a.size(); ++k, ++i)
            if (a[i] != b[i])
                return false;
    }
    return true;
}

std::optional<std::string> IniText::find(std::string_view content, std::string_view section,
                                         std::string_view key)
{
    enum
    {
        Before,
        Inside,
        After
    } state = Before;
    std::optional<std::string> result;
    forEachLine(content, [&](std::string_view line) {
        if (auto name = headerName(line)) {
            if (state == Inside) {
                state = After;
                return false;
            }
            if (sameName(*name, section))
                state = Inside;
            return true;
        }
        if (state != Inside)
            return true;
        if (auto kv = keyValue(line); kv && sameName(kv->first, key)) {
            std::string_view value = kv->second;
            auto nul = value.find('\0');
            if (nul != std::string_view::npos)
                value = trim(value.substr(0, nul));
            result = std::string(value);
            return false;
        }
        return true;
    });
    return result;
}

IniText::IniText(std::string content)
{
    auto firstNl = content.find('\n');
    m_eol = (firstNl != std::string::npos && firstNl > 0 && content[firstNl - 1] == '\r') ? "\r\n"
                                                                                          : "\n";
    forEachLine(content, [&](std::string_view line) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_lines.emplace_back(line);
        return true;
    });
}

void IniText::set(const std::string& section, const std::string& key, const std::string& value)
{
    std::size_t header = m_lines.size();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        auto name = headerName(m_lines[i]);
        if (name && sameName(*name, section)) {
            header = i;
            break;
        }
    }
    if (header == m_lines.size()) {
        m_lines.push_back("[" + section + "]");
        m_lines.push_back(key + "=" + value);
        return;
    }
    std::size_t lastContent = header;
    std::size_t i = header + 1;
    for (; i < m_lines.size() && !headerName(m_lines[i]); ++i) {
        if (auto kv = keyValue(m_lines[i]); kv && sameName(kv->first, key)) {
            m_lines[i] = std::string(kv->first) + "=" + value;
            return;
        }
        if (!trim(m_lines[i]).empty())
            lastContent = i;
    }
    // A new key goes after the section's last line, before blank lines that separate it
    // from the next section.
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(lastContent + 1),
                   key + "=" + value);
}

bool IniText::removeSection(const std::string& section)
{
    bool removed = false;
    std::vector<std::string> kept;
    kept.reserve(m_lines.size());
    bool skipping = false;
    for (auto& line : m_lines) {
        if (auto name = headerName(line)) {
            skipping = sameName(*name, section);
            removed = removed || skipping;
        }
        if (!skipping)
            kept.push_back(std::move(line));
    }
    m_lines = std::move(kept);
    return removed;
}

std::string IniText::serialize() const
{
    std::string out;
    for (const auto& line : m_lines) {
        out += line;
        out += m_eol;
    }
    return out;
}
