#include "updater/UpdateDlg.h"

#include "controls/SkinImage.h"
#include "updater/AboutDlg.h"
#include "updater/UpdateHelpers.h"
#include "updater/UpdateProcedure.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStyle>
#include <QThread>

namespace {

constexpr int kRetryId = 10101;
constexpr int kCloseId = 10102;

// Dialog units of the window's layout to pixels, at the base units of a 9 pt dialog font.
QRect dlu(int x, int y, int width, int height)
{
    auto h = [](int v) { return (v * 7 + 2) / 4; };
    auto v = [](int u) { return (u * 15 + 4) / 8; };
    return QRect(h(x), v(y), h(width), v(height));
}

} // namespace

CUpdateDlg::CUpdateDlg(const std::string& appDir, QWidget* parent)
    : QDialog(parent), m_port(*this),
      m_procedure(std::make_unique<UpdateProcedure>(appDir, m_port, m_disk)),
      m_sidePicture(Skin::Keyed(Skin::LoadSection(QStringLiteral("skin/Updatebk.bmp"))))
{
    setWindowTitle(QStringLiteral("MERIDEX更新程序"));
    setWindowIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    setFixedSize(dlu(0, 0, 239, 148).size());

    auto* welcome = new QLabel(QStringLiteral("欢迎使用鹭眸在线更新程序"), this);
    welcome->setGeometry(dlu(69, 5, 162, 11));
    m_editLog = new QPlainTextEdit(this);
    m_editLog->setGeometry(dlu(69, 19, 163, 88));
    m_editLog->setReadOnly(true);
    m_editLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_progress = new QProgressBar(this);
    m_progress->setGeometry(dlu(68, 113, 164, 9));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    m_btnRetry.CreateButton(QStringLiteral("skin/31.bmp"), this, kRetryId, 230, 230);
    m_btnClose.CreateButton(QStringLiteral("skin/1.bmp"), this, kCloseId, 330, 230);
    connect(&m_btnRetry, &CImgBut::Clicked, this, &CUpdateDlg::onRetry);
    connect(&m_btnClose, &CImgBut::Clicked, this, &CUpdateDlg::onClose);

    m_about = new CAboutDlg(this);
}

CUpdateDlg::~CUpdateDlg()
{
    if (m_worker) {
        // Only reached when the program is torn down around a running attempt.
        m_port.close();
        m_procedure->RequestStop();
        m_worker->wait();
        delete m_worker;
    }
}

void CUpdateDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_started) {
        m_started = true;
        startWorker();
    }
}

void CUpdateDlg::startWorker()
{
    UpdateProcedure* procedure = m_procedure.get();
    m_worker = QThread::create([procedure] { procedure->FetchUpdateList(); });
    connect(m_worker, &QThread::finished, this, &CUpdateDlg::onWorkerFinished);
    m_worker->start();
}

void CUpdateDlg::onWorkerFinished()
{
    // The worker has left the procedure; what remains of the thread ends at once.
    m_worker->wait();
    m_worker->deleteLater();
    m_worker = nullptr;
    if (m_closeResult) {
        if (m_deleteWorkDirOnClose)
            DeleteFolderTree(m_procedure->workDir());
        QDialog::done(*m_closeResult);
    } else if (m_finishPending) {
        QDialog::done(QDialog::Rejected);
    }
}

void CUpdateDlg::showLog(const QString& log)
{
    m_editLog->setPlainText(log);
    m_editLog->moveCursor(QTextCursor::End);
    m_editLog->ensureCursorVisible();
}

void CUpdateDlg::setProgress(int percent)
{
    m_progress->setValue(percent);
}

void CUpdateDlg::armRetry()
{
    if (m_closeResult)
        return;
    m_bRetryActive = true;
    m_btnRetry.SetButtonImage(QStringLiteral("skin/3.bmp"));
}

void CUpdateDlg::askUser(const QString& text, UpdatePort::BoxKind kind,
                         std::function<void(UpdatePort::Answer)> answer)
{
    if (m_closeResult || m_port.closing()) {
        answer(UpdatePort::Answer::Cancel);
        return;
    }
    const bool question = kind == UpdatePort::BoxKind::Question;
    auto* box =
        new QMessageBox(kind == UpdatePort::BoxKind::Error ? QMessageBox::Critical
                        : question                         ? QMessageBox::Question
                                                           : QMessageBox::NoIcon,
                        QStringLiteral("Update"), text,
                        question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [answer](int result) {
        answer(result == QMessageBox::Ok ? UpdatePort::Answer::Ok : UpdatePort::Answer::Cancel);
    });
    m_openBox = box;
    box->open();
}

void CUpdateDlg::onRetry()
{
    if (!m_bRetryActive || m_worker)
        return;
    m_bRetryActive = false;
    m_btnRetry.SetButtonImage(QStringLiteral("skin/31.bmp"));
    m_procedure->ResetForRetry();
    startWorker();
}

void CUpdateDlg::onClose()
{
    m_deleteWorkDirOnClose = true;
    if (!m_worker)
        DeleteFolderTree(m_procedure->workDir());
    done(QDialog::Rejected);
}

void CUpdateDlg::done(int result)
{
    if (!m_worker) {
        QDialog::done(result);
        return;
    }
    // The worker is told to stop at its next step; the window ends when it has.
    if (!m_closeResult) {
        m_closeResult = result;
        m_port.close();
        m_procedure->RequestStop();
        if (m_openBox)
            m_openBox->reject();
        hide();
    }
}

bool CUpdateDlg::event(QEvent* e)
{
    if (e->type() == UpdateFinishedEvent::kType) {
        m_finishPending = true;
        if (!m_worker)
            QDialog::done(QDialog::Rejected);
        return true;
    }
    return QDialog::event(e);
}

void CUpdateDlg::paintEvent(QPaintEvent* e)
{
    QDialog::paintEvent(e);
    if (m_sidePicture.isNull())
        return;
    QPainter painter(this);
    Skin::DrawKeyed(painter, QPoint(4, 2), m_sidePicture, QRect(0, 0, 100, 241));
}

void CUpdateDlg::closeEvent(QCloseEvent* e)
{
    e->ignore();
    done(QDialog::Rejected);
}

void CUpdateDlg::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        done(QDialog::Accepted);
        return;
    }
    QDialog::keyPressEvent(e);
}

void CUpdateDlg::contextMenuEvent(QContextMenuEvent* e)
{
    // No system menu to extend on Linux window managers: the about entry lives here.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QStringLiteral("关于 Update(&A)..."), m_about, &QDialog::open);
    menu->popup(e->globalPos());
}
