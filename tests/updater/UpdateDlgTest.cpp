// The updater window driven by the real procedure against an in-process server, under X.
#include "UpdateFixture.h"

#include "updater/UpdateDlg.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "updater_window_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's clean-up at exit must not run after the test's own statics.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

bool PumpUntil(const std::function<bool()>& done, int seconds = 20)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

class UpdateDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        App();
        m_screenDir = fs::current_path().string();
        std::error_code ec;
        fs::copy(std::string(MERIDEX_SOURCE_DIR_TEXT) + "/skin", app + "skin",
                 fs::copy_options::recursive, ec);
        fs::create_directory(app + "Set");
        Ini::WriteString(app + "Set/Set.ini", "Version", "num", "2.10");
        Ini::WriteString(app + "Set/Set.ini", "Version", "name", "meridex-no-such-client");
        Ini::WriteString(app + "Set/Set.ini", "url", "page", server.base());
        // Skin pictures are found relative to the current folder, as in the program folder.
        fs::current_path(app);
    }
    void TearDown() override
    {
        if (!m_screenDir.empty())
            fs::current_path(m_screenDir);
    }

    // Saves what the window shows now, for a look at it.
    void screenshot(QWidget& window, const std::string& name)
    {
        EXPECT_TRUE(window.grab().save(QString::fromStdString(m_screenDir + "/" + name)));
    }

    static QString text(CUpdateDlg& dlg)
    {
        return dlg.findChild<QPlainTextEdit*>()->toPlainText().remove(QLatin1Char('\r'));
    }
    static int progress(CUpdateDlg& dlg) { return dlg.findChild<QProgressBar*>()->value(); }
    static void click(CUpdateDlg& dlg, int id)
    {
        for (CImgBut* button : dlg.findChildren<CImgBut*>()) {
            if (button->Id() == id)
                button->click();
        }
    }

    TempFolder folder;
    std::string app = folder.path() + "/";
    TestServer server;
    std::string m_screenDir;
};

TEST_F(UpdateDlgTest, FailedListArmsRetryAndRetryStartsAgain)
{
    std::atomic<bool> listThere{false};
    server.server.Get("/soft/Update/2.10.ini",
                      [&](const httplib::Request&, httplib::Response& res) {
                          if (listThere)
                              res.set_content("[info]\r\nsize=10\r\nway=1\r\n", "text/plain");
                          else
                              res.status = 404;
                      });
    server.start();

    CUpdateDlg dlg(app);
    dlg.show();
    ASSERT_TRUE(PumpUntil([&] { return dlg.retryArmed() && !dlg.workerRunning(); }));
    EXPECT_EQ(text(dlg), QStringLiteral("正在连接服务器\n连接服务器失败！\n点击重试按钮\n"));
    screenshot(dlg, "updater-retry-armed.png");

    listThere = true;
    click(dlg, 10101);
    EXPECT_FALSE(dlg.retryArmed());
    ASSERT_TRUE(PumpUntil([&] { return !dlg.workerRunning(); }));
    EXPECT_TRUE(text(dlg).startsWith(QStringLiteral("正在连接服务器\n连接服务器成功！")));
    EXPECT_EQ(progress(dlg), 0);
    // `way` 1: nothing more happens and the window stays.
    EXPECT_FALSE(dlg.retryArmed());
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(UpdateDlgTest, ContextMenuOpensTheAboutBox)
{
    server.start();
    CUpdateDlg dlg(app);
    dlg.show();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(10, 10),
                                dlg.mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(&dlg, &menuEvent);
    QMenu* menu = dlg.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("关于 Update(&A)..."));
    menu->actions()[0]->trigger();
    QDialog* about = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        for (QDialog* d : dlg.findChildren<QDialog*>())
            if (d->isVisible() && d->windowTitle() == QStringLiteral("关于 Update"))
                about = d;
        return about != nullptr;
    }));
    screenshot(*about, "updater-about.png");
    about->accept();
    menu->close();
    PumpUntil([&] { return !dlg.workerRunning(); });
}

TEST_F(UpdateDlgTest, ClosingDuringADownloadStopsTheWorkerWithoutWaitingForIt)
{
    constexpr size_t kPacketSize = 1 << 20;
    std::atomic<bool> release{false};
    server.serve("/soft/Update/2.10.ini",
                 "[info]\r\nsize=" + std::to_string(kPacketSize) +
                     "\r\nway=2\r\n[UpdatePacket]\r\nversion1=2.10\r\npath1=" + server.base() +
                     "/soft/big.sh\r\n");
    // Half the packet arrives, then the server holds back the rest.
    server.server.Get("/soft/big.sh", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(kPacketSize, "application/octet-stream",
                                 [&](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset >= kPacketSize / 2) {
                                         while (!release)
                                             std::this_thread::sleep_for(
                                                 std::chrono::milliseconds(10));
                                         return false;
                                     }
                                     std::string chunk(64 * 1024, '#');
                                     return sink.write(chunk.data(), chunk.size());
                                 });
    });
    server.start();

    CUpdateDlg dlg(app);
    bool finished = false;
    QObject::connect(&dlg, &QDialog::finished, [&] { finished = true; });
    dlg.show();
    ASSERT_TRUE(PumpUntil([&] { return progress(dlg) >= 40; }));
    EXPECT_TRUE(text(dlg).endsWith(QStringLiteral("下载更新包：big.sh\n")));
    screenshot(dlg, "updater-mid-download.png");

    click(dlg, 10102);
    // The window is gone at once; the program would end once the worker has stopped.
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(PumpUntil([&] { return finished; }));
    release = true;
    EXPECT_FALSE(dlg.workerRunning());
    EXPECT_FALSE(Exists(app + "update"));
}

} // namespace
