#include "client/api/Replies.h"

#include "client/api/JsonReply.h"

#include <json/json.h>

namespace Replies {

namespace {
constexpr int kOk = 200;
}

bool WantsVerificationCode(int code)
{
    return code == 71090 || code == 71091 || code == 71270 || code == 71271 || code == 72117;
}

LoginOutcome Login(const std::string& body)
{
    LoginOutcome out;
    const auto root = JsonReply::Parse(JsonReply::LastLine(body));
    if (!root)
        return out;
    // A missing or non-integer code reads as 0: a refusal.
    const int code = JsonReply::Int(*root, "code").value_or(0);
    if (code == kOk) {
        out.accessKey = JsonReply::String(*root, "accesskey");
        // A success without a key would leave a "logged in" state that no call can use.
        out.result = out.accessKey.empty() ? 0 : 1;
        return out;
    }
    out.error = JsonReply::String(*root, "error");
    out.result = WantsVerificationCode(code) ? 2 : 0;
    return out;
}

std::optional<int> UserId(const std::string& body)
{
    const auto root = JsonReply::Parse(JsonReply::LastLine(body));
    if (!root)
        return std::nullopt;
    return JsonReply::Int(*root, "uid").value_or(0);
}

std::optional<bool> AdFlag(const std::string& body)
{
    const auto root = JsonReply::Parse(JsonReply::LastLine(body));
    if (!root)
        return std::nullopt;
    return JsonReply::Bool(*root, "showAd").value_or(false);
}

std::optional<std::string> WatchList(const std::string& body)
{
    const auto root = JsonReply::Parse(JsonReply::LastLine(body));
    if (!root || JsonReply::Int(*root, "code") != kOk)
        return std::nullopt;
    std::string text;
    if (!JsonReply::Has(*root, "list"))
        return text;
    const Json::Value& list = (*root)["list"];
    if (!list.isArray())
        return std::nullopt;
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        // An entry without a text code would put an empty entry into the local list.
        if (!list[i].isObject() || !list[i]["stockcode"].isString())
            return std::nullopt;
        if (!text.empty())
            text += '|';
        text += list[i]["stockcode"].asString();
    }
    return text;
}

int WatchListChange(const std::string& body)
{
    const auto first = JsonReply::FirstParsedLine(body);
    if (!first)
        return 1;
    return JsonReply::Int(*first, "code") == kOk ? 1 : 0;
}

} // namespace Replies
