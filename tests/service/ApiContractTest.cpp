#include "ServiceTestUtil.h"

#include "client/model/LocalText.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

class ApiContractTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_service = new ServiceProcess({"--key-lifetime", "3600"}); }
    static void TearDownTestSuite()
    {
        delete s_service;
        s_service = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_service->running());
        m_client = s_service->client();
        // Every test starts at a known instant.
        PostEmpty(*m_client, "/admin/clock?time=2026-12-10%2010:30:00");
    }

    std::string loginKey(const std::string& user = "demo")
    {
        const LoginReply r = Login(*m_client, user, "meridex");
        EXPECT_EQ(r.code, 200) << r.error;
        return r.accessKey;
    }
    std::string watchList(const std::string& key)
    {
        const Json::Value v = GetJson(*m_client, "/api/action/read?accesskey=" + key + "&type=1");
        std::string text;
        for (const Json::Value& e : v["list"])
            text += (text.empty() ? "" : "|") + e["stockcode"].asString();
        return text;
    }
    // The cookie value a reply set, as a client sends it back.
    static std::string CookieOf(const std::string& setCookie)
    {
        return setCookie.substr(0, setCookie.find(';'));
    }

    static ServiceProcess* s_service;
    std::unique_ptr<httplib::Client> m_client;
};

ServiceProcess* ApiContractTest::s_service = nullptr;

TEST_F(ApiContractTest, LoginGivesKeyCookieUserAndAdFlag)
{
    const LoginReply r = Login(*m_client, "demo", "meridex");
    ASSERT_EQ(r.code, 200);
    EXPECT_EQ(r.accessKey.size(), 32u);
    EXPECT_EQ(r.setCookie.rfind("MXSESSION=", 0), 0u);

    const Json::Value me =
        PostJson(*m_client, "/api/user/me?accesskey=" + r.accessKey + "&appkey=53190627&v=1.0");
    EXPECT_GT(me["uid"].asInt(), 0);
    EXPECT_FALSE(
        PostJson(*m_client, "/api/vesko/meikai?accesskey=" + r.accessKey)["showAd"].asBool());
    EXPECT_TRUE(
        PostJson(*m_client, "/api/vesko/meikai?accesskey=" + loginKey("guest"))["showAd"].asBool());

    // A second login of the same client keeps its cookie and gets a key of its own.
    const LoginReply again = Login(*m_client, "demo", "meridex", CookieOf(r.setCookie));
    EXPECT_EQ(again.code, 200);
    EXPECT_TRUE(again.setCookie.empty());
    EXPECT_NE(again.accessKey, r.accessKey);
}

TEST_F(ApiContractTest, RefusedLoginsGiveErrorTexts)
{
    struct Case
    {
        const char* user;
        const char* password;
        int code;
    } cases[] = {{"nobody", "meridex", 10002}, {"", "meridex", 10001}, {"guest", "", 10001}};
    for (const Case& c : cases) {
        const LoginReply r = Login(*m_client, c.user, c.password);
        EXPECT_EQ(r.code, c.code) << c.user;
        EXPECT_FALSE(r.error.empty()) << c.user;
        EXPECT_TRUE(r.accessKey.empty());
    }
}

TEST_F(ApiContractTest, ThreeFailuresDemandTheCodeOfTheSameCookie)
{
    // A fresh account, so the failure counter of the others is not touched.
    auto site = s_service->client();
    site->Post("/register", "username=locky&password=secret1&password2=secret1",
               "application/x-www-form-urlencoded");
    const LoginReply first = Login(*m_client, "locky", "wrong");
    const std::string cookie = CookieOf(first.setCookie);
    EXPECT_EQ(first.code, 10002);
    EXPECT_EQ(Login(*m_client, "locky", "wrong", cookie).code, 10002);
    EXPECT_EQ(Login(*m_client, "locky", "wrong", cookie).code, 71090);
    // From now on even the right password needs the code.
    EXPECT_EQ(Login(*m_client, "locky", "secret1", cookie).code, 71090);

    auto image = PostEmpty(*m_client, "/verificationCode", {{"Cookie", cookie}});
    ASSERT_TRUE(image);
    EXPECT_EQ(image->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(image->body.compare(1, 3, "PNG"), 0);
    EXPECT_EQ(CookieOf(image->get_header_value("Set-Cookie")), cookie);
    auto code = [&](const std::string& c) {
        return GetJson(*m_client,
                       "/admin/verifycode?cookie=" + c.substr(c.find('=') + 1))["verifycode"]
            .asString();
    };
    const std::string shown = code(cookie);
    ASSERT_EQ(shown.size(), 4u);
    const std::string wrong = shown == "0000" ? "1111" : "0000";
    EXPECT_EQ(Login(*m_client, "locky", "secret1", cookie, wrong).code, 71091);
    // A code serves one attempt: the right one is gone after the wrong try.
    EXPECT_EQ(Login(*m_client, "locky", "secret1", cookie, shown).code, 71091);

    // A code fetched by another client does not open this one.
    auto other = PostEmpty(*m_client, "/verificationCode");
    const std::string otherCookie = CookieOf(other->get_header_value("Set-Cookie"));
    ASSERT_NE(otherCookie, cookie);
    EXPECT_EQ(Login(*m_client, "locky", "secret1", cookie, code(otherCookie)).code, 71091);

    // The client hands the cookie back in odd shapes; any of them binds.
    PostEmpty(*m_client, "/verificationCode", {{"Cookie", cookie}});
    const LoginReply ok =
        Login(*m_client, "locky", "secret1", "Cookie:" + cookie + "; Path=/", code(cookie));
    EXPECT_EQ(ok.code, 200) << ok.error;
    // Success resets the counter.
    EXPECT_EQ(Login(*m_client, "locky", "wrong", cookie).code, 10002);
}

TEST_F(ApiContractTest, PasswordInLocalCodePageMatches)
{
    auto site = s_service->client();
    // "密码123" registered as UTF-8, sent by the client as GB18030 bytes (C3 DC C2 EB).
    site->Post("/register",
               "username=gbuser&password=%E5%AF%86%E7%A0%81123&password2=%E5%AF%86%E7%A0%81123",
               "application/x-www-form-urlencoded");
    EXPECT_EQ(Login(*m_client, "gbuser", "%C3%DC%C2%EB123").code, 200);
    EXPECT_EQ(Login(*m_client, "gbuser", "%E5%AF%86%E7%A0%81123").code, 200);
}

TEST_F(ApiContractTest, BadOrExpiredKeysAreRefusedEverywhere)
{
    const std::string key = loginKey();
    PostEmpty(*m_client, "/admin/clock?time=2026-12-10%2011:29:00");
    EXPECT_EQ(watchList(key), watchList(key)); // still valid 59 minutes later
    EXPECT_EQ(GetJson(*m_client, "/api/action/read?accesskey=" + key + "&type=1")["code"].asInt(),
              200);
    PostEmpty(*m_client, "/admin/clock?time=2026-12-10%2011:31:00");
    const std::string expired = key;

    for (const std::string& k : {std::string(), std::string("0123456789abcdef0123456789abcdef"),
                                 std::string("'; DROP TABLE sessions; --"), expired}) {
        SCOPED_TRACE(k);
        const std::string q = "?accesskey=" + UrlEncode(k);
        EXPECT_NE(PostJson(*m_client, "/api/user/me" + q)["code"].asInt(), 200);
        EXPECT_EQ(PostJson(*m_client, "/api/user/me" + q)["uid"].asInt(), 0);
        EXPECT_NE(PostJson(*m_client, "/api/vesko/meikai" + q)["code"].asInt(), 200);
        EXPECT_FALSE(PostJson(*m_client, "/api/vesko/meikai" + q)["showAd"].asBool());
        for (const char* action : {"read", "write", "delete"})
            EXPECT_NE(GetJson(*m_client, std::string("/api/action/") + action + q +
                                             "&data=600000&type=1")["code"]
                          .asInt(),
                      200);
    }
}

TEST_F(ApiContractTest, WatchListRoundTripKeepsOrder)
{
    const std::string key = loginKey("guest");
    const std::string q = "?accesskey=" + key + "&type=1&data=";
    EXPECT_EQ(GetJson(*m_client, "/api/action/write" + q + "600000,i000001,000001,300750")["code"],
              200);
    EXPECT_EQ(watchList(key), "600000|i000001|000001|300750");
    // Delete compares whole entries: the index survives the stock of the same digits.
    EXPECT_EQ(GetJson(*m_client, "/api/action/delete" + q + "000001")["code"], 200);
    EXPECT_EQ(watchList(key), "600000|i000001|300750");
    EXPECT_EQ(GetJson(*m_client, "/api/action/delete" + q + "i000001,300750,688981")["code"], 200);
    EXPECT_EQ(watchList(key), "600000");
    // Write replaces the whole list; repeated entries are kept once.
    EXPECT_EQ(GetJson(*m_client, "/api/action/write" + q + "i399001,600519,i399001")["code"], 200);
    EXPECT_EQ(watchList(key), "i399001|600519");
    EXPECT_EQ(GetJson(*m_client, "/api/action/write" + q)["code"], 200);
    EXPECT_EQ(watchList(key), "");
}

TEST_F(ApiContractTest, MalformedWatchListWritesChangeNothing)
{
    const std::string key = loginKey("guest");
    GetJson(*m_client, "/api/action/write?accesskey=" + key + "&type=1&data=600000");
    for (const char* bad : {"60000", "6000000", "abcdef", "600000,", "600000;000001", "x600000",
                            "600000%27%20OR%201=1"}) {
        SCOPED_TRACE(bad);
        const Json::Value v =
            GetJson(*m_client, "/api/action/write?accesskey=" + key + "&type=1&data=" + bad);
        EXPECT_NE(v["code"].asInt(), 200);
        EXPECT_TRUE(v["error"].isString());
    }
    EXPECT_NE(GetJson(*m_client, "/api/action/read?accesskey=" + key + "&type=2")["code"], 200);
    EXPECT_EQ(watchList(key), "600000");
}

TEST_F(ApiContractTest, HostileRequestsGetDefinedRefusals)
{
    struct Case
    {
        std::string path;
        int status;
    } cases[] = {
        {"/no/such/path", 404},
        {"/soft/2.10/htmls/../../data/stocks.csv", 404},
        {"/soft/2.10/htmls/nothing.php", 404},
        {"/soft/Update/packets/other.sh", 404},
        {"/api/action/read?%", 200},
        {"/api/action/read?accesskey=%zz&type=%", 200},
        {"/api/user/me?&&&=&=", 200},
        {"/" + std::string(10000, 'a'), 414},
    };
    for (const Case& c : cases) {
        auto r = m_client->Get(c.path.c_str());
        ASSERT_TRUE(r) << c.path;
        EXPECT_EQ(r->status, c.status) << c.path.substr(0, 60);
    }
    const std::string big(256 * 1024, 'x');
    auto r = m_client->Post("/api/user/login", big, "text/plain");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 413);
    // The scenario interface takes bad input without harm.
    for (const char* body : {"{", "[]", "{\"quotes\":[{\"code\":\"600000\",\"price\":\"x\"}]}",
                             "{\"quotes\":[{\"code\":\"999999\",\"price\":1}]}",
                             "{\"quotes\":[{\"code\":\"600000\",\"price\":-1}]}"}) {
        auto a = m_client->Post("/admin/quotes", body, "application/json");
        ASSERT_TRUE(a);
        EXPECT_NE(ParseJson(a->body)["code"].asInt(), 200) << body;
    }
    EXPECT_EQ(loginKey().size(), 32u);
}

TEST_F(ApiContractTest, BodilessPostWithoutLengthIsAnswered)
{
    const std::string reply =
        RawExchange(s_service->port(), "POST /api/vesko/meikai?accesskey=x HTTP/1.1\r\n"
                                       "Host: 127.0.0.1\r\nUser-Agent: my brower\r\n"
                                       "Connection: close\r\n\r\n");
    EXPECT_EQ(reply.rfind("HTTP/1.1 200", 0), 0u) << reply;
    EXPECT_EQ(ParseJson(reply.substr(reply.find("\r\n\r\n") + 4))["code"], 401);
    // Raw bytes of the local code page in the query do not upset the parser.
    const std::string raw = RawExchange(
        s_service->port(), "GET /soft/userlog.php?table1=a||\xd5\xc5\xc8\xfd HTTP/1.1\r\n"
                           "Host: 127.0.0.1\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(raw.rfind("HTTP/1.1 200", 0), 0u) << raw;
}

TEST_F(ApiContractTest, ConcurrentClientsLeaveAConsistentStore)
{
    const std::string key = loginKey("guest");
    const std::vector<std::string> lists = {"600000,000001", "300750,688981,i000001", "i399001"};
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            auto c = s_service->client();
            for (int i = 0; i < 15; ++i) {
                const std::string& data = lists[static_cast<std::size_t>(t + i) % lists.size()];
                if (GetJson(*c, "/api/action/write?accesskey=" + key +
                                    "&type=1&data=" + data)["code"] != 200)
                    ++failures;
                if (GetJson(*c, "/api/action/read?accesskey=" + key + "&type=1")["code"] != 200)
                    ++failures;
                if (!c->Get("/soft/quotes?codes=600000,i000001"))
                    ++failures;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(failures, 0);
    std::string final = watchList(key);
    for (char& ch : final)
        if (ch == '|')
            ch = ',';
    EXPECT_NE(std::find(lists.begin(), lists.end(), final), lists.end()) << final;
}

TEST_F(ApiContractTest, KeyLoginOpensTheAccountPages)
{
    const std::string key = loginKey();
    const std::string own = s_service->base();
    const int uid = PostJson(*m_client, "/api/user/me?accesskey=" + key)["uid"].asInt();
    const std::string home = own + "/u/" + std::to_string(uid);

    auto r = m_client->Get(("/api/user/keylogin?accesskey=" + key + "&url=" + home).c_str());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 302);
    EXPECT_EQ(r->get_header_value("Location"), home);
    const std::string cookie = r->get_header_value("Set-Cookie");
    const std::string site = cookie.substr(0, cookie.find(';'));
    auto page = m_client->Get(("/u/" + std::to_string(uid)).c_str(), {{"Cookie", site}});
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("demo"), std::string::npos);
    EXPECT_EQ(m_client->Get("/account/my_account", {{"Cookie", site}})->status, 200);
    EXPECT_EQ(m_client->Get("/account/my_account")->status, 403);
    EXPECT_EQ(m_client->Get("/u/999", {{"Cookie", site}})->status, 403);

    const std::string viaLocalhost =
        "http://localhost:" + std::to_string(s_service->port()) + "/account/my_account";
    EXPECT_EQ(
        m_client->Get(("/api/user/keylogin?accesskey=" + key + "&url=" + viaLocalhost).c_str())
            ->status,
        302);

    // Only this site's pages, and only with a valid key.
    EXPECT_EQ(
        m_client
            ->Get(("/api/user/keylogin?accesskey=" + key + "&url=http://evil.example/x").c_str())
            ->status,
        400);
    EXPECT_EQ(
        m_client->Get(("/api/user/keylogin?accesskey=" + key + "&url=//evil.example/x").c_str())
            ->status,
        400);
    EXPECT_EQ(m_client->Get(("/api/user/keylogin?accesskey=bad&url=" + home).c_str())->status, 403);
}

TEST(ServiceLifecycle, StopsCleanlyOnSignalAndKeepsItsData)
{
    ServiceProcess service;
    ASSERT_TRUE(service.running());
    auto c = service.client();
    const LoginReply r = Login(*c, "demo", "meridex");
    ASSERT_EQ(r.code, 200);
    GetJson(*c, "/api/action/write?accesskey=" + r.accessKey + "&type=1&data=600036");
    EXPECT_EQ(service.stop(), 0);

    // The same data folder again: the list is still there, the demo account not seeded twice.
    ServiceProcess again({"--data", service.folder().file("data")});
    ASSERT_TRUE(again.running());
    auto c2 = again.client();
    const LoginReply r2 = Login(*c2, "demo", "meridex");
    ASSERT_EQ(r2.code, 200);
    EXPECT_EQ(GetJson(*c2, "/api/action/read?accesskey=" + r2.accessKey +
                               "&type=1")["list"][0]["stockcode"],
              "600036");
}

TEST(ServiceLifecycle, BadArgumentsAreRefused)
{
    for (const char* arg : {"--port", "--bogus", "--latest-version"}) {
        ServiceProcess s({arg, arg[2] == 'p' ? "99999" : "x/y"});
        EXPECT_FALSE(s.running()) << arg;
        EXPECT_EQ(s.stop(), 2) << arg;
    }
}

} // namespace
