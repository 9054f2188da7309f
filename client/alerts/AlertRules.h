#pragma once

#include "client/alerts/AlertPorts.h"

#include <optional>
#include <string>

namespace CenterData {
struct SelfStocksInfo;
}

// How far a stock may move in one day decides where the built-in limit rule announces it.
enum class PriceLimitBoard
{
    Main,    // 10 %, special treatment 5 %
    Growth,  // ChiNext and STAR: 20 %, special treatment included
    Beijing, // 30 %
    Index,   // no limit
};

PriceLimitBoard BoardOfCode(const std::string& code);

// The text of the first rule the record meets, in the order Percent, High, Low, Crossoverate,
// VolumeRatio, limit rule; none when no rule is met. Quiet state is not looked at here.
std::optional<std::string> FirstAlertText(const CenterData::SelfStocksInfo& stock);

// The limit rule alone.
std::optional<std::string> LimitRuleText(const std::string& code, const std::string& name,
                                         float fChange);

// "%4d-%02d-%02d   %02d:%02d"
std::string FormatAlertTime(const LocalTime& t);
