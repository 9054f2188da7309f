// Feeds arbitrary reply bodies to the reply handling of every server call.
#include "client/api/JsonReply.h"
#include "client/api/Replies.h"
#include "client/api/VersionCheck.h"

#include <cstddef>
#include <cstdint>
#include <json/json.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string body(reinterpret_cast<const char*>(data), size);

    const Replies::LoginOutcome login = Replies::Login(body);
    if (login.result < 0 || login.result > 2 || (login.result == 1 && login.accessKey.empty()))
        __builtin_trap();
    (void)Replies::UserId(body);
    (void)Replies::AdFlag(body);
    (void)Replies::WatchList(body);
    const int change = Replies::WatchListChange(body);
    if (change != 0 && change != 1)
        __builtin_trap();

    if (const auto value = JsonReply::Parse(body)) {
        (void)JsonReply::Int(*value, "code");
        (void)JsonReply::Bool(*value, "showAd");
        (void)JsonReply::String(*value, "error");
    }

    const auto nl = body.find('\n');
    const std::string installed = body.substr(0, nl);
    const std::string latest = nl == std::string::npos ? std::string() : body.substr(nl + 1);
    float a = 0;
    float b = 0;
    if (CompareVersions(installed, latest, a, b) == 1 && !(a < b))
        __builtin_trap();
    return 0;
}
