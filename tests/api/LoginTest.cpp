#include "ApiTestFixture.h"

#include "client/api/LoginApi.h"
#include "client/model/AtomicFile.h"
#include "client/model/LocalText.h"

#include <fstream>

namespace {

class LoginTest : public ApiTest
{
protected:
    LoginTest() { server.reply("/api/user/me", R"({"uid":4711})"); }
};

TEST_F(LoginTest, ResultsFollowTheReplyCode)
{
    struct Case
    {
        const char* name;
        std::string body;
        int expected;
        std::string error;     // after starting from "before"
        std::string accessKey; // stored afterwards
        int userId;
    };
    const Case cases[] = {
        {"success", R"({"code":200,"accesskey":"K1"})", 1, "before", "K1", 4711},
        {"71090", R"({"code":71090,"error":"请输入验证码"})", 2, "请输入验证码", "", 0},
        {"71091", R"({"code":71091,"error":"e"})", 2, "e", "", 0},
        {"71270", R"({"code":71270,"error":"e"})", 2, "e", "", 0},
        {"71271", R"({"code":71271,"error":"e"})", 2, "e", "", 0},
        {"72117", R"({"code":72117,"error":"e"})", 2, "e", "", 0},
        {"refused", R"({"code":71001,"error":"密码错误"})", 0, "密码错误", "", 0},
        {"no code", R"({"error":"x"})", 0, "x", "", 0},
        {"code as text", R"({"code":"200","accesskey":"K1"})", 0, "", "", 0},
        {"error not text", R"({"code":1,"error":5})", 0, "", "", 0},
        {"no key", R"({"code":200})", 0, "before", "", 0},
        {"not json", "<html>", 0, "before", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearLogin();
        server.reply("/api/user/login", c.body);
        std::string error = "before";
        EXPECT_EQ(ApiLogin("user", "pw", "", error, ctx), c.expected);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(GetAccessKey(), c.accessKey);
        EXPECT_EQ(GetUserId(), c.userId);
    }
}

TEST_F(LoginTest, UnreachableServerGivesTheNetworkText)
{
    setBaseUrl(closedUrl());
    std::string error;
    EXPECT_EQ(ApiLogin("user", "pw", "", error, ctx), 0);
    EXPECT_EQ(error, "网络异常，请检查您的网络！");
    server.stall("/api/user/login");
    setBaseUrl(server.url());
    error.clear();
    EXPECT_EQ(ApiLogin("user", "pw", "", error, ctx), 0);
    EXPECT_EQ(error, "网络异常，请检查您的网络！");
}

TEST_F(LoginTest, ParametersReachTheServerUnaltered)
{
    server.reply("/api/user/login", R"({"code":200,"accesskey":"K"})");
    std::string error;
    const std::string password = "a&b #+c%中";
    ASSERT_EQ(ApiLogin("张三", password, "x y&", error, ctx), 1);
    const auto r = server.requestsTo("/api/user/login").at(0);
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.headers.find("User-Agent")->second, "session");
    EXPECT_NE(r.target.find("appkey=53190627&sign=957&v=1.0&username=%E5%BC%A0%E4%B8%89&"),
              std::string::npos);
    EXPECT_EQ(r.params.find("username")->second, "张三");
    // The service reads the password and the code in the local code page.
    EXPECT_EQ(r.params.find("password")->second, Utf8ToLocal(password));
    EXPECT_EQ(r.params.find("verifycode")->second, "x y&");
    EXPECT_EQ(r.params.count("verifycode"), 1u);

    const auto me = server.requestsTo("/api/user/me").at(0);
    EXPECT_EQ(me.method, "POST");
    EXPECT_EQ(me.target, "/api/user/me?accesskey=K&appkey=53190627&v=1.0");
}

TEST_F(LoginTest, SessionCookieTiesTheCodeToTheLogin)
{
    server.on("/api/user/login", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "sid=first; Path=/");
        res.set_header("Set-Cookie", "other=2; Path=/");
        res.set_content(R"({"code":71090,"error":"code"})", "text/plain");
    });
    std::string error;
    ASSERT_EQ(ApiLogin("u", "p", "", error, ctx), 2);
    EXPECT_EQ(server.requestsTo("/api/user/login").at(0).headers.count("Cookie"), 0u);
    EXPECT_EQ(GetSessionCookie(), "sid=first; Path=/");

    server.on("/verificationCode", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "sid=code; Path=/");
        res.set_header("Set-Cookie", "v=1");
        res.set_content("PNG", "image/png");
    });
    ASSERT_EQ(FetchVerificationCode(nullptr, ctx).outcome, CodeImageResult::Outcome::Ready);
    EXPECT_EQ(GetSessionCookie(), "sid=code; Path=/v=1");

    ASSERT_EQ(ApiLogin("u", "p", "1234", error, ctx), 2);
    const auto second = server.requestsTo("/api/user/login").at(1);
    EXPECT_NE(second.headers.find("Cookie")->second.find("sid=code"), std::string::npos);
    EXPECT_EQ(second.params.find("verifycode")->second, "1234");
    // Once set, the cookie is only renewed by a code download, not by a login.
    EXPECT_EQ(GetSessionCookie(), "sid=code; Path=/v=1");
}

TEST_F(LoginTest, UserInfoAndAdFlag)
{
    // Nobody logged in: empty key, user id 0.
    server.reply("/api/vesko/meikai", R"({"showAd":false})");
    std::string key = "x";
    bool show = true;
    EXPECT_EQ(ApiGetAdFlag(key, show, ctx), 0);
    EXPECT_EQ(key, "");
    EXPECT_FALSE(show);
    EXPECT_EQ(server.requestsTo("/api/vesko/meikai").at(0).target, "/api/vesko/meikai?accesskey=");

    SetAccessKey("K");
    ApiGetUserInfo(ctx);
    EXPECT_EQ(GetUserId(), 4711);
    server.reply("/api/user/me", "oops");
    ApiGetUserInfo(ctx);
    EXPECT_EQ(GetUserId(), 4711) << "a reply that does not parse keeps the id";
    server.reply("/api/user/me", R"({"code":200})");
    ApiGetUserInfo(ctx);
    EXPECT_EQ(GetUserId(), 0);

    SetUserId(9);
    server.reply("/api/vesko/meikai", "not json");
    SetShowAdFlag(true);
    EXPECT_EQ(ApiGetAdFlag(key, show, ctx), 9);
    EXPECT_EQ(key, "K");
    EXPECT_TRUE(show) << "the previous flag stays";
    server.reply("/api/vesko/meikai", R"({"code":200})");
    EXPECT_EQ(ApiGetAdFlag(key, show, ctx), 9);
    EXPECT_FALSE(show) << "a missing flag reads false";

    setBaseUrl(closedUrl());
    key = "untouched";
    show = true;
    EXPECT_EQ(ApiGetAdFlag(key, show, ctx), -1);
    EXPECT_EQ(key, "untouched");
    EXPECT_TRUE(show);
}

TEST_F(LoginTest, ClearLoginKeepsCookieAndFlag)
{
    SetLoginUser("u", "secret");
    SetAccessKey("K");
    SetUserId(3);
    SetSessionCookie("c");
    SetShowAdFlag(false);
    EXPECT_EQ(GetLoginUser(), "u");
    ClearLogin();
    const LoginSnapshot s = GetLoginSnapshot();
    EXPECT_EQ(s.LoginUser, "");
    EXPECT_EQ(s.AccessKey, "");
    EXPECT_EQ(s.UserId, 0);
    EXPECT_EQ(s.SessionCookie, "c");
    EXPECT_FALSE(s.ShowAdFlag);
}

TEST_F(LoginTest, CodeImageIsReplacedOnlyByACompleteBody)
{
    using Outcome = CodeImageResult::Outcome;
    const std::string image = folder.file("skin/code.png");
    const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(3000, 'p');
    struct Case
    {
        const char* name;
        std::function<void()> serve;
        Outcome outcome;
        std::string fileAfter;
    };
    const Case cases[] = {
        {"complete", [&] { server.reply("/verificationCode", png); }, Outcome::Ready, png},
        {"no content length",
         [&] {
             server.on("/verificationCode", [&](const httplib::Request&, httplib::Response& res) {
                 res.set_chunked_content_provider("image/png",
                                                  [&](size_t, httplib::DataSink& sink) {
                                                      sink.write("chunked", 7);
                                                      sink.done();
                                                      return true;
                                                  });
             });
         },
         Outcome::Ready, "chunked"},
        {"404", [&] { server.reply("/verificationCode", "missing", 404); }, Outcome::NotOk, "old"},
        {"cut short",
         [&] {
             server.on("/verificationCode", [](const httplib::Request&, httplib::Response& res) {
                 res.set_content_provider(5000, "image/png",
                                          [](size_t, size_t, httplib::DataSink& sink) {
                                              sink.write("half", 4);
                                              return false;
                                          });
             });
         },
         Outcome::Incomplete, "old"},
        {"stall after nothing", [&] { server.stall("/verificationCode"); }, Outcome::NetworkError,
         "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(AtomicWriteFile(image, "old"));
        c.serve();
        CodeImageResult reported;
        const CodeImageResult r =
            FetchVerificationCode([&](const CodeImageResult& x) { reported = x; }, ctx);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(reported.outcome, c.outcome);
        std::string content;
        ASSERT_TRUE(ReadWholeFile(image, content));
        EXPECT_EQ(content, c.fileAfter);
        if (c.outcome == Outcome::NetworkError) {
            EXPECT_FALSE(r.message.empty());
        }
    }
}

TEST_F(LoginTest, CodeImageThatCannotBeWrittenNamesTheLength)
{
    std::filesystem::remove_all(folder.file("skin"));
    std::ofstream(folder.file("skin")) << "a file where the folder should be";
    server.reply("/verificationCode", "PNGDATA");
    const CodeImageResult r = FetchVerificationCode(nullptr, ctx);
    EXPECT_EQ(r.outcome, CodeImageResult::Outcome::WriteError);
    EXPECT_EQ(r.message, "写文件7错误！\n文件正在使用中，请先关闭程序后点击重试！");
}

} // namespace
