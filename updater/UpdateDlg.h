#pragma once

#include "platform/disk/DiskSpace.h"
#include "updater/UpdateDlgPort.h"
#include "updater/UpdatePort.h"

#include "controls/ImgBut.h"

#include <QDialog>
#include <QEvent>
#include <QImage>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class CAboutDlg;
class QMessageBox;
class QPlainTextEdit;
class QProgressBar;
class QThread;
class UpdateProcedure;

// Posted by the update procedure as its last act after a finished update.
constexpr int WM_UPDATE_FINISHED = 10005;

class UpdateFinishedEvent : public QEvent
{
public:
    static constexpr QEvent::Type kType =
        static_cast<QEvent::Type>(QEvent::User + WM_UPDATE_FINISHED);
    UpdateFinishedEvent() : QEvent(kType) {}
};

// The updater's only window: side picture, welcome line, log, progress bar, retry and close
// buttons. It runs the update procedure on a worker thread as soon as it opens and ends when
// the procedure has finished or the user closes it; closing never waits on the worker.
class CUpdateDlg : public QDialog
{
    Q_OBJECT
public:
    // `appDir`: the program folder with a trailing "/". Skin pictures are found relative to
    // the current folder.
    explicit CUpdateDlg(const std::string& appDir, QWidget* parent = nullptr);
    ~CUpdateDlg() override;

    // Requests of the procedure, on the window's thread (see UpdateDlgPort).
    void showLog(const QString& log);
    void setProgress(int percent);
    void armRetry();
    void askUser(const QString& text, UpdatePort::BoxKind kind,
                 std::function<void(UpdatePort::Answer)> answer);

    bool retryArmed() const { return m_bRetryActive; }
    bool workerRunning() const { return m_worker != nullptr; }

public Q_SLOTS:
    void done(int result) override;

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void startWorker();
    void onWorkerFinished();
    void onRetry();
    void onClose();

    StatvfsDiskSpace m_disk;
    UpdateDlgPort m_port;
    std::unique_ptr<UpdateProcedure> m_procedure;
    QThread* m_worker = nullptr;
    bool m_started = false;
    bool m_bRetryActive = false;
    bool m_finishPending = false;
    bool m_deleteWorkDirOnClose = false;
    std::optional<int> m_closeResult;
    QImage m_sidePicture; // keyed: magenta left out
    CImgBut m_btnRetry{CImgBut::Cursor::Unchanged};
    CImgBut m_btnClose{CImgBut::Cursor::Unchanged};
    QProgressBar* m_progress = nullptr;
    QPlainTextEdit* m_editLog = nullptr;
    CAboutDlg* m_about = nullptr;
    QPointer<QMessageBox> m_openBox;
};
