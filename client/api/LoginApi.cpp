#include "client/api/LoginApi.h"

#include "client/api/ApiCall.h"
#include "client/api/LoginState.h"
#include "client/api/Replies.h"
#include "client/model/AtomicFile.h"
#include "client/model/LocalText.h"

#include <cstdlib>

namespace {

constexpr const char* kNetworkError = "网络异常，请检查您的网络！";
constexpr const char* kLoginParams = "?appkey=53190627&sign=957&v=1.0";

// The service reads the password and the code as local-code-page bytes; encoding them keeps
// "&", "#", "+" and blanks from changing the request.
std::string localParam(const std::string& text)
{
    return UrlEncode(Utf8ToLocal(text));
}

HttpRequest sessionRequest(const ApiContext& ctx, std::string url)
{
    HttpRequest request =
        MakeApiRequest(ctx, std::move(url), true, ConnectBound::Default, kSessionAgent);
    request.extraCookie = GetSessionCookie();
    return request;
}

} // namespace

int ApiLogin(const std::string& user, const std::string& password, const std::string& code,
             std::string& error, const ApiContext& ctx)
{
    std::string url = ctx.apiBaseUrl() + "/api/user/login" + kLoginParams +
                      "&username=" + UrlEncode(user) + "&password=" + localParam(password);
    if (!code.empty())
        url += "&verifycode=" + localParam(code);

    const HttpReply reply = HttpExchange(sessionRequest(ctx, url));
    if (!reply.answered) {
        error = kNetworkError;
        return 0;
    }
    if (GetSessionCookie().empty())
        SetSessionCookie(reply.setCookies.empty() ? std::string() : reply.setCookies.front());

    const Replies::LoginOutcome outcome = Replies::Login(reply.body);
    if (outcome.error)
        error = *outcome.error;
    if (outcome.result == 1) {
        SetAccessKey(outcome.accessKey);
        ApiGetUserInfo(ctx);
    }
    return outcome.result;
}

void ApiGetUserInfo(const ApiContext& ctx)
{
    const std::string url =
        ctx.apiBaseUrl() + "/api/user/me?accesskey=" + GetAccessKey() + "&appkey=53190627&v=1.0";
    const HttpReply reply = HttpExchange(MakeApiRequest(ctx, url, true, ConnectBound::Default));
    if (!reply.answered)
        return;
    if (const auto uid = Replies::UserId(reply.body))
        SetUserId(*uid);
}

int ApiGetAdFlag(std::string& accessKey, bool& showAd, const ApiContext& ctx)
{
    const std::string url = ctx.apiBaseUrl() + "/api/vesko/meikai?accesskey=" + GetAccessKey();
    const HttpReply reply = HttpExchange(MakeApiRequest(ctx, url, true, ConnectBound::Default));
    if (!reply.answered)
        return -1;
    if (const auto flag = Replies::AdFlag(reply.body))
        SetShowAdFlag(*flag);
    const LoginSnapshot login = GetLoginSnapshot();
    accessKey = login.AccessKey;
    showAd = login.ShowAdFlag;
    return login.UserId;
}

namespace {

CodeImageResult fetchCodeImage(const ApiContext& ctx)
{
    using Outcome = CodeImageResult::Outcome;
    CodeImageResult result;
    const HttpReply reply =
        HttpExchange(sessionRequest(ctx, ctx.apiBaseUrl() + "/verificationCode"));
    if (reply.status == 0) {
        result.outcome = Outcome::NetworkError;
        result.message = reply.error;
        return result;
    }
    std::string cookie;
    for (const auto& value : reply.setCookies)
        cookie += value;
    SetSessionCookie(cookie);

    if (reply.status != 200)
        return result;
    const long long announced = std::strtoll(reply.contentLengthText.c_str(), nullptr, 10);
    // A body cut short (closed early, stalled, over the size cap) never replaces the image
    // the dialog shows.
    if (!reply.answered || static_cast<long long>(reply.body.size()) < announced) {
        result.outcome = Outcome::Incomplete;
        return result;
    }
    result.path = ctx.file("skin/code.png");
    if (!AtomicWriteFile(result.path, reply.body)) {
        result.outcome = Outcome::WriteError;
        result.message =
            "写文件" + reply.contentLengthText + "错误！\n文件正在使用中，请先关闭程序后点击重试！";
        return result;
    }
    result.outcome = Outcome::Ready;
    return result;
}

} // namespace

CodeImageResult FetchVerificationCode(const std::function<void(const CodeImageResult&)>& done,
                                      const ApiContext& ctx)
{
    const CodeImageResult result = fetchCodeImage(ctx);
    if (done)
        done(result);
    return result;
}
