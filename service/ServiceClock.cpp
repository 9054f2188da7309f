#include "service/ServiceClock.h"

#include <cstdio>

namespace {

constexpr std::time_t kChinaOffset = 8 * 3600;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

ChinaTime ToChinaTime(std::time_t t)
{
    const std::time_t local = t + kChinaOffset;
    std::tm tm{};
    gmtime_r(&local, &tm);
    ChinaTime c;
    c.year = tm.tm_year + 1900;
    c.month = tm.tm_mon + 1;
    c.day = tm.tm_mday;
    c.hour = tm.tm_hour;
    c.minute = tm.tm_min;
    c.second = tm.tm_sec;
    c.weekday = tm.tm_wday;
    return c;
}

std::time_t FromChinaTime(int year, int month, int day, int hour, int minute, int second)
{
    return static_cast<std::time_t>(DaysFromCivil(year, month, day)) * 86400 + hour * 3600 +
           minute * 60 + second - kChinaOffset;
}

std::string FormatChinaTime(std::time_t t)
{
    const ChinaTime c = ToChinaTime(t);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                  c.minute, c.second);
    return buf;
}

std::time_t ServiceClock::now() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_frozen)
        return m_frozenAt;
    return std::time(nullptr) + m_offset;
}

void ServiceClock::startAt(std::time_t t)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_frozen = false;
    m_offset = t - std::time(nullptr);
}

void ServiceClock::freezeAt(std::time_t t)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_frozen = true;
    m_frozenAt = t;
}

void ServiceClock::release()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_frozen)
        m_offset = m_frozenAt - std::time(nullptr);
    m_frozen = false;
}

bool ServiceClock::frozen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frozen;
}

bool ServiceClock::parse(const std::string& text, std::time_t today, std::time_t& out)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    int used = -1;
    const char* p = text.c_str();
    const int len = static_cast<int>(text.size());
    // Each form must take the whole text.
    auto whole = [&](int n, int fields) { return n == fields && used == len; };
    char sep = 0;
    if (used = -1,
        whole(std::sscanf(p, "%4d-%2d-%2d%c%2d:%2d:%2d%n", &y, &mo, &d, &sep, &h, &mi, &s, &used),
              7) ||
            (s = 0, used = -1,
             whole(std::sscanf(p, "%4d-%2d-%2d%c%2d:%2d%n", &y, &mo, &d, &sep, &h, &mi, &used),
                   6))) {
        if (sep != ' ' && sep != 'T')
            return false;
    } else {
        const ChinaTime c = ToChinaTime(today);
        y = c.year;
        mo = c.month;
        d = c.day;
        s = 0;
        used = -1;
        if (!whole(std::sscanf(p, "%2d:%2d:%2d%n", &h, &mi, &s, &used), 3)) {
            s = 0;
            used = -1;
            if (!whole(std::sscanf(p, "%2d:%2d%n", &h, &mi, &used), 2))
                return false;
        }
    }
    if (y < 1990 || y > 2200 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 ||
        mi > 59 || s < 0 || s > 59)
        return false;
    out = FromChinaTime(y, mo, d, h, mi, s);
    return true;
}
