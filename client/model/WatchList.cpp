#include "client/model/WatchList.h"

#include "client/model/LocalText.h"

#include <vector>

namespace WatchList {

namespace {

std::vector<std::string> split(const std::string& list)
{
    std::vector<std::string> entries;
    if (list.empty())
        return entries;
    std::size_t from = 0;
    for (;;) {
        const std::size_t bar = list.find('|', from);
        entries.push_back(list.substr(from, bar - from));
        if (bar == std::string::npos)
            break;
        from = bar + 1;
    }
    return entries;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

} // namespace

bool FitsCapacity(const std::string& list)
{
    // Text that cannot be converted would be stored as nothing at all: never fits.
    const auto local = TryUtf8ToLocal(list);
    return local && local->size() <= kCapacity - 1;
}

void Append(std::string& list, const std::string& entry)
{
    if (!list.empty())
        list += '|';
    list += entry;
}

bool HasEntry(const std::string& list, const std::string& entry)
{
    for (const auto& e : split(list))
        if (e == entry)
            return true;
    return false;
}

void RemoveEntries(std::string& list, const std::string& entry)
{
    // Dropping the entries and joining the rest again removes exactly one separator with
    // each: the one after it, or the one before it for the last entry.
    std::string kept;
    bool first = true;
    for (const auto& e : split(list)) {
        if (e == entry)
            continue;
        if (!first)
            kept += '|';
        kept += e;
        first = false;
    }
    list = kept;
}

void RemoveAll(std::string& text, const std::string& what)
{
    if (what.empty())
        return;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.erase(at, what.size());
}

std::string FirstCharacters(const std::string& text, std::size_t count)
{
    std::size_t i = 0;
    for (std::size_t chars = 0; i < text.size() && chars < count; ++chars) {
        ++i;
        while (i < text.size() && isContinuation(static_cast<unsigned char>(text[i])))
            ++i;
    }
    return text.substr(0, i);
}

std::size_t CharacterCount(const std::string& text)
{
    std::size_t n = 0;
    for (unsigned char c : text)
        if (!isContinuation(c))
            ++n;
    return n;
}

} // namespace WatchList
