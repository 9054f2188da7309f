#pragma once

#include <ctime>
#include <mutex>
#include <string>

// Broken-down China Standard Time (UTC+8, no daylight saving).
struct ChinaTime
{
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int weekday = 4; // 0 Sunday
    int dateKey() const { return year * 10000 + month * 100 + day; }
};

ChinaTime ToChinaTime(std::time_t t);
// Seconds since the epoch of a China wall-clock time.
std::time_t FromChinaTime(int year, int month, int day, int hour, int minute, int second);
std::string FormatChinaTime(std::time_t t); // "YYYY-MM-DD HH:MM:SS"

// The service's notion of now. Real time by default; a demo may shift it to another time of
// day (it keeps running from there), and tests may freeze it at an exact instant.
class ServiceClock
{
public:
    std::time_t now() const;
    // Runs on from the given instant.
    void startAt(std::time_t t);
    // Stands still at the given instant until released.
    void freezeAt(std::time_t t);
    void release();
    bool frozen() const;

    // "HH:MM[:SS]" (today, China time) or "YYYY-MM-DD HH:MM[:SS]" / "YYYY-MM-DDTHH:MM[:SS]".
    static bool parse(const std::string& text, std::time_t today, std::time_t& out);

private:
    mutable std::mutex m_mutex;
    std::time_t m_offset = 0;
    bool m_frozen = false;
    std::time_t m_frozenAt = 0;
};
