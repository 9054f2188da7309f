#include "client/alerts/WarningQueue.h"

#include <utility>

namespace {

// Every pop-up opens at the same place near the bottom right of the work area.
constexpr int kFromRight = 200;
constexpr int kFromBottom = 150;
constexpr int kPopupWidth = 175;
constexpr int kPopupHeight = 120;
constexpr int kQueuedPopupWidth = 201;
constexpr int kQueuedPopupHeight = 117;

} // namespace

WarningQueue::WarningQueue(IPopupFactory& popups, ITrayFlash& tray, IAlertSound& sound)
    : m_popups(popups), m_tray(tray), m_sound(sound)
{
}

void WarningQueue::DeliverAlert(WarningMsgInfo msg)
{
    if (m_bIconCheck == 1) {
        m_lstWarningMsg.push_back(std::move(msg));
        if (m_lstWarningMsg.size() == 1) {
            m_tray.ResetFlashStep();
            m_tray.StartFlashTimer();
        }
        return;
    }
    openPopup(msg, kPopupWidth, kPopupHeight);
}

void WarningQueue::OpenNextQueuedAlert()
{
    if (m_lstWarningMsg.empty())
        return;
    openPopup(m_lstWarningMsg.front(), kQueuedPopupWidth, kQueuedPopupHeight);
    m_lstWarningMsg.pop_front();
    if (m_lstWarningMsg.empty()) {
        m_tray.StopFlashTimer();
        m_tray.RestoreTrayIcon();
    }
}

int WarningQueue::ClosePopup(int nId)
{
    for (auto it = m_lstWarningDlg.begin(); it != m_lstWarningDlg.end(); ++it) {
        if (it->nId == nId) {
            m_lstWarningDlg.erase(it);
            return 1;
        }
    }
    return 0;
}

void WarningQueue::OnFlashTimerTick()
{
    if (m_lstWarningMsg.empty())
        m_tray.StopFlashTimer();
    else
        m_tray.FlashStep();
}

void WarningQueue::PlayAlertSound()
{
    if (m_strSoundPath.empty())
        return;
    m_sound.Play(m_strSoundPath);
}

void WarningQueue::openPopup(const WarningMsgInfo& msg, int width, int height)
{
    WarningDlgInfo info;
    info.nId = m_nNextDlgId;
    info.pDlg = m_popups.CreatePopup(m_nNextDlgId++);
    if (!info.pDlg)
        return; // no window could be made; the number stays used
    const WorkArea area = m_popups.QueryWorkArea();
    info.pDlg->Place(area.right - kFromRight, area.bottom - kFromBottom, width, height);
    info.pDlg->SetTexts(msg.strName, msg.strText, msg.strTime);
    info.pDlg->ShowAndActivate();
    m_lstWarningDlg.push_back(std::move(info));
}
