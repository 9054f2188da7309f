// Quote intake and the alert rules of the records.
#include "client/alerts/MainFrameModel.h"

#include "client/alerts/AlertRules.h"
#include "client/model/DecimalText.h"
#include "client/model/IniFile.h"

#include <array>

namespace {

constexpr int kQuietStep = 10;     // one refresh, about ten seconds
constexpr int kQuietLimit = 28800; // eight hours of refreshes

constexpr int kStateNoConditions = 0;
constexpr int kStateHasConditions = 1;
constexpr int kStateAlerted = 2;

// The six fields of a quote line; anything after a sixth "|" is ignored. False when the line
// has fewer than six fields.
bool splitQuoteLine(std::string_view line, std::array<std::string_view, 6>& fields)
{
    std::size_t from = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t bar = line.find('|', from);
        if (bar == std::string_view::npos) {
            if (i + 1 < fields.size())
                return false;
            fields[i] = line.substr(from);
        } else {
            fields[i] = line.substr(from, bar - from);
        }
        from = bar + 1;
    }
    return true;
}

int trendOf(float change)
{
    return change > 0 ? 2 : change == 0 ? 1 : 0;
}

void takeQuote(CenterData::SelfStocksInfo& s, const std::array<std::string_view, 6>& f)
{
    s.strPrice.assign(f[2]);
    s.fPrice = DecimalToFloat(f[2]);
    s.strChange.assign(f[3]).append("%");
    s.fChange = DecimalToFloat(f[3]);
    s.strTurnover.assign(f[5]).append("%");
    s.fTurnover = DecimalToFloat(f[5]);
    s.strVolumeRatio.assign(f[4]);
    s.fVolumeRatio = DecimalToFloat(f[4]);
    s.nTrend = trendOf(s.fChange);
}

bool hasConditions(const CenterData::SelfStocksInfo& s)
{
    return !s.strPercent.empty() || !s.strHigh.empty() || !s.strLow.empty() ||
           !s.strCrossoverate.empty() || s.nVolumeRatio != -1;
}

} // namespace

void MainFrameModel::RefreshSelfStockInfo(std::string line)
{
    std::array<std::string_view, 6> f;
    // Lines without all six fields or without a code are not quotes: dropped.
    if (!splitQuoteLine(line, f) || f[0].empty())
        return;
    CodeSlot* slot = acceptedSlot(f[0]);
    if (!slot)
        return;

    if (CenterData::SelfStocksInfo* stock = slot->record) {
        takeQuote(*stock, f);
        m_ports.ticker.UpdateTickerStock(stock->strCode, stock->nTrend, stock->strPrice,
                                         stock->strChange);
        EvaluateAlerts(*stock);
        return;
    }

    const std::string code(f[0]);
    auto created = std::make_unique<CenterData::SelfStocksInfo>();
    CenterData::SelfStocksInfo& stock = *created;
    stock.strName.assign(f[1]);
    stock.strCode = code;
    takeQuote(stock, f);
    readConditions(stock);
    if (hasConditions(stock))
        m_ports.page.ChangeAlertState(code, kStateHasConditions);
    stock.bAlerted = 0;
    slot->record = &stock;
    m_lstSelfStocks.push_back(std::move(created));
    // The first quote of a stock only sets it up; evaluation starts with the second.
    m_ports.ticker.AddTickerStock(code, stock.strName, stock.nTrend, stock.strPrice,
                                  stock.strChange);
}

void MainFrameModel::readConditions(CenterData::SelfStocksInfo& s)
{
    const std::string& path = m_paths.warnSetIni;
    s.strPercent = Ini::ReadString(path, s.strName, "Percent", "", 255);
    s.strHigh = Ini::ReadString(path, s.strName, "High", "", 255);
    s.strLow = Ini::ReadString(path, s.strName, "Low", "", 255);
    s.strCrossoverate = Ini::ReadString(path, s.strName, "Crossoverate", "", 255);
    s.nVolumeRatio = Ini::ReadInt(path, s.strName, "VolumeRatio", -1);
}

void MainFrameModel::EvaluateAlerts(CenterData::SelfStocksInfo& stock)
{
    if (stock.bAlerted == 1) {
        stock.nQuiet += kQuietStep;
        if (stock.nQuiet < kQuietLimit)
            return;
        stock.bAlerted = 0;
        stock.nQuiet = 0;
    }
    auto text = FirstAlertText(stock);
    if (!text)
        return;
    WarningMsgInfo msg;
    msg.strName = stock.strName;
    msg.strText = std::move(*text);
    msg.strTime = FormatAlertTime(m_ports.clock.Now());
    m_warnings.DeliverAlert(std::move(msg));
    if (m_bSoundCheck == 1)
        m_warnings.PlayAlertSound();
    stock.bAlerted = 1;
    stock.nQuiet = 0;
    m_ports.page.ChangeAlertState(stock.strCode, kStateAlerted);
}

void MainFrameModel::UpdateConditions(const std::string& name)
{
    CenterData::SelfStocksInfo* stock = FindByName(name);
    if (!stock)
        return;
    CenterData::SelfStocksInfo fresh;
    fresh.strName = name;
    readConditions(fresh);
    bool changed = false;
    auto take = [&](auto& field, const auto& value) {
        if (field == value)
            return;
        field = value;
        stock->bAlerted = 0;
        if (!changed)
            m_ports.page.ChangeAlertState(stock->strCode, kStateHasConditions);
        changed = true;
    };
    take(stock->strPercent, fresh.strPercent);
    take(stock->strHigh, fresh.strHigh);
    take(stock->strLow, fresh.strLow);
    take(stock->strCrossoverate, fresh.strCrossoverate);
    take(stock->nVolumeRatio, fresh.nVolumeRatio);
    if (!hasConditions(*stock))
        ClearConditions(name);
}

void MainFrameModel::ClearConditions(const std::string& name)
{
    for (auto& stock : m_lstSelfStocks) {
        if (stock->strName != name)
            continue;
        Ini::DeleteSection(m_paths.warnSetIni, name);
        stock->bAlerted = 0;
        stock->strPercent.clear();
        stock->strHigh.clear();
        stock->strLow.clear();
        stock->strCrossoverate.clear();
        stock->nVolumeRatio = -1;
        m_ports.page.ChangeAlertState(stock->strCode, kStateNoConditions);
    }
}
