#include "ApiTestFixture.h"

#include "client/api/UsageLog.h"
#include "client/model/LocalText.h"

namespace {

const MachineDescription kMachine{"00-11-22-aa-bb-cc",
                                  "Debian GNU/Linux 12 (bookworm)",
                                  "Intel(R) Core(TM) i5 CPU @ 2.0GHz",
                                  "7961M",
                                  "108",
                                  "1920:1080"};

std::tm at(int y, int mo, int d, int h, int mi, int s)
{
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    return t;
}

TEST(UsageRecords, FieldsJoinedBySeparators)
{
    EXPECT_EQ(UsageTable1(kMachine, "2.10"),
              "00-11-22-aa-bb-cc||Debian GNU/Linux 12 (bookworm)||Intel(R) Core(TM) i5 CPU @ "
              "2.0GHz||7961M||108||1920:1080||2.10");
    MachineDescription noOs = kMachine;
    noOs.osName.clear();
    EXPECT_NE(UsageTable1(noOs, "2.10").find("cc||||Intel"), std::string::npos);
    EXPECT_EQ(UsageTable2("00-11-22-aa-bb-cc", at(2014, 3, 5, 9, 7, 8), at(2014, 3, 5, 17, 0, 0)),
              "00-11-22-aa-bb-cc||2014-3-5-9-7-8||2014-3-5-17-0-0");
}

TEST_F(ApiTest, UsageLogSendsBothRecordsEncoded)
{
    const std::string table1 = UsageTable1(kMachine, "2.10");
    const std::string table2 = "00-11-22-aa-bb-cc||2014-3-5-9-7-8||2014-3-5-17-0-0";

    SendUsageLog(table1, table2, ctx);
    auto sent = server.requestsTo("/soft/userlog.php");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].params.find("table1")->second, table1) << "nobody logged in: no user";
    EXPECT_EQ(sent[1].params.find("table2")->second, table2);
    EXPECT_NE(sent[1].target.find("table2=00%2D11%2D22%2Daa%2Dbb%2Dcc%7C%7C2014%2D3%2D5"),
              std::string::npos);
    EXPECT_EQ(sent[0].headers.find("User-Agent")->second, "my brower");

    SetLoginUser("张三", "pw");
    SendUsageLog(table1, table2, ctx);
    sent = server.requestsTo("/soft/userlog.php");
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[2].params.find("table1")->second, Utf8ToLocal(table1 + "||张三"));
}

TEST_F(ApiTest, UsageLogGivesUpAfterAFailedFirstRequest)
{
    server.stall("/soft/userlog.php");
    SendUsageLog("a", "b", ctx);
    EXPECT_EQ(server.requestsTo("/soft/userlog.php").size(), 1u);
    setBaseUrl(closedUrl());
    SendUsageLog("a", "b", ctx); // silent
}

} // namespace
