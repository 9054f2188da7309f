// meridex-replay: the client's alert engine on a stream of quote lines, without windows.
#include "client/alerts/MainFrameModel.h"
#include "client/alerts/PlatformAlertSound.h"
#include "tools/replay/ConsolePorts.h"
#include "tools/replay/ReplayOptions.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

namespace fs = std::filesystem;

namespace {

enum Exit
{
    kDone = 0,
    kUsage = 1,
    kNoFolder = 2,
    kUnreadable = 3,
};

struct Counts
{
    long lines = 0;
    long badClock = 0;
};

void warn(const std::string& text)
{
    std::fprintf(stderr, "meridex-replay: %s\n", text.c_str());
}

LocalTime startTime(const std::string& date)
{
    LocalTime t = SystemClock().Now();
    if (!date.empty())
        ParseDate(date, t.year, t.month, t.day);
    t.hour = 9;
    t.minute = 30;
    t.second = 0;
    return t;
}

// Hands every line to the engine; after each, the console "user" opens whatever waits behind
// the tray icon and closes the pop-ups again.
bool replay(std::istream& in, MainFrameModel& model, ReplayClock& clock, Counts& counts)
{
    std::string line;
    long number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '@') {
            LocalTime& t = clock.Time();
            if (!ParseClock(line.substr(1, 8), t.hour, t.minute, t.second)) {
                warn("line " + std::to_string(number) + ": not a time \"@HH:MM:SS\", skipped");
                ++counts.badClock;
                continue;
            }
            line.erase(0, 9);
            if (!line.empty() && line[0] == ' ')
                line.erase(0, 1);
            if (line.empty())
                continue;
        }
        ++counts.lines;
        model.RefreshSelfStockInfo(line);
        WarningQueue& warnings = model.Warnings();
        while (!warnings.lstWarningMsg().empty())
            warnings.OpenNextQueuedAlert();
        while (!warnings.lstWarningDlg().empty())
            warnings.ClosePopup(warnings.lstWarningDlg().front().nId);
    }
    return !in.bad();
}

int countEntries(const std::string& list)
{
    if (list.empty())
        return 0;
    int n = 1;
    for (char c : list)
        n += c == '|';
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    const auto options = ParseReplayOptions(argc, argv, error);
    if (!options) {
        warn(error);
        std::fprintf(stderr, "Try 'meridex-replay --help'.\n");
        return kUsage;
    }
    if (options->help) {
        std::fputs(kReplayUsage, stdout);
        return kDone;
    }

    std::error_code ec;
    const fs::path folder = fs::absolute(options->programFolder, ec);
    if (!fs::is_directory(folder, ec)) {
        warn("program folder not found: " + options->programFolder);
        return kNoFolder;
    }
    if (!fs::is_directory(folder / "Set", ec)) {
        warn("no settings folder Set/ in " + options->programFolder);
        return kNoFolder;
    }
    const SettingsPaths paths{(folder / "Set/Set.ini").string(),
                              (folder / "Set/WarnSet.ini").string(),
                              (folder / "Set/SelfStock.ini").string()};
    for (const auto& file : {paths.setIni, paths.warnSetIni, paths.selfStockIni})
        if (!fs::exists(file, ec))
            warn("note: " + file + " is missing; its defaults apply");

    std::ifstream file;
    std::istream* in = &std::cin;
    if (options->input != "-") {
        if (fs::is_directory(options->input, ec)) {
            warn("cannot read quote input " + options->input + ": it is a folder");
            return kUnreadable;
        }
        file.open(options->input, std::ios::binary);
        if (!file) {
            warn("cannot read quote input " + options->input + ": " + std::strerror(errno));
            return kUnreadable;
        }
        in = &file;
    }

    ConsoleFrame console(stdout, options->verbose);
    std::unique_ptr<PlatformAlertSound> speaker;
    if (options->sound)
        speaker = std::make_unique<PlatformAlertSound>();
    IAlertSound& sound = speaker ? static_cast<IAlertSound&>(*speaker) : console;
    ReplayClock clock;
    clock.Set(startTime(options->date));

    MainFrameModel model(paths,
                         {console, console, console, console, console, console, sound, clock});
    model.LoadNotificationSettings(folder.string());
    model.LoadSelfStocks();
    if (model.SelfStocks().empty())
        warn("note: the watch list is empty, so every quote line is dropped");

    if (options->stats)
        std::printf(
            "watch list: %d entries; alerts %s, sound %s\n--\n", countEntries(model.SelfStocks()),
            model.Warnings().IconCheck() == 1 ? "queued behind the tray icon" : "shown at once",
            model.SoundCheck() == 1 && !model.Warnings().SoundPath().empty()
                ? (options->sound ? "played" : "on (--sound plays it)")
                : "off");

    Counts counts;
    const bool readAll = replay(*in, model, clock, counts);
    if (speaker) {
        speaker->Player().WaitUntilIdle();
        if (speaker->Player().LastResult() == PlaybackResult::DeviceUnavailable)
            warn("note: no sound device could be opened, so the alerts stayed silent");
    }
    std::fflush(stdout);
    if (options->stats) {
        std::printf("--\n");
        std::printf("lines processed: %ld (%ld quotes taken, %ld dropped)\n", counts.lines,
                    console.QuotesTaken(), counts.lines - console.QuotesTaken());
        std::printf("alerts fired:    %d\n", console.AlertsShown());
        std::printf("stocks quoted:   %zu of %d watch-list entries\n", model.lstSelfStocks().size(),
                    countEntries(model.SelfStocks()));
        if (counts.badClock)
            std::printf("bad clock lines: %ld\n", counts.badClock);
    }
    if (!readAll) {
        warn("reading the quote input failed after " + std::to_string(counts.lines) + " lines");
        return kUnreadable;
    }
    return kDone;
}
