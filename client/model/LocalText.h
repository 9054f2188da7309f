#pragma once

#include <optional>
#include <string>

// Conversions between the program's UTF-8 and the local code page (GB18030), where bytes
// leave or enter the program: settings files, update lists, URL parameters the web service
// expects in the local code page.

// UTF-8 to the local code page; text that is not valid UTF-8 gives the empty text.
std::string Utf8ToLocal(const std::string& text);

// Local code page to UTF-8; text that is not valid in the local code page gives the empty text.
std::string LocalToUtf8(const std::string& text);

// As above, but tells a failed conversion apart from an empty input.
std::optional<std::string> TryUtf8ToLocal(const std::string& text);
std::optional<std::string> TryLocalToUtf8(const std::string& text);

// Letters and digits kept, white space to "+", every other byte "%XX" in upper case.
std::string UrlEncode(const std::string& text);

// Length in bytes of the longest prefix of `text` of at most `maxBytes` bytes that does not
// end inside a multi-byte local-code-page character.
std::size_t LocalPrefixLength(const std::string& text, std::size_t maxBytes);
