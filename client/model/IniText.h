#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of one settings file in the local code page, as lines. Edits touch only the lines
// they must: every other line, comment and the order of the file stay as they were, and the
// file keeps the line ending it already uses.
class IniText
{
public:
    explicit IniText(std::string content);

    // The value of the first `key` in the first section named `section`, trimmed of blanks
    // and cut at a NUL byte; nullopt when the section or key is missing.
    static std::optional<std::string> find(std::string_view content, std::string_view section,
                                           std::string_view key);

    void set(const std::string& section, const std::string& key, const std::string& value);
    // True when something was removed.
    bool removeSection(const std::string& section);
    std::string serialize() const;

    // Name comparison of the Windows profile functions: ASCII case folded, bytes of
    // multi-byte characters compared as they are.
    static bool sameName(std::string_view a, std::string_view b);

private:
    std::vector<std::string> m_lines;
    std::string m_eol;
};
