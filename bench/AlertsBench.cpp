// Quote intake and alert evaluation with a full watch list: 290 entries, a record each,
// alert conditions on every second one. One iteration is one whole refresh of the page.
#include "client/alerts/MainFrameModel.h"
#include "client/alerts/SilentFrame.h"
#include "client/model/IniFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kEntries = 290;

struct FullWatchList
{
    FullWatchList()
    {
        char tmpl[] = "/tmp/meridex-bench-XXXXXX";
        if (::mkdtemp(tmpl) == nullptr)
            std::abort();
        dir = tmpl;
        paths = {dir + "/Set.ini", dir + "/WarnSet.ini", dir + "/SelfStock.ini"};
        std::string list;
        for (int i = 0; i < kEntries; ++i) {
            // Main board, ChiNext, STAR and a few indexes, as a real list mixes them.
            const int board = i % 10;
            const std::string code = i < 3       ? "i39900" + std::to_string(i)
                                     : board < 6 ? std::to_string(600000 + i)
                                     : board < 8 ? std::to_string(300000 + i)
                                                 : std::to_string(688000 + i);
            codes.push_back(code);
            names.push_back("股票" + std::to_string(i));
            list += (i ? "|" : "") + code;
        }
        // Conditions that stay unmet, so every refresh runs every check of these stocks.
        for (int i = 0; i < kEntries; i += 2) {
            Ini::WriteString(paths.warnSetIni, names[i], "Percent", "8.5");
            Ini::WriteString(paths.warnSetIni, names[i], "High", "99999");
            Ini::WriteString(paths.warnSetIni, names[i], "Low", "0.01");
            Ini::WriteString(paths.warnSetIni, names[i], "Crossoverate", "60");
            Ini::WriteString(paths.warnSetIni, names[i], "VolumeRatio", "1");
        }
        watchList = list;
        // Four refreshes with moving prices, all within 4 %: no rule fires.
        for (int r = 0; r < 4; ++r) {
            std::vector<std::string> lines;
            for (int i = 0; i < kEntries; ++i) {
                char buf[160];
                const double change = ((i * 7 + r * 13) % 800) / 100.0 - 4.0;
                std::snprintf(buf, sizeof buf, "%s|%s|%.2f|%.2f|%.2f|%.2f", codes[i].c_str(),
                              names[i].c_str(), 10.0 * (1 + change / 100), change,
                              0.6 + (i % 20) / 10.0, (i % 50) / 10.0);
                lines.push_back(buf);
            }
            refreshes.push_back(lines);
        }
    }
    ~FullWatchList()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    std::string dir;
    SettingsPaths paths;
    std::vector<std::string> codes, names;
    std::string watchList;
    std::vector<std::vector<std::string>> refreshes;
};

void BM_WholeRefresh(benchmark::State& state)
{
    FullWatchList data;
    SilentFrame frame;
    MainFrameModel model(data.paths, frame.Ports());
    model.SetSelfStocks(data.watchList);
    for (const auto& line : data.refreshes[0]) // creates the records, reading WarnSet.ini
        model.RefreshSelfStockInfo(line);
    if (model.lstSelfStocks().size() != kEntries)
        state.SkipWithError("not every entry got a record");
    std::size_t r = 1;
    for (auto _ : state) {
        for (const auto& line : data.refreshes[r])
            model.RefreshSelfStockInfo(line);
        r = (r + 1) % data.refreshes.size();
    }
    if (!model.Warnings().lstWarningDlg().empty())
        state.SkipWithError("an alert fired; the refreshes should stay quiet");
    state.SetItemsProcessed(state.iterations() * kEntries);
    state.SetLabel("items = quote lines");
}
BENCHMARK(BM_WholeRefresh)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
