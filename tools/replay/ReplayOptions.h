#pragma once

#include <optional>
#include <string>

struct ReplayOptions
{
    std::string programFolder;
    std::string input; // "-" for standard input
    bool stats = false;
    bool verbose = false;
    bool sound = false;
    bool help = false;
    std::string date; // YYYY-MM-DD; empty: today
};

// The options, or none with `error` set.
std::optional<ReplayOptions> ParseReplayOptions(int argc, char** argv, std::string& error);

extern const char* const kReplayUsage;

// Parses "YYYY-MM-DD" / "HH:MM:SS"; false when the text is not one.
bool ParseDate(const std::string& text, int& year, int& month, int& day);
bool ParseClock(const std::string& text, int& hour, int& minute, int& second);
