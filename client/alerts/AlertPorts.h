#pragma once

#include <memory>
#include <string>

// What the alert core asks of the world around it. The Qt layer and the API client implement
// these; every call comes on the user-interface thread.

// The user's watch list on the server. Both calls are synchronous and return true on success.
class IWatchListServer
{
public:
    virtual ~IWatchListServer() = default;
    // Sends the whole new watch-list text.
    virtual bool ApiWriteWatchList(const std::string& list) = 0;
    // Deletes one entry on the server.
    virtual bool ApiDeleteWatchList(const std::string& entry) = 0;
};

// The watch-list page.
class IWatchListPage
{
public:
    virtual ~IWatchListPage() = default;
    // Hands the whole watch-list text to the page.
    virtual void ReloadSelfStocks(const std::string& list) = 0;
    // Marks the stock's row: 0 no conditions, 1 has conditions, 2 an alert fired.
    virtual void ChangeAlertState(const std::string& code, int state) = 0;
};

// The floating ticker. nTrend: 0 down, 1 flat, 2 up.
class ITicker
{
public:
    virtual ~ITicker() = default;
    virtual void AddTickerStock(const std::string& code, const std::string& name, int nTrend,
                                const std::string& price, const std::string& change) = 0;
    virtual void UpdateTickerStock(const std::string& code, int nTrend, const std::string& price,
                                   const std::string& change) = 0;
    virtual void RemoveTickerStock(const std::string& code) = 0;
};

// Message boxes with an OK button, owned by the main panel, the application name as caption.
class IMessageBoxes
{
public:
    virtual ~IMessageBoxes() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

// One alert pop-up window. Destroying the object destroys the window.
class IAlertPopup
{
public:
    virtual ~IAlertPopup() = default;
    // Screen position and size in pixels.
    virtual void Place(int left, int top, int width, int height) = 0;
    // The pop-up keeps copies of the three texts.
    virtual void SetTexts(const std::string& name, const std::string& text,
                          const std::string& time) = 0;
    virtual void ShowAndActivate() = 0;
};

// The work area of the primary screen (the screen without panels), in pixels.
struct WorkArea
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Makes alert pop-ups. A pop-up reports its closing with its number (message 10012), which
// the main frame hands to ClosePopup.
class IPopupFactory
{
public:
    virtual ~IPopupFactory() = default;
    // A new, hidden pop-up child of the main frame, carrying the number `nId`.
    virtual std::unique_ptr<IAlertPopup> CreatePopup(int nId) = 0;
    virtual WorkArea QueryWorkArea() = 0;
};

// Timer 2 of the main frame (100 ms) and the flashing tray icon it drives.
class ITrayFlash
{
public:
    virtual ~ITrayFlash() = default;
    virtual void StartFlashTimer() = 0;
    virtual void StopFlashTimer() = 0;
    // Flash step back to 0, before a new flashing starts.
    virtual void ResetFlashStep() = 0;
    // Shows the next image of the flash.
    virtual void FlashStep() = 0;
    // The tray icon's normal image again; flash step to its idle value.
    virtual void RestoreTrayIcon() = 0;
};

// Plays alert sounds. Never blocks: playbacks run one after the other on a worker.
class IAlertSound
{
public:
    virtual ~IAlertSound() = default;
    // Queues one playback of the file (a fallback beep when it cannot be played).
    virtual void Play(const std::string& path) = 0;
};

// Local wall-clock time.
struct LocalTime
{
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class IClock
{
public:
    virtual ~IClock() = default;
    virtual LocalTime Now() const = 0;
};

// The clock of the machine.
class SystemClock : public IClock
{
public:
    LocalTime Now() const override;
};

// Every port the main frame's model needs, borrowed for the model's lifetime.
struct MainFramePorts
{
    IWatchListServer& server;
    IWatchListPage& page;
    ITicker& ticker;
    IMessageBoxes& messages;
    IPopupFactory& popups;
    ITrayFlash& tray;
    IAlertSound& sound;
    const IClock& clock;
};
