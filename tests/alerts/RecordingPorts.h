#pragma once

#include "client/alerts/MainFrameModel.h"

#include "tests/model/TempFolder.h"

#include <memory>
#include <string>
#include <vector>

// Fakes of every port that write what they were asked into one shared call log, so a test
// can check both the calls and their order.
struct CallLog
{
    std::vector<std::string> calls;
    void add(std::string call) { calls.push_back(std::move(call)); }
    bool has(const std::string& call) const
    {
        for (const auto& c : calls)
            if (c == call)
                return true;
        return false;
    }
    void clear() { calls.clear(); }
};

struct FakeServer : IWatchListServer
{
    explicit FakeServer(CallLog& log) : log(log) {}
    bool ApiWriteWatchList(const std::string& list) override
    {
        log.add("write " + list);
        return accept;
    }
    bool ApiDeleteWatchList(const std::string& entry) override
    {
        log.add("delete " + entry);
        return accept;
    }
    CallLog& log;
    bool accept = true;
};

struct FakePage : IWatchListPage
{
    explicit FakePage(CallLog& log) : log(log) {}
    void ReloadSelfStocks(const std::string& list) override { log.add("reload " + list); }
    void ChangeAlertState(const std::string& code, int state) override
    {
        log.add("state " + code + " " + std::to_string(state));
    }
    CallLog& log;
};

struct FakeTicker : ITicker
{
    explicit FakeTicker(CallLog& log) : log(log) {}
    void AddTickerStock(const std::string& code, const std::string& name, int nTrend,
                        const std::string& price, const std::string& change) override
    {
        log.add("ticker add " + code + " " + name + " " + std::to_string(nTrend) + " " + price +
                " " + change);
    }
    void UpdateTickerStock(const std::string& code, int nTrend, const std::string& price,
                           const std::string& change) override
    {
        log.add("ticker update " + code + " " + std::to_string(nTrend) + " " + price + " " +
                change);
    }
    void RemoveTickerStock(const std::string& code) override { log.add("ticker remove " + code); }
    CallLog& log;
};

struct FakeMessages : IMessageBoxes
{
    explicit FakeMessages(CallLog& log) : log(log) {}
    void ShowMessage(const std::string& text) override { log.add("message " + text); }
    CallLog& log;
};

struct FakePopup : IAlertPopup
{
    FakePopup(CallLog& log, int id) : log(log), id(id) {}
    ~FakePopup() override { log.add("popup destroyed " + std::to_string(id)); }
    void Place(int left, int top, int width, int height) override
    {
        log.add("popup place " + std::to_string(id) + " " + std::to_string(left) + "," +
                std::to_string(top) + " " + std::to_string(width) + "x" + std::to_string(height));
    }
    void SetTexts(const std::string& name, const std::string& text,
                  const std::string& time) override
    {
        log.add("popup texts " + std::to_string(id) + " " + name + " " + text + " " + time);
    }
    void ShowAndActivate() override { log.add("popup show " + std::to_string(id)); }
    CallLog& log;
    int id;
};

struct FakePopups : IPopupFactory
{
    explicit FakePopups(CallLog& log) : log(log) {}
    std::unique_ptr<IAlertPopup> CreatePopup(int nId) override
    {
        log.add("popup create " + std::to_string(nId));
        if (fail)
            return nullptr;
        return std::make_unique<FakePopup>(log, nId);
    }
    WorkArea QueryWorkArea() override { return {0, 0, 1280, 990}; }
    CallLog& log;
    bool fail = false;
};

struct FakeTray : ITrayFlash
{
    explicit FakeTray(CallLog& log) : log(log) {}
    void StartFlashTimer() override
    {
        log.add("timer2 start");
        running = true;
    }
    void StopFlashTimer() override
    {
        log.add("timer2 stop");
        running = false;
    }
    void ResetFlashStep() override { log.add("flash reset"); }
    void FlashStep() override { log.add("flash step"); }
    void RestoreTrayIcon() override { log.add("tray restore"); }
    CallLog& log;
    bool running = false;
};

struct FakeSound : IAlertSound
{
    explicit FakeSound(CallLog& log) : log(log) {}
    void Play(const std::string& path) override { log.add("sound " + path); }
    CallLog& log;
};

struct FakeClock : IClock
{
    LocalTime Now() const override { return now; }
    LocalTime now{2026, 3, 9, 9, 35, 12};
};

// Every port but the server faked, writing into one call log.
struct RecordingFrame
{
    RecordingFrame() : page(log), ticker(log), messages(log), popups(log), tray(log), sound(log) {}

    MainFramePorts Ports(IWatchListServer& server)
    {
        return {server, page, ticker, messages, popups, tray, sound, clock};
    }

    CallLog log;
    FakePage page;
    FakeTicker ticker;
    FakeMessages messages;
    FakePopups popups;
    FakeTray tray;
    FakeSound sound;
    FakeClock clock;
};

// A model on a temporary program folder with every port faked.
struct ModelFixture : RecordingFrame
{
    ModelFixture()
        : server(log), paths{dir.file("Set.ini"), dir.file("WarnSet.ini"),
                             dir.file("SelfStock.ini")},
          model(paths, Ports(server))
    {
    }

    TempFolder dir;
    FakeServer server;
    SettingsPaths paths;
    MainFrameModel model;
};
