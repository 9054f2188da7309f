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
    m_watchedCache.clear();
}

CenterData::SelfStocksInfo* MainFrameModel::FindByCode(const std::string& code)
{
    const auto it = m_byCode.find(code);
    return it == m_byCode.end() ? nullptr : it->second;
}

CenterData::SelfStocksInfo* MainFrameModel::FindByName(const std::string& name)
{
    for (auto& stock : m_lstSelfStocks)
        if (stock->strName == name)
            return stock.get();
    return nullptr;
}

bool MainFrameModel::watched(std::string_view code)
{
    // Bounded, so a stream of unknown codes cannot grow it without end.
    if (m_watchedCache.size() > 4096)
        m_watchedCache.clear();
    const auto [it, added] = m_watchedCache.try_emplace(std::string(code), false);
    if (added)
        it->second = m_strSelfStocks.find(code) != std::string::npos;
    return it->second;
}

void MainFrameModel::storeAndReload()
{
    Ini::WriteString(m_paths.selfStockIni, kSelfStockSection, kSelfStockKey, m_strSelfStocks);
    m_ports.page.ReloadSelfStocks(m_strSelfStocks);
}
