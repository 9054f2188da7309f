#pragma once

#include "client/api/ApiContext.h"
#include "client/api/HttpExchange.h"

// Agents the service expects: "my brower" for plain calls, "session" for the two calls that
// carry the session cookie.
inline constexpr const char* kPlainAgent = "my brower";
inline constexpr const char* kSessionAgent = "session";

enum class ConnectBound
{
    Default, // calls that name no connect time-out of their own
    Short    // the one-second calls
};

// A request of the API pattern with the context's bounds.
inline HttpRequest MakeApiRequest(const ApiContext& ctx, std::string url, bool post,
                                  ConnectBound connect, const char* agent = kPlainAgent)
{
    HttpRequest r;
    r.url = std::move(url);
    r.post = post;
    r.agent = agent;
    r.connectMs = connect == ConnectBound::Short ? ctx.limits.shortConnectMs : ctx.limits.connectMs;
    r.totalMs = ctx.limits.exchangeMs;
    r.maxBodyBytes = ctx.limits.maxReplyBytes;
    return r;
}
