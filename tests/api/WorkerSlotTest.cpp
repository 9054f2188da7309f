#include "ApiTestFixture.h"

#include "client/api/WatchListApi.h"
#include "client/api/WorkerSlot.h"

#include <future>

namespace {

TEST(WorkerSlot, OneWorkerAtATimeAndJoinable)
{
    WorkerSlot slot;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    ASSERT_TRUE(slot.start([released] { released.wait(); }));
    EXPECT_TRUE(slot.running());
    EXPECT_FALSE(slot.start([] {})) << "a running worker is not replaced";
    release.set_value();
    slot.join();
    EXPECT_FALSE(slot.running());
    int runs = 0;
    ASSERT_TRUE(slot.start([&runs] { ++runs; }));
    slot.join();
    slot.join();
    EXPECT_EQ(runs, 1);
}

TEST_F(ApiTest, ConcurrentCallsKeepTheirCookiesApart)
{
    server.on("/api/action/read", [](const httplib::Request& req, httplib::Response& res) {
        res.set_header("Set-Cookie", "n" + req.get_param_value("accesskey") + "=1; Path=/");
        res.set_content(R"({"code":200,"list":[{"stockcode":"600000"}]})", "text/plain");
    });
    SetAccessKey("K");
    WorkerSlot slots[4];
    std::atomic<int> ok{0};
    for (auto& slot : slots)
        slot.start([&] {
            for (int i = 0; i < 10; ++i) {
                std::string text;
                ok += ApiReadWatchList(text, ctx) == 1 && text == "600000";
            }
        });
    for (auto& slot : slots)
        slot.join();
    EXPECT_EQ(ok.load(), 40);
    EXPECT_EQ(CookieStore::instance().size(), 1u);
}

} // namespace
