#include "RecordingPorts.h"

#include "client/alerts/AlertRules.h"
#include "client/model/IniFile.h"

#include <gtest/gtest.h>

namespace {

// Alerts are queued (tray mode) so a test reads them from the queue.
struct AlertRulesTest : ModelFixture, ::testing::Test
{
    AlertRulesTest()
    {
        model.Warnings().SetIconCheck(1);
        model.SetSelfStocks(kList);
    }

    static constexpr const char* kList = "600000|000004|300750|688981|830799|920002|i000001";

    // Sends the line; returns the texts of the alerts it fired.
    std::vector<std::string> send(const std::string& line)
    {
        const auto before = model.Warnings().lstWarningMsg().size();
        model.RefreshSelfStockInfo(line);
        std::vector<std::string> texts;
        const auto& queue = model.Warnings().lstWarningMsg();
        for (auto i = before; i < queue.size(); ++i)
            texts.push_back(queue[i].strText);
        return texts;
    }

    // A record that exists and is armed, with the given conditions in WarnSet.ini.
    void watch(const std::string& code, const std::string& name,
               const std::vector<std::pair<std::string, std::string>>& conditions = {})
    {
        for (const auto& [key, value] : conditions)
            ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, name, key, value));
        model.RefreshSelfStockInfo(code + "|" + name + "|10|0|1|1");
        log.clear();
    }

    using Texts = std::vector<std::string>;
};

} // namespace

TEST_F(AlertRulesTest, PercentFiresOnlyAtOrAboveItsValue)
{
    watch("600000", "浦发银行", {{"Percent", "3"}});
    EXPECT_EQ(send("600000|浦发银行|10|2.9|1|1"), Texts{});
    EXPECT_EQ(send("600000|浦发银行|10|-4.0|1|1"), Texts{});
    EXPECT_EQ(send("600000|浦发银行|10|3.0|1|1"), Texts{"涨跌幅达到：3.0%"});
    const auto& msg = model.Warnings().lstWarningMsg().back();
    EXPECT_EQ(msg.strName, "浦发银行");
    EXPECT_EQ(msg.strTime, "2026-03-09   09:35");
    EXPECT_TRUE(log.has("state 600000 2"));
}

TEST_F(AlertRulesTest, EachConditionAndTheOrderOfTheChecks)
{
    struct Case
    {
        std::vector<std::pair<std::string, std::string>> conditions;
        std::string line; // code and name are added
        Texts texts;
    };
    const Case cases[] = {
        {{{"High", "10.2"}}, "10.20|1|1|1", {"价格达到：10.20"}},
        {{{"High", "10.2"}}, "10.19|1|1|1", {}},
        {{{"Low", "9.5"}}, "9.50|-1|1|1", {"价格达到：9.50"}},
        {{{"Low", "abc"}}, "0|0|1|1", {"价格达到：0"}}, // no number compares as 0
        {{{"Crossoverate", "7"}}, "10|1|1|7.00", {"换手率达到：7.00%"}},
        // A Low above the High: both met, only the High message is made.
        {{{"High", "9"}, {"Low", "11"}}, "10|1|1|1", {"价格达到：10"}},
        {{{"Percent", "1"}, {"VolumeRatio", "0"}}, "10|2|2.5|1", {"涨跌幅达到：2%"}},
        // Conditions come before the limit rule.
        {{{"Crossoverate", "5"}}, "11|10|1|6", {"换手率达到：6%"}},
        {{}, "10|2|1|1", {}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const std::string name = "股票" + std::to_string(i);
        SCOPED_TRACE(name + " " + c.line);
        watch("600000", name, c.conditions);
        EXPECT_EQ(send("600000|" + name + "|" + c.line), c.texts);
        model.DeleteSelfStock("600000");
        model.SetSelfStocks("600000");
    }
}

TEST_F(AlertRulesTest, VolumeRatioChoicesWithTheirPrecision)
{
    struct Case
    {
        int choice;
        std::string ratio;
        bool fires;
    };
    const Case cases[] = {
        {0, "2", true},    {0, "1.99", false}, {1, "3.0", true},  {1, "2.9", false},
        {2, "5", true},    {2, "4.99", false}, {3, "0.5", true},  {3, "0.51", false},
        {4, "0.4", false}, // 0.4 as a 32-bit float lies above the 64-bit 0.4
        {4, "0.39", true}, {5, "0.3", false},  {5, "0.29", true}, {6, "0", false},
        {-1, "0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.choice) + " " + c.ratio);
        const std::string name = "量比" + std::to_string(c.choice) + c.ratio;
        watch("600000", name, {{"VolumeRatio", std::to_string(c.choice)}});
        EXPECT_EQ(send("600000|" + name + "|10|0|" + c.ratio + "|1"),
                  c.fires ? Texts{"量比达到：" + c.ratio} : Texts{});
        model.DeleteSelfStock("600000");
        model.SetSelfStocks("600000");
    }
}

TEST_F(AlertRulesTest, LimitRuleByBoard)
{
    struct Case
    {
        std::string code, name, change;
        Texts texts;
    };
    const Case cases[] = {
        {"600000", "浦发银行", "9.80", {"涨停"}},
        {"600000", "浦发银行", "9.79", {"涨幅达到：5%"}},
        {"600000", "浦发银行", "-9.80", {"跌停"}},
        {"600000", "浦发银行", "4.95", {}},
        {"600000", "浦发银行", "5.00", {"涨幅达到：5%"}},
        {"600000", "浦发银行", "-5", {"跌幅达到：-5%"}},
        {"000004", "*ST国华", "4.95", {"涨停"}},
        {"000004", "*ST国华", "-4.90", {"跌停"}},
        {"000004", "st小写", "4.95", {}}, // the test is case-sensitive
        {"300750", "宁德时代", "9.80", {"涨幅达到：5%"}},
        {"300750", "宁德时代", "19.60", {"涨停"}},
        {"300750", "*ST宁德", "19.60", {"涨停"}}, // ST included in the 20 % board
        {"300750", "宁德时代", "-19.60", {"跌停"}},
        {"688981", "中芯国际", "19.59", {"涨幅达到：5%"}},
        {"688981", "中芯国际", "19.60", {"涨停"}},
        {"830799", "艾融软件", "29.40", {"涨停"}},
        {"830799", "艾融软件", "-29.40", {"跌停"}},
        {"830799", "艾融软件", "19.6", {"涨幅达到：5%"}},
        {"920002", "万达轴承", "29.4", {"涨停"}},
        {"i000001", "上证指数", "9.9", {"涨幅达到：5%"}},
        {"i000001", "上证指数", "-5.1", {"跌幅达到：-5%"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code + " " + c.name + " " + c.change);
        watch(c.code, c.name);
        EXPECT_EQ(send(c.code + "|" + c.name + "|10|" + c.change + "|1|1"), c.texts);
        if (!c.texts.empty()) {
            EXPECT_TRUE(log.has("state " + c.code + " 2")); // no conditions, still marked
        }
        model.DeleteSelfStock(c.code);
        model.SetSelfStocks(kList);
    }
}

TEST_F(AlertRulesTest, AFiredStockStaysQuietForEightHoursOfRefreshes)
{
    watch("600000", "浦发银行");
    EXPECT_EQ(send("600000|浦发银行|10|5.5|1|1"), Texts{"涨幅达到：5%"});
    // Reaching the limit ten minutes later: quiet.
    EXPECT_EQ(send("600000|浦发银行|11|10|1|1"), Texts{});
    for (int i = 2; i < 2880; ++i)
        ASSERT_EQ(send("600000|浦发银行|11|10|1|1"), Texts{}) << i;
    EXPECT_EQ(model.FindByCode("600000")->nQuiet, 28790);
    EXPECT_EQ(send("600000|浦发银行|11|10|1|1"), Texts{"涨停"});
    EXPECT_EQ(model.FindByCode("600000")->bAlerted, 1);
    EXPECT_EQ(model.FindByCode("600000")->nQuiet, 0);
}

TEST_F(AlertRulesTest, SoundPlaysOnlyWhenSwitchedOnAndAPathIsSet)
{
    watch("600000", "浦发银行");
    model.SetSoundCheck(1);
    model.Warnings().SetSoundPath("/opt/meridex/sound/a.wav");
    send("600000|浦发银行|10|6|1|1");
    EXPECT_TRUE(log.has("sound /opt/meridex/sound/a.wav"));

    log.clear();
    model.Warnings().SetSoundPath("");
    model.FindByCode("600000")->bAlerted = 0;
    send("600000|浦发银行|10|6|1|1");
    EXPECT_TRUE(log.has("state 600000 2"));
    for (const auto& call : log.calls)
        EXPECT_EQ(call.rfind("sound", 0), std::string::npos);

    log.clear();
    model.SetSoundCheck(0);
    model.Warnings().SetSoundPath("/opt/meridex/sound/a.wav");
    model.FindByCode("600000")->bAlerted = 0;
    send("600000|浦发银行|10|6|1|1");
    EXPECT_FALSE(log.has("sound /opt/meridex/sound/a.wav"));
}

TEST_F(AlertRulesTest, ChangedConditionsArmAQuietStockAtOnce)
{
    watch("600000", "浦发银行", {{"High", "12"}});
    EXPECT_EQ(send("600000|浦发银行|12|1|1|1"), Texts{"价格达到：12"});
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "浦发银行", "High", "13"));
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "浦发银行", "Low", "11"));
    log.clear();
    model.UpdateConditions("浦发银行");
    EXPECT_EQ(log.calls, (std::vector<std::string>{"state 600000 1"})); // once for two changes
    EXPECT_EQ(model.FindByCode("600000")->bAlerted, 0);
    EXPECT_EQ(send("600000|浦发银行|10.5|1|1|1"), Texts{"价格达到：10.5"});

    // The same values again: nothing changes, no call, still quiet.
    log.clear();
    model.UpdateConditions("浦发银行");
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(model.FindByCode("600000")->bAlerted, 1);
}

TEST_F(AlertRulesTest, ConditionsSavedEmptyAreCleared)
{
    watch("600000", "浦发银行", {{"High", "12"}});
    for (const char* key : {"Percent", "High", "Low", "Crossoverate", "VolumeRatio"})
        ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "浦发银行", key, ""));
    model.UpdateConditions("浦发银行");
    EXPECT_EQ(log.calls, (std::vector<std::string>{"state 600000 1", "state 600000 0"}));
    EXPECT_EQ(Ini::ReadString(paths.warnSetIni, "浦发银行", "High", "gone"), "gone");
    EXPECT_EQ(model.FindByCode("600000")->strHigh, "");
}

TEST_F(AlertRulesTest, ClearingTouchesOnlyStocksWithRecords)
{
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "工商银行", "High", "6"));
    model.ClearConditions("工商银行");
    model.UpdateConditions("工商银行");
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(Ini::ReadString(paths.warnSetIni, "工商银行", "High", ""), "6");

    watch("600000", "浦发银行", {{"Percent", "2"}, {"VolumeRatio", "1"}});
    send("600000|浦发银行|10|2|1|1");
    log.clear();
    model.ClearConditions("浦发银行");
    const auto* s = model.FindByCode("600000");
    EXPECT_EQ(s->strPercent, "");
    EXPECT_EQ(s->nVolumeRatio, -1);
    EXPECT_EQ(s->bAlerted, 0);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"state 600000 0"}));
    EXPECT_EQ(Ini::ReadString(paths.warnSetIni, "浦发银行", "Percent", "gone"), "gone");
}

TEST(AlertTime, Format)
{
    EXPECT_EQ(FormatAlertTime({2026, 1, 5, 9, 3, 59}), "2026-01-05   09:03");
}
