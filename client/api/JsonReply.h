#pragma once

#include <optional>
#include <string>

namespace Json {
class Value;
}

// Reading the service's replies: one line of UTF-8 JSON each. Nothing here throws, and
// member access checks types instead of trusting the server.
namespace JsonReply {

// Parses `text` (comments allowed, nesting bounded). nullopt when it is not JSON.
std::optional<Json::Value> Parse(const std::string& text);

// The reply text of a "whole text" call: the last line of the body, or the empty text when
// that line is not valid UTF-8.
std::string LastLine(const std::string& body);

// The first line of the body that parses as JSON; nullopt when none does. Lines that are not
// valid UTF-8 count as empty.
std::optional<Json::Value> FirstParsedLine(const std::string& body);

// Member access on a value that may be anything. Int and Bool give nullopt when the member
// is missing, null or of another type; String gives the empty text then.
std::optional<int> Int(const Json::Value& object, const char* key);
std::optional<bool> Bool(const Json::Value& object, const char* key);
std::string String(const Json::Value& object, const char* key);
bool Has(const Json::Value& object, const char* key);

} // namespace JsonReply
