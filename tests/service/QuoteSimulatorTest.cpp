#include "service/QuoteSimulator.h"
#include "service/ScenarioFile.h"
#include "service/ServiceClock.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// One trading day (a Thursday) and its neighbours, China time.
std::time_t At(int day, int hour, int minute, int second = 0)
{
    return FromChinaTime(2026, 12, day, hour, minute, second);
}

class QuoteSimulatorTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_table = new StockTable;
        std::string error;
        ASSERT_TRUE(
            s_table->load(std::string(MERIDEX_SOURCE_DIR_TEXT) + "/service/data/stocks.csv", error))
            << error;
    }
    static void TearDownTestSuite() { delete s_table; }

    static StockTable* s_table;
};

StockTable* QuoteSimulatorTest::s_table = nullptr;

TEST_F(QuoteSimulatorTest, BoardsHaveTheirDailyLimits)
{
    struct Case
    {
        const char* key;
        double limit;
    } cases[] = {{"600000", 0.10}, {"000001", 0.10}, {"002594", 0.10},
                 {"000004", 0.05}, {"300750", 0.20}, {"301000", 0.20},
                 {"688981", 0.20}, {"871694", 0.30}, {"i000001", 0.0}};
    for (const Case& c : cases) {
        const StockInfo* s = s_table->find(c.key);
        ASSERT_NE(s, nullptr) << c.key;
        EXPECT_DOUBLE_EQ(s->limitFraction(), c.limit) << c.key << " " << s->name;
    }
}

TEST_F(QuoteSimulatorTest, SameSeedAndInstantGiveTheSameQuotes)
{
    QuoteSimulator a(*s_table, 7), b(*s_table, 7), other(*s_table, 8);
    const std::time_t t = At(10, 10, 41, 17);
    b.quote("300750", At(10, 14, 0)); // what was asked before does not matter
    int differences = 0;
    for (const char* key : {"600000", "300750", "i000001", "871694"}) {
        const auto qa = a.quote(key, t), qb = b.quote(key, t), qo = other.quote(key, t);
        ASSERT_TRUE(qa && qb && qo);
        EXPECT_EQ(qa->price, qb->price);
        EXPECT_EQ(qa->turnover, qb->turnover);
        EXPECT_EQ(qa->volumeRatio, qb->volumeRatio);
        differences += qa->price != qo->price;
    }
    EXPECT_GT(differences, 0);
    EXPECT_FALSE(a.quote("999999", t));
    EXPECT_FALSE(a.quote("i600000", t));
}

TEST_F(QuoteSimulatorTest, PricesStayWithinLimitsAndAFewStocksReachThem)
{
    QuoteSimulator sim(*s_table, 20140305);
    int atLimit = 0;
    for (const std::time_t t : {At(10, 9, 30), At(10, 11, 0), At(10, 14, 59, 59), At(11, 15, 0)}) {
        double lastTurnover = 0;
        for (const Quote& q : sim.allQuotes(t)) {
            if (q.isIndex)
                continue;
            ASSERT_GE(q.price, q.limitDown) << q.key;
            ASSERT_LE(q.price, q.limitUp) << q.key;
            ASSERT_NEAR(q.change, (q.price - q.prevClose) / q.prevClose * 100, 0.006) << q.key;
            ASSERT_GE(q.turnover, 0);
            ASSERT_GE(q.volumeRatio, 0);
            ASSERT_LE(q.low, q.price);
            ASSERT_GE(q.high, q.price);
            atLimit += q.price == q.limitUp || q.price == q.limitDown;
            lastTurnover = q.turnover;
        }
        (void)lastTurnover;
    }
    EXPECT_GT(atLimit, 0);
    EXPECT_LT(atLimit, static_cast<int>(s_table->all().size()) / 10);
}

TEST_F(QuoteSimulatorTest, OutsideTradingHoursTheLastPriceStands)
{
    QuoteSimulator sim(*s_table, 3);
    auto price = [&](std::time_t t) { return sim.quote("600000", t)->price; };
    auto turnover = [&](std::time_t t) { return sim.quote("600000", t)->turnover; };
    EXPECT_EQ(price(At(10, 12, 15)), price(At(10, 11, 30)));     // lunch break
    EXPECT_EQ(price(At(10, 20, 0)), price(At(10, 15, 0)));       // evening
    EXPECT_EQ(price(At(11, 8, 0)), price(At(10, 15, 0)));        // before Friday's open
    EXPECT_EQ(price(At(12, 10, 0)), price(At(11, 15, 0)));       // Saturday shows Friday
    EXPECT_EQ(price(At(14, 9, 29, 59)), price(At(11, 15, 0)));   // Monday before the open
    EXPECT_LE(turnover(At(10, 10, 0)), turnover(At(10, 14, 0))); // turnover only grows
    EXPECT_EQ(TradingMomentAt(At(10, 13, 0)).elapsed, 7200);
    EXPECT_EQ(TradingMomentAt(At(10, 9, 31)).elapsed, 60);
    EXPECT_EQ(TradingMomentAt(At(13, 11, 0)).dateKey, 20261211); // Sunday
}

TEST_F(QuoteSimulatorTest, OverridesSetExactValuesUntilCleared)
{
    QuoteSimulator sim(*s_table, 3);
    const std::time_t t = At(10, 10, 0);
    const Quote before = *sim.quote("600000", t);
    sim.setOverride("600000", {10.5, 2.5, 1.2, 0.8});
    Quote q = *sim.quote("600000", t);
    EXPECT_EQ(FormatPrice(q.price) + FormatPrice(q.change) + FormatPrice(q.volumeRatio) +
                  FormatPrice(q.turnover),
              "10.502.501.200.80");
    EXPECT_TRUE(q.fixed);

    QuoteOverride priceOnly;
    priceOnly.price = before.prevClose * 1.1;
    sim.setOverride("600000", priceOnly);
    q = *sim.quote("600000", t);
    EXPECT_NEAR(q.change, 10.0, 0.01);
    EXPECT_EQ(q.turnover, before.turnover);

    QuoteOverride indexChange;
    indexChange.change = -2.0;
    sim.setOverride("i000001", indexChange);
    EXPECT_NEAR(sim.quote("i000001", t)->price, sim.quote("i000001", t)->prevClose * 0.98, 0.01);

    EXPECT_TRUE(sim.clearOverride("600000"));
    EXPECT_EQ(sim.quote("600000", t)->price, before.price);
    sim.clearOverrides();
    EXPECT_FALSE(sim.quote("i000001", t)->fixed);
}

TEST_F(QuoteSimulatorTest, ScenarioStepsApplyWhenTheirTimeComes)
{
    QuoteSimulator sim(*s_table, 3);
    ScenarioFile scenario;
    std::string error;
    const std::time_t start = At(10, 10, 0);
    ASSERT_TRUE(scenario.parse("# demo\n"
                               "+5 600000 11.00 - - -\n"
                               "10:00:20 i000001 - -1.5 0.9 -\n"
                               "\n"
                               "+30 600000 clear\n"
                               "+40 all clear\n",
                               start, error))
        << error;
    scenario.applyDue(start + 4, sim);
    EXPECT_FALSE(sim.quote("600000", start + 4)->fixed);
    scenario.applyDue(start + 25, sim);
    EXPECT_EQ(sim.quote("600000", start + 25)->price, 11.0);
    EXPECT_EQ(sim.quote("i000001", start + 25)->change, -1.5);
    scenario.applyDue(start + 30, sim);
    EXPECT_FALSE(sim.quote("600000", start + 30)->fixed);
    EXPECT_TRUE(sim.quote("i000001", start + 30)->fixed);
    scenario.applyDue(start + 40, sim);
    EXPECT_FALSE(sim.quote("i000001", start + 40)->fixed);

    for (const char* bad : {"5 600000 1 2 3 4", "+5 600000 1 2 3", "+x 600000 clear",
                            "+5 600000 abc - - -", "+5 all 1 - - -", "25:00 600000 clear"}) {
        EXPECT_FALSE(scenario.parse(bad, start, error)) << bad;
        EXPECT_NE(error.find("line 1"), std::string::npos);
    }
}

TEST(ServiceClockTest, ParsesDemoTimesAndFreezes)
{
    const std::time_t today = FromChinaTime(2026, 12, 10, 20, 0, 0);
    std::time_t t = 0;
    ASSERT_TRUE(ServiceClock::parse("10:30", today, t));
    EXPECT_EQ(FormatChinaTime(t), "2026-12-10 10:30:00");
    ASSERT_TRUE(ServiceClock::parse("2027-01-04T09:35:10", today, t));
    EXPECT_EQ(FormatChinaTime(t), "2027-01-04 09:35:10");
    ASSERT_TRUE(ServiceClock::parse("2027-01-04 09:35", today, t));
    EXPECT_EQ(FormatChinaTime(t), "2027-01-04 09:35:00");
    for (const char* bad : {"", "10", "24:00", "10:60", "2026-13-01 10:00", "10:30x", "abc"})
        EXPECT_FALSE(ServiceClock::parse(bad, today, t)) << bad;

    ServiceClock clock;
    clock.freezeAt(today);
    EXPECT_EQ(clock.now(), today);
    EXPECT_TRUE(clock.frozen());
    clock.release();
    EXPECT_GE(clock.now(), today);
    EXPECT_FALSE(clock.frozen());
}

} // namespace
