#include "updater/UpdateDlgPort.h"

#include "updater/UpdateDlg.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <chrono>
#include <future>
#include <memory>

void UpdateDlgPort::showLog(const std::string& log)
{
    QMetaObject::invokeMethod(
        &m_dlg, [dlg = &m_dlg, text = QString::fromStdString(log)] { dlg->showLog(text); },
        Qt::QueuedConnection);
}

void UpdateDlgPort::setProgress(int percent)
{
    QMetaObject::invokeMethod(
        &m_dlg, [dlg = &m_dlg, percent] { dlg->setProgress(percent); }, Qt::QueuedConnection);
}

void UpdateDlgPort::armRetry()
{
    QMetaObject::invokeMethod(
        &m_dlg, [dlg = &m_dlg] { dlg->armRetry(); }, Qt::QueuedConnection);
}

UpdatePort::Answer UpdateDlgPort::messageBox(const std::string& text, BoxKind kind)
{
    if (closing())
        return Answer::Cancel;
    auto answer = std::make_shared<std::promise<Answer>>();
    std::future<Answer> future = answer->get_future();
    QMetaObject::invokeMethod(
        &m_dlg,
        [dlg = &m_dlg, message = QString::fromStdString(text), kind, answer] {
            dlg->askUser(message, kind, [answer](Answer a) { answer->set_value(a); });
        },
        Qt::QueuedConnection);
    // The window answers every box it was asked for; a window that goes away first leaves the
    // question unanswered, which counts as Cancel.
    while (future.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        if (closing())
            return Answer::Cancel;
    }
    return future.get();
}

void UpdateDlgPort::postFinished()
{
    QCoreApplication::postEvent(&m_dlg, new UpdateFinishedEvent);
}

void UpdateDlgPort::pause(int milliseconds)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_closing; });
}

void UpdateDlgPort::close()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
    }
    m_wake.notify_all();
}

bool UpdateDlgPort::closing() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_closing;
}
