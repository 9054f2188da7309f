#include "client/api/WatchListApi.h"

#include "client/api/ApiCall.h"
#include "client/api/LoginState.h"
#include "client/api/Replies.h"

#include <algorithm>

namespace {

int changeList(const char* action, std::string list, const ApiContext& ctx)
{
    std::replace(list.begin(), list.end(), '|', ',');
    const std::string url = ctx.apiBaseUrl() + "/api/action/" + action +
                            "?accesskey=" + GetAccessKey() + "&data=" + list + "&type=1";
    const HttpReply reply = HttpExchange(MakeApiRequest(ctx, url, false, ConnectBound::Short));
    // A reply without any JSON line counts as accepted, but an error page (4xx, 5xx) must not
    // pass for a stored change: the list would be saved locally while the server lost it.
    if (!reply.answered || reply.status < 200 || reply.status >= 300)
        return 0;
    return Replies::WatchListChange(reply.body);
}

} // namespace

int ApiReadWatchList(std::string& list, const ApiContext& ctx)
{
    const std::string url =
        ctx.apiBaseUrl() + "/api/action/read?accesskey=" + GetAccessKey() + "&type=1";
    const HttpReply reply = HttpExchange(MakeApiRequest(ctx, url, false, ConnectBound::Short));
    if (!reply.answered)
        return 0;
    const auto server = Replies::WatchList(reply.body);
    if (!server) {
        list.clear();
        return 0;
    }
    if (!list.empty() && !server->empty())
        list += '|';
    list += *server;
    return 1;
}

int ApiWriteWatchList(const std::string& list, const ApiContext& ctx)
{
    return changeList("write", list, ctx);
}

int ApiDeleteWatchList(const std::string& list, const ApiContext& ctx)
{
    return changeList("delete", list, ctx);
}
