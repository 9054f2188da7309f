#include "client/model/IniFile.h"

#include "client/model/AtomicFile.h"
#include "client/model/IniText.h"
#include "client/model/LocalText.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace Ini {
namespace {

// Holds an exclusive lock on the sidecar file for as long as it lives. The sidecar is never
// renamed, so the lock survives the atomic replacement of the settings file itself.
class WriteLock
{
public:
    explicit WriteLock(const std::string& path)
        : m_fd(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        if (m_fd < 0)
            return;
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~WriteLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    bool held() const { return m_fd >= 0; }

private:
    int m_fd;
};

template <typename Edit> bool modifyFile(const std::string& path, Edit edit, bool createWhenMissing)
{
    WriteLock lock(path);
    if (!lock.held())
        return false;
    std::string content;
    bool missing = false;
    if (!ReadWholeFile(path, content, &missing) && !missing)
        return false;
    if (missing && !createWhenMissing)
        return true;
    IniText text(std::move(content));
    if (!edit(text))
        return true; // nothing to change
    return AtomicWriteFile(path, text.serialize(), 0600);
}

bool hasLineBreakOrNul(const std::string& s)
{
    return s.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

} // namespace

std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& def, std::size_t capacity)
{
    if (capacity == 0)
        return std::string();
    std::string localValue;
    bool found = false;
    auto localSection = TryUtf8ToLocal(section);
    auto localKey = TryUtf8ToLocal(key);
    std::string content;
    if (localSection && localKey && ReadWholeFile(path, content)) {
        if (auto v = IniText::find(content, *localSection, *localKey)) {
            localValue = std::move(*v);
            found = true;
        }
    }
    if (!found) {
        localValue = Utf8ToLocal(def);
    }
    localValue.resize(LocalPrefixLength(localValue, capacity - 1));
    return LocalToUtf8(localValue);
}

int ReadInt(const std::string& path, const std::string& section, const std::string& key, int def)
{
    auto localSection = TryUtf8ToLocal(section);
    auto localKey = TryUtf8ToLocal(key);
    std::string content;
    if (!localSection || !localKey || !ReadWholeFile(path, content))
        return def;
    auto v = IniText::find(content, *localSection, *localKey);
    if (!v || v->empty())
        return def;
    const std::string& s = *v;
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    long long n = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        n = n * 10 + (s[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1)
            n = static_cast<long long>(INT_MAX) + 1; // saturate rather than overflow
    }
    if (negative)
        n = -n;
    if (n > INT_MAX)
        n = INT_MAX;
    return static_cast<int>(n);
}

bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value)
{
    if (section.empty() || key.empty() || hasLineBreakOrNul(section) || hasLineBreakOrNul(key) ||
        hasLineBreakOrNul(value) || section.find(']') != std::string::npos ||
        key.find('=') != std::string::npos || key.front() == '[' || key.front() == ';')
        return false;
    auto localSection = TryUtf8ToLocal(section);
    auto localKey = TryUtf8ToLocal(key);
    auto localValue = TryUtf8ToLocal(value);
    if (!localSection || !localKey || !localValue)
        return false;
    return modifyFile(
        path,
        [&](IniText& text) {
            text.set(*localSection, *localKey, *localValue);
            return true;
        },
        true);
}

bool DeleteSection(const std::string& path, const std::string& section)
{
    auto localSection = TryUtf8ToLocal(section);
    if (!localSection)
        return false;
    return modifyFile(
        path, [&](IniText& text) { return text.removeSection(*localSection); }, false);
}

} // namespace Ini
