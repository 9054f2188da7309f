#pragma once

#include <cstddef>
#include <string>

// Settings files with the semantics of the Windows profile functions: every call is one
// complete access of the file named by its full path; nothing is kept open or cached.
// Names and values are UTF-8 here and stored in the local code page (GB18030).
// Section and key names match without regard to ASCII case; the first of duplicate
// sections or keys wins.
namespace Ini {

// The value, or `def` when the file, section or key is missing. The result is cut to
// `capacity` - 1 stored bytes, never inside a multi-byte character.
std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& def, std::size_t capacity = 255);

// The decimal number at the start of the value (0 when it has none), or `def` when the
// file, section or key is missing or the value is empty.
int ReadInt(const std::string& path, const std::string& section, const std::string& key, int def);

// Creates the file (mode 0600), section and key as needed and replaces the value; an empty
// value keeps the key present. The folder must exist. The file is replaced atomically under
// an exclusive lock on "<path>.lock", so writers of different keys never lose each other's
// values. Returns false when nothing was written: a missing folder, an I/O error, or a name
// or value that would break the file's structure (line breaks, NUL, "=" in a key, "]" in a
// section name).
bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);

// Removes every section of that name with all its keys; a missing file or section is left
// as it is and counts as success.
bool DeleteSection(const std::string& path, const std::string& section);

} // namespace Ini
