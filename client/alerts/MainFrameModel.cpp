#include "client/alerts/MainFrameModel.h"

#include "client/model/IniFile.h"
#include "client/model/WatchList.h"

#include <algorithm>

namespace {

const char kSelfStockSection[] = "SelfStock";
const char kSelfStockKey[] = "num";

} // namespace

MainFrameModel::MainFrameModel(const SettingsPaths& paths, const MainFramePorts& ports)
    : m_paths(paths), m_ports(ports), m_warnings(ports.popups, ports.tray, ports.sound)
{
}

void MainFrameModel::LoadNotificationSettings(const std::string& programFolder)
{
    m_warnings.SetIconCheck(Ini::ReadInt(m_paths.setIni, "WarnSet", "bIconCheck", 1));
    m_bSoundCheck = Ini::ReadInt(m_paths.setIni, "WarnSet", "bSoundCheck", 1);
    const std::string nSound = Ini::ReadString(m_paths.setIni, "WarnSet", "nSound", "", 255);
    std::string tail =
        nSound.empty() ? std::string() : Ini::ReadString(m_paths.setIni, "SoundPath", nSound, "");
    // Installations made for Windows write the tail with backslashes.
    std::replace(tail.begin(), tail.end(), '\\', '/');
    m_warnings.SetSoundPath(tail.empty() ? std::string() : programFolder + tail);
}

void MainFrameModel::LoadSelfStocks()
{
    SetSelfStocks(Ini::ReadString(m_paths.selfStockIni, kSelfStockSection, kSelfStockKey, "",
                                  WatchList::kCapacity));
}

void MainFrameModel::SetSelfStocks(const std::string& list)
{
    m_strSelfStocks = list;
    for (auto it = m_codes.begin(); it != m_codes.end();) {
        if (it->second.record) {
            it->second.watched = -1;
            ++it;
        } else {
            it = m_codes.erase(it);
        }
    }
}

CenterData::SelfStocksInfo* MainFrameModel::FindByCode(const std::string& code)
{
    const auto it = m_codes.find(code);
    return it == m_codes.end() ? nullptr : it->second.record;
}

CenterData::SelfStocksInfo* MainFrameModel::FindByName(const std::string& name)
{
    for (auto& stock : m_lstSelfStocks)
        if (stock->strName == name)
            return stock.get();
    return nullptr;
}

MainFrameModel::CodeSlot* MainFrameModel::acceptedSlot(std::string_view code)
{
    auto it = m_codes.find(std::string(code));
    if (it == m_codes.end()) {
        // Bounded, so a stream of unknown codes cannot grow the table without end.
        if (m_codes.size() > 4096)
            SetSelfStocks(std::string(m_strSelfStocks));
        it = m_codes.emplace(std::string(code), CodeSlot{}).first;
    }
    CodeSlot& slot = it->second;
    if (slot.watched < 0)
        slot.watched = m_strSelfStocks.find(code) != std::string::npos ? 1 : 0;
    return slot.watched ? &slot : nullptr;
}

void MainFrameModel::storeAndReload()
{
    Ini::WriteString(m_paths.selfStockIni, kSelfStockSection, kSelfStockKey, m_strSelfStocks);
    m_ports.page.ReloadSelfStocks(m_strSelfStocks);
}
