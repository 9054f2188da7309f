#include "client/api/ServerCheck.h"

#include "client/api/ApiCall.h"

int TestServer(const ApiContext& ctx)
{
    HttpRequest request = MakeApiRequest(ctx, ctx.apiBaseUrl(), false, ConnectBound::Short);
    request.headersOnly = true;
    return HttpExchange(request).answered ? 1 : 0;
}
