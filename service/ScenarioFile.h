#pragma once

#include "service/QuoteSimulator.h"

#include <ctime>
#include <mutex>
#include <string>
#include <vector>

// Timed quote changes replayed from a text file, one step a line:
//   <when> <code> <price> <change> <volumeratio> <turnover>   ("-" leaves a value simulated)
//   <when> <code> clear                                        (<code> "all" clears every code)
// <when> is "+SECONDS" after the start of the service, or a China time "HH:MM[:SS]" today.
// Blank lines and lines starting with "#" are ignored.
class ScenarioFile
{
public:
    // False with `error` naming the first bad line.
    bool load(const std::string& path, std::time_t start, std::string& error);
    bool parse(const std::string& text, std::time_t start, std::string& error);

    // Applies every step whose time has come and that was not applied yet.
    void applyDue(std::time_t now, QuoteSimulator& simulator);

    std::size_t size() const { return m_steps.size(); }

private:
    struct Step
    {
        std::time_t at = 0;
        std::string key;
        bool clear = false;
        QuoteOverride values;
    };

    std::vector<Step> m_steps; // ordered by time
    std::size_t m_next = 0;
    std::mutex m_mutex;
};
