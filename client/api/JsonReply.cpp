#include "client/api/JsonReply.h"

#include "client/model/LocalText.h"

#include <exception>
#include <json/json.h>
#include <memory>

namespace JsonReply {

namespace {

// Deep enough for any reply of the service, shallow enough that hostile nesting cannot
// exhaust the stack.
constexpr int kStackLimit = 256;

std::unique_ptr<Json::CharReader> makeReader()
{
    Json::CharReaderBuilder builder;
    builder["allowComments"] = true;
    builder["collectComments"] = false;
    builder["stackLimit"] = kStackLimit;
    return std::unique_ptr<Json::CharReader>(builder.newCharReader());
}

// The service speaks UTF-8; anything else reads as the empty text.
std::string validUtf8(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return TryUtf8ToLocal(line).has_value() ? line : std::string();
}

const Json::Value* member(const Json::Value& object, const char* key)
{
    if (!object.isObject())
        return nullptr;
    return object.find(key, key + std::char_traits<char>::length(key));
}

} // namespace

std::optional<Json::Value> Parse(const std::string& text)
{
    try {
        thread_local std::unique_ptr<Json::CharReader> reader = makeReader();
        Json::Value root;
        std::string errors;
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors))
            return std::nullopt;
        return root;
    } catch (const std::exception&) {
        // The stack limit is enforced by throwing.
        return std::nullopt;
    }
}

std::string LastLine(const std::string& body)
{
    // A line end at the very end closes the last line; it does not open an empty one.
    std::string::size_type end = body.size();
    if (end > 0 && body[end - 1] == '\n')
        --end;
    const auto nl = end == 0 ? std::string::npos : body.rfind('\n', end - 1);
    const auto from = nl == std::string::npos ? 0 : nl + 1;
    return validUtf8(body.substr(from, end - from));
}

std::optional<Json::Value> FirstParsedLine(const std::string& body)
{
    std::string::size_type start = 0;
    while (start < body.size()) {
        auto nl = body.find('\n', start);
        const auto end = nl == std::string::npos ? body.size() : nl;
        if (auto value = Parse(validUtf8(body.substr(start, end - start))))
            return value;
        if (nl == std::string::npos)
            break;
        start = nl + 1;
    }
    return std::nullopt;
}

std::optional<int> Int(const Json::Value& object, const char* key)
{
    const Json::Value* v = member(object, key);
    if (v == nullptr || !v->isInt())
        return std::nullopt;
    return v->asInt();
}

std::optional<bool> Bool(const Json::Value& object, const char* key)
{
    const Json::Value* v = member(object, key);
    if (v == nullptr || !v->isBool())
        return std::nullopt;
    return v->asBool();
}

std::string String(const Json::Value& object, const char* key)
{
    const Json::Value* v = member(object, key);
    if (v == nullptr || !v->isString())
        return std::string();
    return v->asString();
}

bool Has(const Json::Value& object, const char* key)
{
    const Json::Value* v = member(object, key);
    return v != nullptr && !v->isNull();
}

} // namespace JsonReply
