#include "RecordingPorts.h"

#include "client/model/IniFile.h"

#include <gtest/gtest.h>

namespace {

struct WatchListTest : ModelFixture, ::testing::Test
{
    std::string stored() const
    {
        return Ini::ReadString(paths.selfStockIni, "SelfStock", "num", "<none>", 2048);
    }
};

} // namespace

TEST_F(WatchListTest, AddingStoresSendsReloadsAndConfirms)
{
    EXPECT_EQ(model.AddStarToSelfStock("600 000"), 1);
    EXPECT_EQ(model.SelfStocks(), "600000");
    EXPECT_EQ(stored(), "600000");
    EXPECT_EQ(log.calls, (std::vector<std::string>{"write 600000", "reload 600000",
                                                   "message 自选股添加成功！"}));
}

TEST_F(WatchListTest, EntriesOfTheSpecialCodes)
{
    struct Case
    {
        std::string before, text, after, message;
    };
    const Case cases[] = {
        {"", "000001", "000001", "自选股添加成功！"},
        {"000001", "000001上证指数", "000001|i000001", "自选股添加成功！"},
        {"000001|i000001", "000001", "000001|i000001", "请不要重复添加！"},
        // The index entry moves to the end while the stock is tested for.
        {"i000001|600000", "000001", "600000|i000001|000001", "自选股添加成功！"},
        {"600000", "399001深证成指", "600000|i399001", "自选股添加成功！"},
        {"i399001", "399001", "i399001", "请不要重复添加！"},
        {"600000", "399300", "600000|i399300", "自选股添加成功！"},
        {"600000|000002", "6000", "600000|000002", ""}, // too short: nothing at all
        {"600000", "上证指数", "600000", ""},           // four characters
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before + " + " + c.text);
        model.SetSelfStocks(c.before);
        log.clear();
        model.AddStarToSelfStock(c.text);
        EXPECT_EQ(model.SelfStocks(), c.after);
        if (c.message.empty()) {
            EXPECT_TRUE(log.calls.empty());
        } else {
            EXPECT_TRUE(log.has("message " + c.message));
        }
    }
}

TEST_F(WatchListTest, RefusedWriteKeepsTheEntryForTheNextChange)
{
    server.accept = false;
    EXPECT_EQ(model.AddStarToSelfStock("600000"), 0);
    EXPECT_TRUE(log.has("message 自选股添加失败"));
    EXPECT_EQ(model.SelfStocks(), "600000");
    EXPECT_EQ(stored(), "<none>");
    EXPECT_FALSE(log.has("reload 600000"));

    server.accept = true;
    log.clear();
    EXPECT_EQ(model.AddStarToSelfStock("000002"), 1);
    EXPECT_TRUE(log.has("write 600000|000002"));
    EXPECT_EQ(stored(), "600000|000002");
}

TEST_F(WatchListTest, AFullListRefusesMoreEntries)
{
    std::string list;
    for (int i = 1; i < 292; ++i)
        list += "|" + std::to_string(600000 + i);
    // 2041 bytes: one more entry of seven bytes would need 2048.
    model.SetSelfStocks("6000" + list);
    EXPECT_EQ(model.AddStarToSelfStock("000002"), 0);
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"message 自选股数量已达上限，请先删除部分股票"}));
    EXPECT_EQ(model.SelfStocks(), "6000" + list);
    EXPECT_EQ(stored(), "<none>");

    // One byte fewer fits exactly: 2047 bytes.
    model.SetSelfStocks("600" + list);
    log.clear();
    EXPECT_EQ(model.AddStarToSelfStock("000002"), 1);
    EXPECT_EQ(stored().size(), 2047u);
}

TEST_F(WatchListTest, DeletingDropsRecordConditionsTickerAndEntry)
{
    model.SetSelfStocks("i000001|000001|600000");
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "平安银行", "High", "12"));
    model.RefreshSelfStockInfo("000001|平安银行|11.2|0.5|1.0|0.3");
    ASSERT_NE(model.FindByCode("000001"), nullptr);
    log.clear();

    model.DeleteSelfStock("000001");
    EXPECT_EQ(model.FindByCode("000001"), nullptr);
    EXPECT_EQ(Ini::ReadString(paths.warnSetIni, "平安银行", "High", "gone"), "gone");
    EXPECT_EQ(model.SelfStocks(), "i000001|600000");
    EXPECT_EQ(log.calls, (std::vector<std::string>{"ticker remove 000001", "delete 000001",
                                                   "reload i000001|600000"}));
    EXPECT_EQ(stored(), "i000001|600000");
}

TEST_F(WatchListTest, DeletingAStockWithoutQuotesDoesNothing)
{
    model.SetSelfStocks("600000|000002");
    model.DeleteSelfStock("600000");
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(model.SelfStocks(), "600000|000002");
}

TEST_F(WatchListTest, RemovingAnEntry)
{
    struct Case
    {
        std::string before, text;
        int result;
        std::string after;
    };
    const Case cases[] = {
        {"600000|000002|300750", "000002", 1, "600000|300750"},
        {"600000|000002|300750", "300750", 1, "600000|000002"},
        {"600000", "600000", 1, ""},
        {"i000001|000001", "i000001", 1, "000001"},
        {"i000001|600000", "000001", 0, "i000001|600000"}, // only whole entries count
        {"600000", "60000", 0, "600000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before + " - " + c.text);
        model.SetSelfStocks(c.before);
        EXPECT_EQ(model.RemoveFromWatchList(c.text), c.result);
        EXPECT_EQ(model.SelfStocks(), c.after);
    }
}

TEST_F(WatchListTest, RefusedDeleteKeepsTheRemovalInMemoryOnly)
{
    ASSERT_TRUE(Ini::WriteString(paths.selfStockIni, "SelfStock", "num", "600000|000002"));
    model.LoadSelfStocks();
    server.accept = false;
    EXPECT_EQ(model.RemoveFromWatchList("000002"), 0);
    EXPECT_TRUE(log.has("message 删除失败"));
    EXPECT_EQ(model.SelfStocks(), "600000");
    EXPECT_EQ(stored(), "600000|000002");
}

TEST_F(WatchListTest, LookupsByCodeAndName)
{
    model.SetSelfStocks("600000|000002");
    model.RefreshSelfStockInfo("600000|浦发银行|8.1|0|1|0.2");
    model.RefreshSelfStockInfo("000002|万科A|7.5|0|1|0.2");
    ASSERT_NE(model.FindByName("万科A"), nullptr);
    EXPECT_EQ(model.FindByName("万科A")->strCode, "000002");
    EXPECT_EQ(model.FindByName("万科a"), nullptr);
    EXPECT_EQ(model.FindByCode("600000")->strName, "浦发银行");
    EXPECT_EQ(model.FindByCode("60000"), nullptr);
}
