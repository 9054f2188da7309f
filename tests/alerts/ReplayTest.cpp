// The replay tool as a user runs it: exit codes, errors and the clock lines.
#include "tests/model/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

struct ReplayRun
{
    int status;
    std::string out;
};

ReplayRun run(const std::string& args, const std::string& stdinText = "")
{
    TempFolder tmp;
    const std::string input = tmp.file("stdin");
    std::ofstream(input) << stdinText;
    const std::string cmd = std::string(MERIDEX_REPLAY) + " " + args + " < " + input + " 2>&1";
    ReplayRun r{-1, {}};
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    const int status = ::pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

} // namespace

TEST(Replay, ExitCodesAndErrors)
{
    struct Case
    {
        std::string args;
        int status;
        std::string says;
    };
    const std::string sample = MERIDEX_SAMPLE;
    TempFolder noSettings;
    const Case cases[] = {
        {"--help", 0, "Usage: meridex-replay"},
        {"", 1, "no program folder given"},
        {"--bogus " + sample, 1, "unknown option --bogus"},
        {"--date 2026-13-01 " + sample, 1, "--date needs a date"},
        {sample + " a b", 1, "too many arguments"},
        {"/nonexistent/meridex", 2, "program folder not found: /nonexistent/meridex"},
        {noSettings.path(), 2, "no settings folder Set/"},
        {sample + " /nonexistent/day.txt", 3, "cannot read quote input /nonexistent/day.txt"},
        {sample + " " + sample, 3, "it is a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const ReplayRun r = run(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
    }
}

TEST(Replay, ReadsStandardInputAndSetsTheClock)
{
    const std::string lines = "@09:31:00\n"
                              "600000|浦发银行|10.20|0.10|1.00|0.10\r\n"
                              "@25:00:00 600000|浦发银行|10.20|0.10|1.00|0.10\n"
                              "@14:56:30 600000|浦发银行|11.22|10.00|1.00|0.90\n";
    const ReplayRun r =
        run("--stats --date 2026-03-09 " + std::string(MERIDEX_SAMPLE) + " -", lines);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("2026-03-09   14:56  浦发银行  涨停"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("line 3: not a time"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("lines processed: 2 (2 quotes taken, 0 dropped)"), std::string::npos);
    EXPECT_NE(r.out.find("alerts fired:    1"), std::string::npos);
}

TEST(Replay, AFolderWithoutSettingsFilesRunsOnDefaults)
{
    TempFolder dir;
    std::filesystem::create_directory(dir.file("Set"));
    const ReplayRun r = run("--stats " + dir.path(), "600000|浦发银行|10.20|0.10|1.00|0.10\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("the watch list is empty"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("(0 quotes taken, 1 dropped)"), std::string::npos) << r.out;
}
