#include "ApiTestFixture.h"

#include "client/api/ServerCheck.h"
#include "client/api/WatchListApi.h"

#include <string>

namespace {

const std::string kList = R"({"code":200,"list":[{"stockcode":"600000"},{"stockcode":"i000001"}]})";
// "中国" in GBK: not UTF-8.
const std::string kGbkBody = "{\"code\":200,\"list\":[{\"stockcode\":\"\xD6\xD0\xB9\xFA\"}]}";

std::string deepJson(int depth)
{
    return std::string(static_cast<size_t>(depth), '[') +
           std::string(static_cast<size_t>(depth), ']');
}

// How the server treats the request, for the hostile cases.
enum class Behaviour
{
    Body,         // answer `body` with `status`
    ShortBody,    // announce more bytes than are sent, then close
    Stall,        // accept and never answer
    ClosedPort,   // nothing listens
    EmptyBaseUrl, // Set.ini names no server
};

struct ReplyCase
{
    const char* name;
    Behaviour behaviour;
    int status;
    std::string body;
    int expected;
    std::string expectedText; // after starting from "old"
};

class ReplyTable : public ApiTest
{
protected:
    void serve(const std::string& path, const ReplyCase& c)
    {
        switch (c.behaviour) {
        case Behaviour::Body:
            server.reply(path, c.body, c.status, {{"Location", server.url() + "/elsewhere"}});
            break;
        case Behaviour::ShortBody:
            server.on(path, [](const httplib::Request&, httplib::Response& res) {
                res.set_content_provider(
                    4096, "text/plain", [](size_t, size_t, httplib::DataSink& sink) {
                        sink.write("{\"code\":200}\n", 13);
                        return false; // drop the connection with the body unfinished
                    });
            });
            break;
        case Behaviour::Stall:
            server.stall(path);
            break;
        case Behaviour::ClosedPort:
            setBaseUrl(closedUrl());
            break;
        case Behaviour::EmptyBaseUrl:
            setBaseUrl("");
            break;
        }
    }
};

TEST_F(ReplyTable, WholeTextCallsReadTheLastLineAndSurviveHostileServers)
{
    const std::string big(2 * 1024 * 1024, ' ');
    const ReplyCase cases[] = {
        {"normal", Behaviour::Body, 200, kList, 1, "old|600000|i000001"},
        {"crlf line end", Behaviour::Body, 200, kList + "\r\n", 1, "old|600000|i000001"},
        {"json then text", Behaviour::Body, 200, kList + "\nnot json", 0, ""},
        {"text then json", Behaviour::Body, 200, "<html>\n" + kList, 1, "old|600000|i000001"},
        {"gbk body", Behaviour::Body, 200, kGbkBody, 0, ""},
        {"302 with json", Behaviour::Body, 302, kList, 1, "old|600000|i000001"},
        {"404 page", Behaviour::Body, 404, "<h1>Not Found</h1>", 0, ""},
        {"500 with json", Behaviour::Body, 500, R"({"code":200,"list":[]})", 1, "old"},
        {"refused", Behaviour::Body, 200, R"({"code":403,"list":[]})", 0, ""},
        {"code as text", Behaviour::Body, 200, R"({"code":"200","list":[]})", 0, ""},
        {"no list", Behaviour::Body, 200, R"({"code":200})", 1, "old"},
        {"list not array", Behaviour::Body, 200, R"({"code":200,"list":{"a":1}})", 0, ""},
        {"code not text", Behaviour::Body, 200, R"({"code":200,"list":[{"stockcode":6}]})", 0, ""},
        {"not an object", Behaviour::Body, 200, "[1,2]", 0, ""},
        {"2 MiB reply", Behaviour::Body, 200, big + kList, 0, "old"},
        {"nested 100000 deep", Behaviour::Body, 200, deepJson(100000), 0, ""},
        {"body cut short", Behaviour::ShortBody, 200, "", 0, "old"},
        {"stall", Behaviour::Stall, 0, "", 0, "old"},
        {"closed port", Behaviour::ClosedPort, 0, "", 0, "old"},
        {"no base url", Behaviour::EmptyBaseUrl, 0, "", 0, "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        serve("/api/action/read", c);
        std::string text = "old";
        EXPECT_EQ(ApiReadWatchList(text, ctx), c.expected);
        EXPECT_EQ(text, c.expectedText);
        setBaseUrl(server.url());
    }
    EXPECT_TRUE(server.requestsTo("/elsewhere").empty()) << "a redirect was followed";
}

TEST_F(ReplyTable, LineByLineCallsTakeTheFirstLineThatParses)
{
    const ReplyCase cases[] = {
        {"code 200", Behaviour::Body, 200, R"({"code":200})", 1, ""},
        {"code 500", Behaviour::Body, 200, R"({"code":500})", 0, ""},
        {"500 first decides", Behaviour::Body, 200, "{\"code\":500}\n{\"code\":200}", 0, ""},
        {"junk skipped", Behaviour::Body, 200, "<html>\n\n{\"code\":200}\n", 1, ""},
        {"gbk line skipped", Behaviour::Body, 200, "\xD6\xD0\n{\"code\":500}", 0, ""},
        {"empty body", Behaviour::Body, 200, "", 1, ""},
        {"no json at all", Behaviour::Body, 200, "ok\nfine", 1, ""},
        {"error page 404", Behaviour::Body, 404, "<html>Not Found</html>", 0, ""},
        {"error page 500", Behaviour::Body, 500, "", 0, ""},
        {"code 200 under status 500", Behaviour::Body, 500, R"({"code":200})", 0, ""},
        {"2 MiB reply", Behaviour::Body, 200, std::string(2 * 1024 * 1024, 'x'), 0, ""},
        {"body cut short", Behaviour::ShortBody, 200, "", 0, ""},
        {"stall", Behaviour::Stall, 0, "", 0, ""},
        {"closed port", Behaviour::ClosedPort, 0, "", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        serve("/api/action/write", c);
        serve("/api/action/delete", c);
        EXPECT_EQ(ApiWriteWatchList("600000|000001", ctx), c.expected);
        EXPECT_EQ(ApiDeleteWatchList("600000", ctx), c.expected);
        setBaseUrl(server.url());
    }
}

TEST_F(ApiTest, TestServerCountsAnyAnswer)
{
    server.reply("/", "", 404);
    EXPECT_EQ(TestServer(ctx), 1);
    server.reply("/", "<html>", 500);
    EXPECT_EQ(TestServer(ctx), 1);
    server.stall("/");
    EXPECT_EQ(TestServer(ctx), 0);
    setBaseUrl(closedUrl());
    EXPECT_EQ(TestServer(ctx), 0);
    setBaseUrl("");
    EXPECT_EQ(TestServer(ctx), 0);
    setBaseUrl("ftp://127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(TestServer(ctx), 0) << "only http and https are spoken";
}

TEST_F(ApiTest, RequestsCarryTheAgentAndNothingElse)
{
    server.reply("/api/action/read", kList);
    std::string text;
    ASSERT_EQ(ApiReadWatchList(text, ctx), 1);
    const auto requests = server.requestsTo("/api/action/read");
    ASSERT_EQ(requests.size(), 1u);
    const auto& r = requests[0];
    EXPECT_EQ(r.method, "GET");
    auto header = [&](const char* name) {
        auto it = r.headers.find(name);
        return it == r.headers.end() ? std::string("(none)") : it->second;
    };
    EXPECT_EQ(header("User-Agent"), "my brower");
    EXPECT_EQ(header("Accept"), "(none)");
    EXPECT_EQ(header("Content-Type"), "(none)");
}

TEST_F(ApiTest, CookiesSetByOneCallGoWithTheNext)
{
    server.on("/api/action/read", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "track=abc; Path=/");
        res.set_content(R"({"code":200})", "text/plain");
    });
    server.reply("/api/action/write", R"({"code":200})");
    std::string text;
    ASSERT_EQ(ApiReadWatchList(text, ctx), 1);
    ASSERT_EQ(ApiWriteWatchList("600000", ctx), 1);
    const auto writes = server.requestsTo("/api/action/write");
    ASSERT_EQ(writes.size(), 1u);
    auto it = writes[0].headers.find("Cookie");
    ASSERT_NE(it, writes[0].headers.end());
    EXPECT_EQ(it->second, "track=abc");

    // A cookie the server expires is gone from the store afterwards.
    server.on("/api/action/read", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "track=; Path=/; Expires=Thu, 01 Jan 1970 00:00:00 GMT");
        res.set_content(R"({"code":200})", "text/plain");
    });
    ASSERT_EQ(ApiReadWatchList(text, ctx), 1);
    EXPECT_EQ(CookieStore::instance().size(), 0u);
}

} // namespace
