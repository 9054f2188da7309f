// Feeds arbitrary quote lines to the intake and the alert rules of a small watch list.
#include "client/alerts/MainFrameModel.h"
#include "client/alerts/SilentFrame.h"
#include "client/model/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>

namespace {

// One settings folder for the whole run, with conditions for two of the stocks; removed at
// exit.
struct Settings
{
    Settings()
    {
        char tmpl[] = "/tmp/meridex-fuzz-intake-XXXXXX";
        if (::mkdtemp(tmpl) == nullptr)
            std::abort();
        dir = tmpl;
        paths = {dir + "/Set.ini", dir + "/WarnSet.ini", dir + "/SelfStock.ini"};
        Ini::WriteString(paths.warnSetIni, "浦发银行", "High", "10.5");
        Ini::WriteString(paths.warnSetIni, "浦发银行", "VolumeRatio", "4");
        Ini::WriteString(paths.warnSetIni, "*ST国华", "Percent", "abc");
        Ini::WriteString(paths.warnSetIni, "*ST国华", "Low", "1e40");
    }
    ~Settings()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string dir;
    SettingsPaths paths;
};

const SettingsPaths& settings()
{
    static const Settings s;
    return s.paths;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SilentFrame frame;
    MainFrameModel model(settings(), frame.Ports());
    model.SetSelfStocks("600000|i000001|300750|000004|430047|688981");
    // The first byte picks the notification mode and the sound switch.
    model.Warnings().SetIconCheck(size > 0 && (data[0] & 1));
    model.SetSoundCheck(size > 0 && (data[0] & 2) ? 1 : 0);
    model.Warnings().SetSoundPath("/dev/null");

    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t from = 0;
    while (from <= input.size()) {
        std::size_t end = input.find('\n', from);
        if (end == std::string::npos)
            end = input.size();
        model.RefreshSelfStockInfo(input.substr(from, end - from));
        from = end + 1;
    }

    // One record per code, each code accepted by the watch list, trend matching the change.
    std::set<std::string> codes;
    for (const auto& stock : model.lstSelfStocks()) {
        if (!codes.insert(stock->strCode).second || stock->strCode.empty() ||
            model.SelfStocks().find(stock->strCode) == std::string::npos ||
            stock->nTrend != (stock->fChange > 0    ? 2
                              : stock->fChange == 0 ? 1
                                                    : 0) ||
            model.FindByCode(stock->strCode) != stock.get())
            __builtin_trap();
    }
    while (!model.Warnings().lstWarningMsg().empty())
        model.Warnings().OpenNextQueuedAlert();
    return 0;
}
