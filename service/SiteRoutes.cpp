#include "service/HttpHelpers.h"
#include "service/WebService.h"

#include <httplib.h>

namespace {

void StaticPage(httplib::Server& server, WebService& service, const char* path, const char* file)
{
    server.Get(path, [&service, file](const httplib::Request&, httplib::Response& res) {
        const std::string name = file;
        const bool css = name.size() > 4 && name.compare(name.size() - 4, 4, ".css") == 0;
        if (!ReplyFile(res, service.filesPath("site/" + name),
                       css ? "text/css; charset=utf-8" : "text/html; charset=utf-8")) {
            res.status = 404;
            res.set_content("404 Not Found\n", "text/plain");
        }
    });
}

bool ValidName(const std::string& name)
{
    if (name.size() < 2 || name.size() > 32 || TextAsUtf8(name) != name)
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7f || c == ' ' || c == '<' || c == '>' || c == '&' || c == '"' ||
            c == '\'' || c == '|' || c == ',')
            return false;
    return true;
}

void Register(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    const std::string name = req.get_param_value("username");
    const std::string password = req.get_param_value("password");
    std::string problem;
    if (!ValidName(name))
        problem = "用户名需为2到32个字节，不能含空格和符号 &lt; &gt; &amp; \" ' | ,";
    else if (password.size() < 6 || password.size() > 64 || TextAsUtf8(password) != password)
        problem = "密码需为6到64个字符";
    else if (password != req.get_param_value("password2"))
        problem = "两次输入的密码不一致";
    else if (service.store().findAccount(name))
        problem = "用户名已被注册";
    else if (service.store().createAccount(name, password, false) == 0)
        problem = "注册失败，请稍后再试";
    if (!problem.empty()) {
        ReplyHtml(res, "注册",
                  "<h1>注册失败</h1><p>" + problem + "</p><p><a href=\"/register\">返回</a></p>",
                  400);
        return;
    }
    ReplyHtml(res, "注册",
              "<h1>注册成功</h1><p>用户 " + HtmlEscape(name) + " 已注册，请在客户端登录。</p>");
}

// The account pages are open only to the browser that came through a key login.
std::optional<Account> SiteAccount(WebService& service, const httplib::Request& req,
                                   httplib::Response& res)
{
    auto account = service.accountOfKey(CookieValue(req, kSiteCookieName));
    if (!account)
        ReplyHtml(res, "请先登录",
                  "<h1>请先登录</h1><p>请从客户端的“我的主页”或“账户管理”进入。</p>", 403);
    return account;
}

std::string WatchListHtml(WebService& service, int uid)
{
    std::string items;
    for (const std::string& code : service.store().readWatchList(uid)) {
        const StockInfo* s = service.stocks().find(code);
        items +=
            "<li>" + HtmlEscape(code) + (s ? " " + HtmlEscape(s->name) : std::string()) + "</li>";
    }
    return items.empty() ? "<p>自选股为空。</p>" : "<ul>" + items + "</ul>";
}

void UserHome(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    const auto account = SiteAccount(service, req, res);
    if (!account)
        return;
    if (std::to_string(account->uid) != std::string(req.matches[1])) {
        ReplyHtml(res, "无权访问", "<h1>无权访问</h1><p>只能查看自己的主页。</p>", 403);
        return;
    }
    ReplyHtml(res, "我的主页",
              "<h1>" + HtmlEscape(account->username) + " 的主页</h1><h2>自选股</h2>" +
                  WatchListHtml(service, account->uid));
}

void MyAccount(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    const auto account = SiteAccount(service, req, res);
    if (!account)
        return;
    ReplyHtml(res, "账户管理",
              "<h1>账户管理</h1><table><tr><th>用户名</th><td>" + HtmlEscape(account->username) +
                  "</td></tr><tr><th>用户编号</th><td>" + std::to_string(account->uid) +
                  "</td></tr><tr><th>广告</th><td>" + (account->showAd ? "显示" : "不显示") +
                  "</td></tr></table><p><a href=\"/u/" + std::to_string(account->uid) +
                  "\">我的主页</a> · <a href=\"/getpass\">修改密码</a></p>");
}

} // namespace

void RegisterSiteRoutes(httplib::Server& server, WebService& service)
{
    StaticPage(server, service, "/", "index.html");
    StaticPage(server, service, "/register", "register.html");
    StaticPage(server, service, "/getpass", "getpass.html");
    StaticPage(server, service, "/stock/help/golden", "help.html");
    StaticPage(server, service, "/about/iphone.html", "iphone.html");
    StaticPage(server, service, "/about/android.html", "android.html");
    StaticPage(server, service, "/site/site.css", "site.css");
    server.Post("/register", [&service](const httplib::Request& req, httplib::Response& res) {
        Register(service, req, res);
    });
    server.Get(R"(/u/([0-9]{1,10}))",
               [&service](const httplib::Request& req, httplib::Response& res) {
                   UserHome(service, req, res);
               });
    server.Get("/account/my_account",
               [&service](const httplib::Request& req, httplib::Response& res) {
                   MyAccount(service, req, res);
               });
}
