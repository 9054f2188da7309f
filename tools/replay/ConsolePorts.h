#pragma once

#include "client/alerts/AlertPorts.h"

#include <cstdio>
#include <string>

// The console stands in for every window of the client: pop-ups print their alert, message
// boxes print their text, and with `verbose` the page, ticker, tray and sound calls are
// logged. The server accepts every change.
class ConsoleFrame : public IWatchListServer,
                     public IWatchListPage,
                     public ITicker,
                     public IMessageBoxes,
                     public IPopupFactory,
                     public ITrayFlash,
                     public IAlertSound
{
public:
    ConsoleFrame(std::FILE* out, bool verbose) : m_out(out), m_verbose(verbose) {}

    bool ApiWriteWatchList(const std::string& list) override;
    bool ApiDeleteWatchList(const std::string& entry) override;
    void ReloadSelfStocks(const std::string& list) override;
    void ChangeAlertState(const std::string& code, int state) override;
    void AddTickerStock(const std::string& code, const std::string& name, int nTrend,
                        const std::string& price, const std::string& change) override;
    void UpdateTickerStock(const std::string& code, int nTrend, const std::string& price,
                           const std::string& change) override;
    void RemoveTickerStock(const std::string& code) override;
    void ShowMessage(const std::string& text) override;
    std::unique_ptr<IAlertPopup> CreatePopup(int nId) override;
    WorkArea QueryWorkArea() override;
    void StartFlashTimer() override;
    void StopFlashTimer() override;
    void ResetFlashStep() override;
    void FlashStep() override;
    void RestoreTrayIcon() override;
    void Play(const std::string& path) override;

    int AlertsShown() const { return m_alertsShown; }
    // Quote lines the engine took: each one moves the ticker once.
    long QuotesTaken() const { return m_quotesTaken; }

private:
    friend class ConsolePopup;
    void log(const std::string& text);

    std::FILE* m_out;
    bool m_verbose;
    int m_alertsShown = 0;
    long m_quotesTaken = 0;
};

// A clock that the replayed lines set; the day comes from the command line.
class ReplayClock : public IClock
{
public:
    LocalTime Now() const override { return m_now; }
    void Set(const LocalTime& t) { m_now = t; }
    LocalTime& Time() { return m_now; }

private:
    LocalTime m_now;
};
