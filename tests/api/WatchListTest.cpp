#include "ApiTestFixture.h"

#include "client/api/WatchListApi.h"

namespace {

TEST_F(ApiTest, WatchListCallsCarryKeyTypeAndCommaJoinedData)
{
    SetAccessKey("K9");
    server.reply("/api/action/read", R"({"code":200,"list":[]})");
    server.reply("/api/action/write", R"({"code":200})");
    server.reply("/api/action/delete", R"({"code":200})");
    std::string text;
    EXPECT_EQ(ApiReadWatchList(text, ctx), 1);
    EXPECT_EQ(text, "") << "an empty server list empties the local one";
    EXPECT_EQ(ApiWriteWatchList("600000|000001|i000001", ctx), 1);
    EXPECT_EQ(ApiDeleteWatchList("i000001", ctx), 1);

    EXPECT_EQ(server.requestsTo("/api/action/read").at(0).target,
              "/api/action/read?accesskey=K9&type=1");
    EXPECT_EQ(server.requestsTo("/api/action/write").at(0).target,
              "/api/action/write?accesskey=K9&data=600000,000001,i000001&type=1");
    EXPECT_EQ(server.requestsTo("/api/action/delete").at(0).target,
              "/api/action/delete?accesskey=K9&data=i000001&type=1");
    for (const auto& r : server.requests())
        EXPECT_EQ(r.method, "GET");
}

} // namespace
