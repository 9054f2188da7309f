#pragma once

#include "client/alerts/AlertRecords.h"
#include "client/alerts/WarningQueue.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Full paths of the three settings files, built by the caller from the program folder.
struct SettingsPaths
{
    std::string setIni;
    std::string warnSetIni;
    std::string selfStockIni;
};

// The model state of the main frame: the watch list, the stock records with their alert
// conditions and the warning queue, with the operations on them. No windows: everything
// outside goes through the ports. User-interface thread only.
class MainFrameModel
{
public:
    MainFrameModel(const SettingsPaths& paths, const MainFramePorts& ports);
    MainFrameModel(const MainFrameModel&) = delete;
    MainFrameModel& operator=(const MainFrameModel&) = delete;

    // Start-up settings: notification switches (missing keys count as on) and the sound
    // path, the program folder followed by the file named for the chosen sound.
    void LoadNotificationSettings(const std::string& programFolder);
    // The watch-list text from SelfStock.ini.
    void LoadSelfStocks();

    // Watch list. AddStarToSelfStock: 1 when an added or duplicate message was shown.
    int AddStarToSelfStock(const std::string& text);
    void DeleteSelfStock(const std::string& code);
    int RemoveFromWatchList(const std::string& text);

    // One quote line "code|name|price|change|volume ratio|turnover".
    void RefreshSelfStockInfo(std::string line);

    // Alert rules of one record, after an update of it.
    void EvaluateAlerts(CenterData::SelfStocksInfo& stock);
    // The alert settings of the stock with that name were saved or cleared.
    void UpdateConditions(const std::string& name);
    void ClearConditions(const std::string& name);

    CenterData::SelfStocksInfo* FindByCode(const std::string& code);
    CenterData::SelfStocksInfo* FindByName(const std::string& name);

    const std::string& SelfStocks() const { return m_strSelfStocks; }
    void SetSelfStocks(const std::string& list);
    const std::vector<std::unique_ptr<CenterData::SelfStocksInfo>>& lstSelfStocks() const
    {
        return m_lstSelfStocks;
    }

    int SoundCheck() const { return m_bSoundCheck; }
    void SetSoundCheck(int bSoundCheck) { m_bSoundCheck = bSoundCheck; }
    WarningQueue& Warnings() { return m_warnings; }
    const WarningQueue& Warnings() const { return m_warnings; }
    const SettingsPaths& Paths() const { return m_paths; }

private:
    void storeAndReload();
    // The record of an accepted code (created empty when there is none yet), or null when the
    // watch-list text does not hold the code.
    struct CodeSlot
    {
        signed char watched = -1; // -1 not yet tested against the current watch-list text
        CenterData::SelfStocksInfo* record = nullptr;
    };
    CodeSlot* acceptedSlot(std::string_view code);
    void readConditions(CenterData::SelfStocksInfo& stock);

    SettingsPaths m_paths;
    MainFramePorts m_ports;
    int m_bSoundCheck = 0;
    std::string m_strSelfStocks;
    std::vector<std::unique_ptr<CenterData::SelfStocksInfo>> m_lstSelfStocks;
    WarningQueue m_warnings;
    // Every refresh looks up each line's code twice, in the watch-list text and in the
    // records; one table per code keeps both answers off the linear walks.
    std::unordered_map<std::string, CodeSlot> m_codes;
};
