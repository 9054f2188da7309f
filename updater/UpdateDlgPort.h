#pragma once

#include "updater/UpdatePort.h"

#include <condition_variable>
#include <mutex>

class CUpdateDlg;

// Carries the procedure's requests from its worker thread to the updater window: everything
// is queued to the window's thread, and the worker waits only for message-box answers and
// its own pauses, both of which end at once when the window closes.
class UpdateDlgPort : public UpdatePort
{
public:
    explicit UpdateDlgPort(CUpdateDlg& dlg) : m_dlg(dlg) {}

    void showLog(const std::string& log) override;
    void setProgress(int percent) override;
    void armRetry() override;
    Answer messageBox(const std::string& text, BoxKind kind) override;
    void postFinished() override;
    void pause(int milliseconds) override;

    // From the window's thread when it closes: pauses end, boxes answer Cancel.
    void close();
    bool closing() const;

private:
    CUpdateDlg& m_dlg;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_closing = false;
};
