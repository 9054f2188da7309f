#pragma once

#include "client/alerts/AlertPorts.h"

#include <memory>

// Every port, doing nothing: the engine alone, for measuring and fuzzing it. Pop-ups are
// real objects, so their list fills and empties as in the client.
class SilentFrame : public IWatchListServer,
                    public IWatchListPage,
                    public ITicker,
                    public IMessageBoxes,
                    public IPopupFactory,
                    public ITrayFlash,
                    public IAlertSound,
                    public IClock
{
public:
    bool ApiWriteWatchList(const std::string&) override { return true; }
    bool ApiDeleteWatchList(const std::string&) override { return true; }
    void ReloadSelfStocks(const std::string&) override {}
    void ChangeAlertState(const std::string&, int) override {}
    void AddTickerStock(const std::string&, const std::string&, int, const std::string&,
                        const std::string&) override
    {
    }
    void UpdateTickerStock(const std::string&, int, const std::string&, const std::string&) override
    {
    }
    void RemoveTickerStock(const std::string&) override {}
    void ShowMessage(const std::string&) override {}
    std::unique_ptr<IAlertPopup> CreatePopup(int) override { return std::make_unique<Popup>(); }
    WorkArea QueryWorkArea() override { return {0, 0, 1920, 1050}; }
    void StartFlashTimer() override {}
    void StopFlashTimer() override {}
    void ResetFlashStep() override {}
    void FlashStep() override {}
    void RestoreTrayIcon() override {}
    void Play(const std::string&) override {}
    LocalTime Now() const override { return {2026, 3, 9, 10, 0, 0}; }

    MainFramePorts Ports() { return {*this, *this, *this, *this, *this, *this, *this, *this}; }

private:
    struct Popup : IAlertPopup
    {
        void Place(int, int, int, int) override {}
        void SetTexts(const std::string&, const std::string&, const std::string&) override {}
        void ShowAndActivate() override {}
    };
};
