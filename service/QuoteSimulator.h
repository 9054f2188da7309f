#pragma once

#include "service/StockTable.h"

#include <cstdint>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct Quote
{
    std::string key; // "600000", "i000001"
    std::string name;
    double price = 0, change = 0, volumeRatio = 0, turnover = 0;
    double prevClose = 0, open = 0, high = 0, low = 0, limitUp = 0, limitDown = 0;
    bool isIndex = false;
    bool fixed = false; // set through the scenario interface
};

// Exact values that replace the simulated ones until cleared; a value left out is simulated
// (price and change derive from each other through the previous close).
struct QuoteOverride
{
    std::optional<double> price, change, volumeRatio, turnover;
};

// Where the market stands at an instant: the trading day whose quotes apply and the trading
// seconds elapsed on it (0 at 09:30, 7200 from 11:30 to 13:00, 14400 from 15:00). Before the
// open and on weekends the previous trading day's close stands.
struct TradingMoment
{
    int dateKey = 0;
    int elapsed = 0;
};
TradingMoment TradingMomentAt(std::time_t t);

// Simulated quotes for every stock and index of the table: a seeded random walk per stock and
// trading day, minute by minute, moved partly by a market factor shared by all stocks and
// capped at each board's daily limit; a few stocks a day run to their limits. The same seed
// and instant always give the same quotes, whatever was asked before.
class QuoteSimulator
{
public:
    QuoteSimulator(const StockTable& table, std::uint64_t seed);

    std::optional<Quote> quote(const std::string& key, std::time_t now);
    std::vector<Quote> allQuotes(std::time_t now);
    // Minute prices of the quote's trading day up to the instant.
    std::vector<double> intraday(const std::string& key, std::time_t now);

    void setOverride(const std::string& key, const QuoteOverride& values);
    bool clearOverride(const std::string& key);
    void clearOverrides();

private:
    struct DayPath
    {
        double prevClose = 0, limitUp = 0, limitDown = 0;
        std::vector<double> price;    // 241 minute marks
        std::vector<double> turnover; // cumulative, per cent
        double usualPerMinute = 0;    // turnover per minute on recent days
    };

    const DayPath& path(const StockInfo& stock, int dateKey);
    const std::vector<double>& marketReturns(int dateKey);
    DayPath makePath(const StockInfo& stock, int dateKey);
    Quote makeQuote(const StockInfo& stock, const TradingMoment& at);

    const StockTable& m_table;
    std::uint64_t m_seed;
    std::mutex m_mutex;
    std::map<int, std::unordered_map<std::string, DayPath>> m_paths;
    std::map<int, std::vector<double>> m_market;
    std::unordered_map<std::string, QuoteOverride> m_overrides;
};

// Prices travel as text with two decimals.
std::string FormatPrice(double v);
