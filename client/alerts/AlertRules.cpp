#include "client/alerts/AlertRules.h"

#include "client/alerts/AlertRecords.h"
#include "client/model/DecimalText.h"

#include <cstdio>
#include <string_view>

namespace {

bool startsWith(const std::string& text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// Volume-ratio choices 0 to 5. Choices 4 and 5 compare with 64-bit constants, so a ratio of
// exactly 0.4 (or 0.3) as a 32-bit float lies just above and does not fire.
bool volumeRatioMet(int choice, float ratio)
{
    switch (choice) {
    case 0:
        return ratio >= 2.0f;
    case 1:
        return ratio >= 3.0f;
    case 2:
        return ratio >= 5.0f;
    case 3:
        return ratio <= 0.5f;
    case 4:
        return static_cast<double>(ratio) <= 0.4;
    case 5:
        return static_cast<double>(ratio) <= 0.3;
    default:
        return false;
    }
}

} // namespace

PriceLimitBoard BoardOfCode(const std::string& code)
{
    if (startsWith(code, "i"))
        return PriceLimitBoard::Index;
    if (startsWith(code, "300") || startsWith(code, "301") || startsWith(code, "688") ||
        startsWith(code, "689"))
        return PriceLimitBoard::Growth;
    if (startsWith(code, "4") || startsWith(code, "8") || startsWith(code, "92"))
        return PriceLimitBoard::Beijing;
    return PriceLimitBoard::Main;
}

std::optional<std::string> LimitRuleText(const std::string& code, const std::string& name,
                                         float fChange)
{
    const double change = fChange;
    switch (BoardOfCode(code)) {
    case PriceLimitBoard::Main: {
        // 64-bit limits: +9.80 as a 32-bit float lies just above 9.8 and fires.
        const double limit = name.find("ST") != std::string::npos ? 4.9 : 9.8;
        if (change >= limit)
            return std::string("涨停");
        if (change <= -limit)
            return std::string("跌停");
        break;
    }
    case PriceLimitBoard::Growth:
    case PriceLimitBoard::Beijing: {
        // 32-bit limits, so a change received as exactly 19.60 or 29.40 fires as 9.80 does
        // on the main board (29.4 as a 64-bit constant lies above 29.40 as a 32-bit float).
        const float limit = BoardOfCode(code) == PriceLimitBoard::Growth ? 19.6f : 29.4f;
        if (fChange >= limit)
            return std::string("涨停");
        if (fChange <= -limit)
            return std::string("跌停");
        break;
    }
    case PriceLimitBoard::Index:
        break;
    }
    if (fChange >= 5.0f)
        return std::string("涨幅达到：5%");
    if (fChange <= -5.0f)
        return std::string("跌幅达到：-5%");
    return std::nullopt;
}

std::optional<std::string> FirstAlertText(const CenterData::SelfStocksInfo& s)
{
    if (!s.strPercent.empty() && s.fChange >= DecimalToFloat(s.strPercent))
        return "涨跌幅达到：" + s.strChange;
    if (!s.strHigh.empty() && s.fPrice >= DecimalToFloat(s.strHigh))
        return "价格达到：" + s.strPrice;
    if (!s.strLow.empty() && s.fPrice <= DecimalToFloat(s.strLow))
        return "价格达到：" + s.strPrice;
    if (!s.strCrossoverate.empty() && s.fTurnover >= DecimalToFloat(s.strCrossoverate))
        return "换手率达到：" + s.strTurnover;
    if (volumeRatioMet(s.nVolumeRatio, s.fVolumeRatio))
        return "量比达到：" + s.strVolumeRatio;
    return LimitRuleText(s.strCode, s.strName, s.fChange);
}

std::string FormatAlertTime(const LocalTime& t)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4d-%02d-%02d   %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return buf;
}
