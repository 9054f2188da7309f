#pragma once

#include "client/alerts/AlertRecords.h"

#include <deque>
#include <string>
#include <vector>

// Where fired alerts go: queued behind the flashing tray icon (tray mode) or straight into
// a pop-up (pop-up mode); the open pop-ups and the alert sound.
class WarningQueue
{
public:
    WarningQueue(IPopupFactory& popups, ITrayFlash& tray, IAlertSound& sound);

    // 1: tray mode, 0: pop-up mode. Switching leaves queued messages and open pop-ups alone.
    void SetIconCheck(int bIconCheck) { m_bIconCheck = bIconCheck; }
    int IconCheck() const { return m_bIconCheck; }
    void SetSoundPath(const std::string& path) { m_strSoundPath = path; }
    const std::string& SoundPath() const { return m_strSoundPath; }

    void DeliverAlert(WarningMsgInfo msg);
    // A left press on the tray icon: opens the oldest queued message.
    void OpenNextQueuedAlert();
    // A pop-up is closing (message 10012). 1 when it was open, else 0.
    int ClosePopup(int nId);
    // A tick of timer 2: flash while messages wait, stop the timer when none do.
    void OnFlashTimerTick();
    void PlayAlertSound();

    const std::deque<WarningMsgInfo>& lstWarningMsg() const { return m_lstWarningMsg; }
    const std::vector<WarningDlgInfo>& lstWarningDlg() const { return m_lstWarningDlg; }
    int NextDlgId() const { return m_nNextDlgId; }

private:
    void openPopup(const WarningMsgInfo& msg, int width, int height);

    IPopupFactory& m_popups;
    ITrayFlash& m_tray;
    IAlertSound& m_sound;
    int m_bIconCheck = 0;
    std::string m_strSoundPath;
    std::deque<WarningMsgInfo> m_lstWarningMsg;
    std::vector<WarningDlgInfo> m_lstWarningDlg;
    int m_nNextDlgId = 0;
};
