#include "service/QuoteSimulator.h"
#include "service/ServiceClock.h"
#include "service/StockTable.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const StockTable& Table()
{
    static StockTable table = [] {
        StockTable t;
        std::string error;
        t.load(std::string(MERIDEX_SOURCE_DIR_TEXT) + "/service/data/stocks.csv", error);
        return t;
    }();
    return table;
}

// A watch list's quotes on a warm day: what every refresh of the watch-list page costs.
void BM_WatchListQuotes(benchmark::State& state)
{
    QuoteSimulator sim(Table(), 1);
    const std::time_t t = FromChinaTime(2026, 12, 10, 10, 30, 0);
    const char* keys[] = {"600000", "000001", "300750", "688981", "i000001", "i399001"};
    for (const char* k : keys)
        sim.quote(k, t);
    for (auto _ : state)
        for (const char* k : keys)
            benchmark::DoNotOptimize(sim.quote(k, t));
}
BENCHMARK(BM_WatchListQuotes);

// Every stock at once, as a ranking request needs; the first call of a day builds the paths.
void BM_AllQuotes(benchmark::State& state)
{
    QuoteSimulator sim(Table(), 1);
    const std::time_t t = FromChinaTime(2026, 12, 10, 14, 0, 0);
    sim.allQuotes(t);
    for (auto _ : state)
        benchmark::DoNotOptimize(sim.allQuotes(t));
}
BENCHMARK(BM_AllQuotes)->Unit(benchmark::kMillisecond);

void BM_FirstQuotesOfADay(benchmark::State& state)
{
    int day = 1;
    for (auto _ : state) {
        QuoteSimulator sim(Table(), static_cast<std::uint64_t>(day++));
        benchmark::DoNotOptimize(sim.allQuotes(FromChinaTime(2026, 12, 10, 14, 0, 0)));
    }
}
BENCHMARK(BM_FirstQuotesOfADay)->Unit(benchmark::kMillisecond);

// The client's prefix search against the database the service builds.
void BM_PrefixSearch(benchmark::State& state)
{
    const std::string path = "/tmp/meridex-bench-" + std::to_string(::getpid()) + ".db";
    std::string error;
    BuildStockDatabase(Table(), path, error);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    const char* sql = "SELECT codename FROM stockname where spell like 'ZG%' or code like 'ZG%' or "
                      "name like 'ZG%'";
    for (auto _ : state) {
        int rows = 0;
        sqlite3_exec(
            db, sql,
            [](void* n, int, char**, char**) {
                ++*static_cast<int*>(n);
                return 0;
            },
            &rows, nullptr);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_close(db);
    std::remove(path.c_str());
}
BENCHMARK(BM_PrefixSearch);

} // namespace

BENCHMARK_MAIN();
