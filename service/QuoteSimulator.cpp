#include "service/QuoteSimulator.h"

#include "service/ServiceClock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kMinutes = 240;
constexpr int kTradingSeconds = kMinutes * 60;

std::uint64_t Mix(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::uint64_t HashText(std::uint64_t h, const std::string& s)
{
    for (unsigned char c : s)
        h = Mix(h ^ c);
    return h;
}

// splitmix64: small, fast and identical on every platform.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double normal()
    {
        const double u1 = std::max(uniform(), 1e-12);
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

private:
    std::uint64_t next()
    {
        m_state += 0x9e3779b97f4a7c15ULL;
        return Mix(m_state - 0x9e3779b97f4a7c15ULL);
    }
    std::uint64_t m_state;
};

double Round2(double v)
{
    return std::round(v * 100.0) / 100.0;
}

int PreviousTradingDate(int dateKey)
{
    const int y = dateKey / 10000, m = dateKey / 100 % 100, d = dateKey % 100;
    std::time_t t = FromChinaTime(y, m, d, 12, 0, 0);
    do {
        t -= 86400;
    } while (ToChinaTime(t).weekday == 0 || ToChinaTime(t).weekday == 6);
    return ToChinaTime(t).dateKey();
}

double IndexBase(const std::string& code)
{
    if (code == "000001")
        return 3300.0;
    if (code == "399001")
        return 10500.0;
    if (code == "399300")
        return 3900.0;
    return 1000.0;
}

} // namespace

TradingMoment TradingMomentAt(std::time_t t)
{
    const ChinaTime c = ToChinaTime(t);
    const int secs = c.hour * 3600 + c.minute * 60 + c.second;
    const int open1 = 9 * 3600 + 30 * 60, close1 = 11 * 3600 + 30 * 60;
    const int open2 = 13 * 3600, close2 = 15 * 3600;
    const bool weekend = c.weekday == 0 || c.weekday == 6;
    if (weekend || secs < open1)
        return {PreviousTradingDate(c.dateKey()), kTradingSeconds};
    int elapsed = kTradingSeconds;
    if (secs < close1)
        elapsed = secs - open1;
    else if (secs < open2)
        elapsed = close1 - open1;
    else if (secs < close2)
        elapsed = (close1 - open1) + (secs - open2);
    return {c.dateKey(), elapsed};
}

std::string FormatPrice(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v == 0.0 ? 0.0 : v);
    return buf;
}

QuoteSimulator::QuoteSimulator(const StockTable& table, std::uint64_t seed)
    : m_table(table), m_seed(seed)
{
}

const std::vector<double>& QuoteSimulator::marketReturns(int dateKey)
{
    auto it = m_market.find(dateKey);
    if (it != m_market.end())
        return it->second;
    Random rng(Mix(m_seed ^ Mix(static_cast<std::uint64_t>(dateKey))));
    const double sigma = (0.006 + 0.008 * rng.uniform()) / std::sqrt(double(kMinutes));
    const double drift = 0.01 * (rng.uniform() - 0.5) / kMinutes;
    std::vector<double> r(kMinutes + 1, 0.0);
    for (int m = 1; m <= kMinutes; ++m)
        r[static_cast<std::size_t>(m)] = drift + sigma * rng.normal();
    if (m_market.size() > 4)
        m_market.erase(m_market.begin());
    return m_market.emplace(dateKey, std::move(r)).first->second;
}

QuoteSimulator::DayPath QuoteSimulator::makePath(const StockInfo& stock, int dateKey)
{
    const std::uint64_t stockHash = HashText(Mix(m_seed), stock.key());
    Random traits(stockHash);
    Random rng(Mix(stockHash ^ Mix(static_cast<std::uint64_t>(dateKey) * 31 + 7)));

    // Per stock, stable across days: price level, volatility, beta, usual turnover.
    const double base = stock.isIndex ? IndexBase(stock.code)
                                      : std::exp(std::log(3.0) + traits.uniform() * std::log(25.0));
    const double dailyVol = stock.isIndex ? 0.009 : 0.012 + 0.025 * traits.uniform();
    const double beta = stock.isIndex ? 1.0 : 0.5 + traits.uniform();
    const double usualTurnover =
        stock.isIndex ? 1.0 : std::exp(std::log(0.3) + traits.uniform() * std::log(25.0));

    DayPath p;
    p.prevClose = Round2(base * std::exp(0.2 * (rng.uniform() - 0.5)));
    const double limit = stock.limitFraction();
    p.limitUp = limit > 0 ? Round2(p.prevClose * (1 + limit)) : 1e12;
    p.limitDown = limit > 0 ? Round2(p.prevClose * (1 - limit)) : 0.0;

    // A few stocks a day run to a limit, so the built-in limit alerts fire in a demo.
    const double pick = rng.uniform();
    double moverDrift = 0;
    int moverStart = 0, moverEnd = 0;
    if (limit > 0 && pick < 0.006) {
        moverStart = static_cast<int>(rng.uniform() * 180);
        moverEnd = moverStart + 20 + static_cast<int>(rng.uniform() * 40);
        moverDrift =
            (pick < 0.004 ? 1.0 : -1.0) * std::log(1 + limit * 1.2) / (moverEnd - moverStart);
    }

    const std::vector<double>& market = marketReturns(dateKey);
    const double sigma = dailyVol / std::sqrt(double(kMinutes));
    const double perMinute = usualTurnover / kMinutes;
    p.usualPerMinute = perMinute * (0.7 + 0.6 * rng.uniform());
    p.price.resize(kMinutes + 1);
    p.turnover.resize(kMinutes + 1);

    auto clamp = [&p](double v) { return std::clamp(v, p.limitDown, p.limitUp); };
    double level = clamp(p.prevClose * std::exp(0.3 * sigma * 8 * rng.normal()));
    p.price[0] = level;
    double cumulative = perMinute * 2 * rng.uniform(); // the opening auction
    p.turnover[0] = cumulative;
    for (int m = 1; m <= kMinutes; ++m) {
        const double drift = (m > moverStart && m <= moverEnd) ? moverDrift : 0.0;
        const double shock = sigma * rng.normal();
        const double next = clamp(level * std::exp(beta * market[static_cast<std::size_t>(m)] +
                                                   (stock.isIndex ? 0.3 : 1.0) * shock + drift));
        // Trading is busier near the open and the close and when the price moves.
        const double shape = 1.6 - 1.2 * std::sin(3.141592653589793 * m / kMinutes);
        const double move = std::fabs(std::log(next / level)) / std::max(sigma, 1e-9);
        cumulative += perMinute * shape * (0.6 + 0.4 * move) * (0.5 + rng.uniform());
        level = next;
        p.price[static_cast<std::size_t>(m)] = level;
        p.turnover[static_cast<std::size_t>(m)] = cumulative;
    }
    return p;
}

const QuoteSimulator::DayPath& QuoteSimulator::path(const StockInfo& stock, int dateKey)
{
    // Only the last few trading days are ever asked for; older ones are dropped.
    while (m_paths.size() > 3 && m_paths.begin()->first != dateKey)
        m_paths.erase(m_paths.begin());
    auto& day = m_paths[dateKey];
    auto it = day.find(stock.key());
    if (it != day.end())
        return it->second;
    return day.emplace(stock.key(), makePath(stock, dateKey)).first->second;
}

Quote QuoteSimulator::makeQuote(const StockInfo& stock, const TradingMoment& at)
{
    const DayPath& p = path(stock, at.dateKey);
    const int m = std::min(at.elapsed / 60, kMinutes);
    const double frac = m < kMinutes ? (at.elapsed % 60) / 60.0 : 0.0;
    const std::size_t i = static_cast<std::size_t>(m);
    const std::size_t j = std::min<std::size_t>(i + 1, kMinutes);

    Quote q;
    q.key = stock.key();
    q.name = stock.name;
    q.isIndex = stock.isIndex;
    q.prevClose = p.prevClose;
    q.limitUp = stock.isIndex ? 0.0 : p.limitUp;
    q.limitDown = stock.isIndex ? 0.0 : p.limitDown;
    q.price = Round2(p.price[i] + (p.price[j] - p.price[i]) * frac);
    q.open = Round2(p.price[0]);
    q.high = q.low = q.price;
    for (std::size_t k = 0; k <= i; ++k) {
        q.high = std::max(q.high, Round2(p.price[k]));
        q.low = std::min(q.low, Round2(p.price[k]));
    }
    q.change = Round2((q.price - p.prevClose) / p.prevClose * 100.0);
    const double turnover = p.turnover[i] + (p.turnover[j] - p.turnover[i]) * frac;
    q.turnover = Round2(turnover);
    const double minutes = std::max(at.elapsed / 60.0, 1.0);
    q.volumeRatio = p.usualPerMinute > 0 ? Round2(turnover / minutes / p.usualPerMinute) : 0.0;

    const auto o = m_overrides.find(stock.key());
    if (o != m_overrides.end()) {
        const QuoteOverride& v = o->second;
        q.fixed = true;
        if (v.price)
            q.price = *v.price;
        if (v.change)
            q.change = *v.change;
        else if (v.price)
            q.change = Round2((q.price - p.prevClose) / p.prevClose * 100.0);
        if (v.change && !v.price)
            q.price = Round2(p.prevClose * (1 + *v.change / 100.0));
        if (v.volumeRatio)
            q.volumeRatio = *v.volumeRatio;
        if (v.turnover)
            q.turnover = *v.turnover;
        q.high = std::max(q.high, q.price);
        q.low = std::min(q.low, q.price);
    }
    return q;
}

std::optional<Quote> QuoteSimulator::quote(const std::string& key, std::time_t now)
{
    const StockInfo* stock = m_table.find(key);
    if (!stock)
        return std::nullopt;
    std::lock_guard<std::mutex> lock(m_mutex);
    return makeQuote(*stock, TradingMomentAt(now));
}

std::vector<Quote> QuoteSimulator::allQuotes(std::time_t now)
{
    const TradingMoment at = TradingMomentAt(now);
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Quote> out;
    out.reserve(m_table.all().size());
    for (const StockInfo& s : m_table.all())
        out.push_back(makeQuote(s, at));
    return out;
}

std::vector<double> QuoteSimulator::intraday(const std::string& key, std::time_t now)
{
    const StockInfo* stock = m_table.find(key);
    if (!stock)
        return {};
    const TradingMoment at = TradingMomentAt(now);
    std::lock_guard<std::mutex> lock(m_mutex);
    const DayPath& p = path(*stock, at.dateKey);
    std::vector<double> out;
    for (int m = 0; m <= at.elapsed / 60 && m <= kMinutes; ++m)
        out.push_back(Round2(p.price[static_cast<std::size_t>(m)]));
    const Quote q = makeQuote(*stock, at);
    if (out.empty() || out.back() != q.price)
        out.push_back(q.price);
    return out;
}

void QuoteSimulator::setOverride(const std::string& key, const QuoteOverride& values)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_overrides[key] = values;
}

bool QuoteSimulator::clearOverride(const std::string& key)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_overrides.erase(key) > 0;
}

void QuoteSimulator::clearOverrides()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_overrides.clear();
}
