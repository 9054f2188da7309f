#include "tools/replay/ReplayOptions.h"

#include <cstdio>

const char* const kReplayUsage =
    R"(Usage: meridex-replay [options] <program-folder> [quote-file]

Runs the MERIDEX alert engine (quote intake, alert rules, warning queue) without windows on
a stream of quote lines and prints every alert as "time  name  text".

  program-folder  folder with Set/Set.ini, Set/WarnSet.ini and Set/SelfStock.ini; the watch
                  list, the alert conditions and the notification switches come from there
                  (the files are only read)
  quote-file      quote lines "code|name|price|change %|volume ratio|turnover %", one per
                  line; "-" or none reads standard input. A line may start with "@HH:MM:SS "
                  to set the clock; lines starting with "#" are comments.

Options:
  --stats         print lines processed and alerts fired at the end
  --verbose       also log the calls to the page, the ticker and the tray icon
  --date DATE     the day being replayed, YYYY-MM-DD (default: today)
  --sound         play the alert sound on the default ALSA device
  --help          show this text

Exit status: 0 done, 1 bad usage, 2 program folder or settings folder missing,
3 quote input unreadable.
)";

std::optional<ReplayOptions> ParseReplayOptions(int argc, char** argv, std::string& error)
{
    ReplayOptions o;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--stats") {
            o.stats = true;
        } else if (arg == "--verbose" || arg == "-v") {
            o.verbose = true;
        } else if (arg == "--sound") {
            o.sound = true;
        } else if (arg == "--date") {
            int y, m, d;
            if (i + 1 >= argc || !ParseDate(argv[i + 1], y, m, d)) {
                error = "--date needs a date YYYY-MM-DD";
                return std::nullopt;
            }
            o.date = argv[++i];
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (positional == 0) {
            o.programFolder = arg;
            ++positional;
        } else if (positional == 1) {
            o.input = arg;
            ++positional;
        } else {
            error = "too many arguments";
            return std::nullopt;
        }
    }
    if (o.help)
        return o;
    if (o.programFolder.empty()) {
        error = "no program folder given";
        return std::nullopt;
    }
    if (o.input.empty())
        o.input = "-";
    return o;
}

namespace {

bool digits(const std::string& text, std::size_t from, std::size_t count, int& value)
{
    value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

bool ParseDate(const std::string& t, int& year, int& month, int& day)
{
    return t.size() == 10 && t[4] == '-' && t[7] == '-' && digits(t, 0, 4, year) &&
           digits(t, 5, 2, month) && digits(t, 8, 2, day) && month >= 1 && month <= 12 &&
           day >= 1 && day <= 31;
}

bool ParseClock(const std::string& t, int& hour, int& minute, int& second)
{
    return t.size() == 8 && t[2] == ':' && t[5] == ':' && digits(t, 0, 2, hour) &&
           digits(t, 3, 2, minute) && digits(t, 6, 2, second) && hour < 24 && minute < 60 &&
           second < 60;
}
