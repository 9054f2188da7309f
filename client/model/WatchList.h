#pragma once

#include <cstddef>
#include <string>

// The watch-list text: entries joined by "|", a stock as its six-digit code, an index as "i"
// followed by its code. These helpers only edit text; storing and sending is the caller's.
namespace WatchList {

// The list is read back with this capacity, so it may hold at most capacity - 1 stored bytes.
constexpr std::size_t kCapacity = 2048;

// True when the text, stored in the local code page, still reads back whole.
bool FitsCapacity(const std::string& list);

// Appends an entry, with a "|" before it unless the list is empty.
void Append(std::string& list, const std::string& entry);

// True when one whole entry of the list equals `entry`.
bool HasEntry(const std::string& list, const std::string& entry);

// Removes every entry equal to `entry` together with one neighbouring separator.
void RemoveEntries(std::string& list, const std::string& entry);

// Removes every occurrence of `what` from the text.
void RemoveAll(std::string& text, const std::string& what);

// The first `count` characters of UTF-8 text (fewer when it is shorter); a character is never
// split, so a cut name never becomes invalid text.
std::string FirstCharacters(const std::string& text, std::size_t count);

// Number of UTF-8 characters in the text.
std::size_t CharacterCount(const std::string& text);

} // namespace WatchList
