#include "RecordingPorts.h"

#include "client/model/IniFile.h"

#include <gtest/gtest.h>

namespace {

struct QuoteIntakeTest : ModelFixture, ::testing::Test
{
    QuoteIntakeTest() { model.SetSelfStocks("600000|i000001|300750"); }
};

} // namespace

TEST_F(QuoteIntakeTest, TheFirstLineCreatesARecordWithoutEvaluating)
{
    // +11 % would fire the limit rule, but the first line only sets the record up.
    model.RefreshSelfStockInfo("600000|浦发银行|10.20|11.25|0.96|0.33");
    const auto* s = model.FindByCode("600000");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->strName, "浦发银行");
    EXPECT_EQ(s->strPrice, "10.20");
    EXPECT_EQ(s->strChange, "11.25%");
    EXPECT_EQ(s->strTurnover, "0.33%");
    EXPECT_EQ(s->strVolumeRatio, "0.96");
    EXPECT_EQ(s->fPrice, 10.2f);
    EXPECT_EQ(s->fChange, 11.25f);
    EXPECT_EQ(s->fVolumeRatio, 0.96f);
    EXPECT_EQ(s->fTurnover, 0.33f);
    EXPECT_EQ(s->nTrend, 2);
    EXPECT_EQ(s->nVolumeRatio, -1);
    EXPECT_EQ(s->bAlerted, 0);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"ticker add 600000 浦发银行 2 10.20 11.25%"}));
}

TEST_F(QuoteIntakeTest, LaterLinesUpdateTheTickerAndEvaluate)
{
    model.RefreshSelfStockInfo("600000|浦发银行|10.20|1.25|0.96|0.33");
    log.clear();
    model.RefreshSelfStockInfo("600000|改名了|10.00|0|1.1|0.5");
    const auto* s = model.FindByCode("600000");
    EXPECT_EQ(s->strName, "浦发银行"); // the first line's name stays
    EXPECT_EQ(s->nTrend, 1);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"ticker update 600000 1 10.00 0%"}));

    model.RefreshSelfStockInfo("600000|浦发银行|9.00|-10.00|1.1|0.5");
    EXPECT_EQ(model.FindByCode("600000")->nTrend, 0);
    EXPECT_TRUE(log.has("state 600000 2")); // evaluated: limit down
    EXPECT_EQ(model.Warnings().lstWarningDlg().size(), 1u);
}

TEST_F(QuoteIntakeTest, WhichLinesAreAccepted)
{
    struct Case
    {
        std::string line;
        bool accepted;
    };
    const Case cases[] = {
        {"600000|浦发银行|10|1|1|1", true},
        {"000001|平安银行|10|1|1|1", true}, // only inside i000001: a substring counts
        {"601398|工商银行|5|1|1|1", false}, // not watched
        {"600000|浦发银行|10|1|1", false},  // five fields
        {"600000", false},
        {"|浦发银行|10|1|1|1", false}, // no code
        {"", false},
        {"00|x|1|1|1|1", true}, // occurs in the text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto before = model.lstSelfStocks().size();
        log.clear();
        model.RefreshSelfStockInfo(c.line);
        EXPECT_EQ(model.lstSelfStocks().size(), before + (c.accepted ? 1 : 0));
        EXPECT_EQ(log.calls.empty(), !c.accepted);
    }
}

TEST_F(QuoteIntakeTest, FieldsPastTheSixthAndBadNumbers)
{
    model.RefreshSelfStockInfo("300750|宁德时代|abc|x1|  2.5|7.5|extra|more");
    const auto* s = model.FindByCode("300750");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->strPrice, "abc");
    EXPECT_EQ(s->fPrice, 0.0f);
    EXPECT_EQ(s->fChange, 0.0f);
    EXPECT_EQ(s->nTrend, 1);
    EXPECT_EQ(s->fVolumeRatio, 2.5f);
    EXPECT_EQ(s->strTurnover, "7.5%");
}

TEST_F(QuoteIntakeTest, ConditionsAreReadWhenTheRecordIsCreated)
{
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "浦发银行", "Percent", ""));
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "浦发银行", "VolumeRatio", "3"));
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "宁德时代", "High", "250.5"));
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "宁德时代", "Low", "200"));
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "宁德时代", "VolumeRatio", ""));
    model.RefreshSelfStockInfo("600000|浦发银行|10|1|1|1");
    model.RefreshSelfStockInfo("300750|宁德时代|230|1|1|1");
    model.RefreshSelfStockInfo("i000001|上证指数|3300|1|1|1");
    EXPECT_EQ(model.FindByCode("600000")->nVolumeRatio, 3);
    EXPECT_EQ(model.FindByCode("600000")->strPercent, "");
    EXPECT_EQ(model.FindByCode("300750")->strHigh, "250.5");
    EXPECT_EQ(model.FindByCode("300750")->strLow, "200");
    EXPECT_EQ(model.FindByCode("300750")->nVolumeRatio, -1);
    EXPECT_TRUE(log.has("state 600000 1"));
    EXPECT_TRUE(log.has("state 300750 1"));
    EXPECT_FALSE(log.has("state i000001 1"));
    // Records keep the order of their first quote.
    ASSERT_EQ(model.lstSelfStocks().size(), 3u);
    EXPECT_EQ(model.lstSelfStocks()[2]->strCode, "i000001");
}

TEST_F(QuoteIntakeTest, AChangedWatchListChangesAcceptance)
{
    model.RefreshSelfStockInfo("601398|工商银行|5|1|1|1");
    EXPECT_EQ(model.FindByCode("601398"), nullptr);
    model.SetSelfStocks("601398");
    model.RefreshSelfStockInfo("601398|工商银行|5|1|1|1");
    EXPECT_NE(model.FindByCode("601398"), nullptr);
}

TEST_F(QuoteIntakeTest, LaterLinesDoNotReadTheSettingsAgain)
{
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "浦发银行", "High", "12"));
    model.RefreshSelfStockInfo("600000|浦发银行|10|1|1|1");
    // Conditions reach an existing record only through UpdateConditions.
    ASSERT_TRUE(Ini::WriteString(paths.warnSetIni, "浦发银行", "High", "9"));
    model.RefreshSelfStockInfo("600000|浦发银行|10|1|1|1");
    EXPECT_EQ(model.FindByCode("600000")->strHigh, "12");
    EXPECT_TRUE(model.Warnings().lstWarningDlg().empty());
}
