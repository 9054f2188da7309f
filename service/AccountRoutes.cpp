#include "service/CaptchaImage.h"
#include "service/HttpHelpers.h"
#include "service/PasswordHash.h"
#include "service/WebService.h"

#include "client/model/LocalText.h"

#include <httplib.h>

namespace {

constexpr int kCodeWrongLogin = 10002;
constexpr int kCodeMissingInput = 10001;
constexpr int kCodeNeedVerifyCode = 71090;
constexpr int kCodeWrongVerifyCode = 71091;
constexpr int kCodeBadKey = 401;
constexpr int kFailuresBeforeCode = 3;
constexpr int kVerifyCodeLifetime = 300;

const char* const kWrongLogin = "用户名或密码错误";

// The cookie the request carries, or a new one announced in the reply.
std::string SessionCookie(const httplib::Request& req, httplib::Response& res, bool always)
{
    std::string cookie = CookieValue(req, kSessionCookieName);
    const bool fresh = cookie.empty();
    if (fresh)
        cookie = PasswordHash::RandomHex(16);
    if (fresh || always)
        res.set_header("Set-Cookie", std::string(kSessionCookieName) + "=" + cookie + "; Path=/");
    return cookie;
}

bool PasswordMatches(const Account& account, const std::string& password)
{
    if (PasswordHash::Verify(password, account.salt, account.iterations, account.hash))
        return true;
    // The client sends the password as it was typed, in the local code page.
    const std::string utf8 = LocalToUtf8(password);
    return !utf8.empty() && utf8 != password &&
           PasswordHash::Verify(utf8, account.salt, account.iterations, account.hash);
}

void Login(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    const std::time_t now = service.clock().now();
    const std::string cookie = SessionCookie(req, res, false);
    const std::string username = TextAsUtf8(req.get_param_value("username"));
    const std::string password = req.get_param_value("password");
    if (username.empty() || password.empty() || username.size() > 64 || password.size() > 128) {
        ReplyError(res, kCodeMissingInput, "请输入用户名和密码");
        return;
    }
    Store& store = service.store();
    if (store.failedLogins(username) >= kFailuresBeforeCode) {
        const std::string given = req.get_param_value("verifycode");
        if (given.empty()) {
            ReplyError(res, kCodeNeedVerifyCode, "请输入验证码");
            return;
        }
        const std::string expected = store.takeVerifyCode(cookie, now);
        if (expected.empty() || given != expected) {
            ReplyError(res, kCodeWrongVerifyCode, "验证码错误，请重新输入");
            return;
        }
    }
    const auto account = store.findAccount(username);
    if (!account || !PasswordMatches(*account, password)) {
        if (!account) // the same time as a real check, so the reply does not tell names apart
            PasswordHash::Derive(password, "unknown-account", PasswordHash::kIterations);
        store.addFailedLogin(username, now);
        if (store.failedLogins(username) >= kFailuresBeforeCode)
            ReplyError(res, kCodeNeedVerifyCode, std::string(kWrongLogin) + "，请输入验证码");
        else
            ReplyError(res, kCodeWrongLogin, kWrongLogin);
        return;
    }
    const std::string key = PasswordHash::RandomHex(16);
    if (key.empty() ||
        !store.createSession(key, account->uid, now + service.config().keyLifetime)) {
        ReplyError(res, 500, "服务器忙，请稍后再试");
        return;
    }
    store.clearFailedLogins(username);
    Json::Value body;
    body["code"] = 200;
    body["accesskey"] = key;
    body["uid"] = account->uid;
    body["username"] = account->username;
    ReplyJson(res, body);
}

void VerificationCode(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    const std::string cookie = SessionCookie(req, res, true);
    const std::string random = PasswordHash::RandomBytes(8);
    if (random.size() != 8) {
        res.status = 500;
        return;
    }
    std::string code;
    for (int i = 0; i < 4; ++i)
        code += static_cast<char>('0' + static_cast<unsigned char>(random[i]) % 10);
    std::uint32_t noise = 0;
    for (int i = 4; i < 8; ++i)
        noise = noise << 8 | static_cast<unsigned char>(random[static_cast<std::size_t>(i)]);
    const std::string png = RenderCodePng(code, noise);
    if (png.empty()) {
        res.status = 500;
        return;
    }
    service.store().setVerifyCode(cookie, code, service.clock().now() + kVerifyCodeLifetime);
    res.set_header("Cache-Control", "no-store");
    res.set_content(png, "image/png");
}

std::optional<Account> AccountOfKey(WebService& service, const httplib::Request& req)
{
    return service.accountOfKey(req.get_param_value("accesskey"));
}

// The reply of a call that needs a valid access key: `fill` adds the account's members.
void ReplyForAccount(WebService& service, const httplib::Request& req, httplib::Response& res,
                     void (*fill)(const Account&, Json::Value&))
{
    const auto account = AccountOfKey(service, req);
    if (!account) {
        ReplyError(res, kCodeBadKey, "登录已失效，请重新登录");
        return;
    }
    Json::Value body;
    body["code"] = 200;
    fill(*account, body);
    ReplyJson(res, body);
}

void UserInfo(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    ReplyForAccount(service, req, res, [](const Account& a, Json::Value& body) {
        body["uid"] = a.uid;
        body["username"] = a.username;
    });
}

void AdFlag(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    ReplyForAccount(service, req, res,
                    [](const Account& a, Json::Value& body) { body["showAd"] = a.showAd; });
}

// Only pages of this site may be the target, so the address cannot send a logged-in user
// anywhere else. The site is named by the host the request came to or by a loopback name with
// this port, as the client's "main" base URL may differ from its "home" in that way only.
bool IsOwnSiteUrl(const WebService& service, const httplib::Request& req, const std::string& url)
{
    if (url.find_first_of("\r\n") != std::string::npos)
        return false;
    if (url.size() > 1 && url[0] == '/' && url[1] != '/' && url[1] != '\\')
        return true;
    const std::string port = ":" + std::to_string(service.port());
    for (const std::string& host :
         {req.get_header_value("Host"), "127.0.0.1" + port, "localhost" + port, "[::1]" + port}) {
        const std::string own = "http://" + host + "/";
        if (!host.empty() && url.compare(0, own.size(), own) == 0)
            return true;
    }
    return false;
}

void KeyLogin(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    const std::string url = req.get_param_value("url");
    if (!IsOwnSiteUrl(service, req, url)) {
        ReplyHtml(res, "地址无效", "<p>地址无效。</p>", 400);
        return;
    }
    const std::string key = req.get_param_value("accesskey");
    if (!AccountOfKey(service, req)) {
        ReplyHtml(res, "登录已失效", "<p>登录已失效，请在客户端重新登录。</p>", 403);
        return;
    }
    res.set_header("Set-Cookie", std::string(kSiteCookieName) + "=" + key + "; Path=/; HttpOnly");
    res.set_redirect(url);
}

} // namespace

void RegisterAccountRoutes(httplib::Server& server, WebService& service)
{
    auto bind =
        [&service](void (*handler)(WebService&, const httplib::Request&, httplib::Response&)) {
            return [&service, handler](const httplib::Request& req, httplib::Response& res) {
                handler(service, req, res);
            };
        };
    // The client sends these as POST without a body; GET is as good for a browser or curl.
    server.Post("/api/user/login", bind(Login));
    server.Get("/api/user/login", bind(Login));
    server.Post("/api/user/me", bind(UserInfo));
    server.Get("/api/user/me", bind(UserInfo));
    server.Post("/api/vesko/meikai", bind(AdFlag));
    server.Get("/api/vesko/meikai", bind(AdFlag));
    server.Post("/verificationCode", bind(VerificationCode));
    server.Get("/verificationCode", bind(VerificationCode));
    server.Get("/api/user/keylogin", bind(KeyLogin));
}
