#include "RecordingPorts.h"

#include "client/model/IniFile.h"

#include <gtest/gtest.h>

namespace {

struct WarningQueueTest : ModelFixture, ::testing::Test
{
    WarningQueue& queue = model.Warnings();

    static WarningMsgInfo message(const std::string& name)
    {
        return {name, "涨停", "2026-03-09   09:35"};
    }
};

} // namespace

TEST_F(WarningQueueTest, TrayModeQueuesFlashesAndOpensOnePerPress)
{
    queue.SetIconCheck(1);
    queue.DeliverAlert(message("甲"));
    queue.DeliverAlert(message("乙"));
    queue.DeliverAlert(message("丙"));
    EXPECT_EQ(log.calls, (std::vector<std::string>{"flash reset", "timer2 start"}));
    EXPECT_EQ(queue.lstWarningMsg().size(), 3u);
    EXPECT_TRUE(tray.running);

    log.clear();
    queue.OnFlashTimerTick();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"flash step"}));

    log.clear();
    queue.OpenNextQueuedAlert();
    queue.OpenNextQueuedAlert();
    EXPECT_TRUE(tray.running);
    queue.OpenNextQueuedAlert();
    EXPECT_FALSE(tray.running);
    EXPECT_EQ(log.calls.back(), "tray restore");
    EXPECT_TRUE(log.has("popup place 0 1080,840 201x117"));
    EXPECT_TRUE(log.has("popup texts 0 甲 涨停 2026-03-09   09:35"));
    EXPECT_TRUE(log.has("popup texts 1 乙 涨停 2026-03-09   09:35"));
    EXPECT_TRUE(log.has("popup texts 2 丙 涨停 2026-03-09   09:35"));
    EXPECT_EQ(queue.lstWarningDlg().size(), 3u);
    EXPECT_TRUE(queue.lstWarningMsg().empty());

    // A press on an empty queue and a tick that finds it empty.
    log.clear();
    queue.OpenNextQueuedAlert();
    EXPECT_TRUE(log.calls.empty());
    queue.OnFlashTimerTick();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"timer2 stop"}));
}

TEST_F(WarningQueueTest, PopupModeOpensAtOnceAtTheSamePlace)
{
    queue.SetIconCheck(0);
    queue.DeliverAlert(message("甲"));
    queue.DeliverAlert(message("乙"));
    EXPECT_EQ(log.calls, (std::vector<std::string>{
                             "popup create 0", "popup place 0 1080,840 175x120",
                             "popup texts 0 甲 涨停 2026-03-09   09:35", "popup show 0",
                             "popup create 1", "popup place 1 1080,840 175x120",
                             "popup texts 1 乙 涨停 2026-03-09   09:35", "popup show 1"}));
    EXPECT_TRUE(queue.lstWarningMsg().empty());
    EXPECT_FALSE(tray.running);
    EXPECT_EQ(queue.NextDlgId(), 2);
}

TEST_F(WarningQueueTest, ClosingRemovesExactlyThatPopup)
{
    for (const char* name : {"甲", "乙", "丙", "丁"})
        queue.DeliverAlert(message(name));
    log.clear();
    EXPECT_EQ(queue.ClosePopup(2), 1);
    EXPECT_EQ(queue.ClosePopup(0), 1);
    EXPECT_EQ(queue.ClosePopup(0), 0); // already closed
    EXPECT_EQ(queue.ClosePopup(99), 0);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"popup destroyed 2", "popup destroyed 0"}));
    ASSERT_EQ(queue.lstWarningDlg().size(), 2u);
    EXPECT_EQ(queue.lstWarningDlg()[0].nId, 1);
    EXPECT_EQ(queue.lstWarningDlg()[1].nId, 3);

    // Numbers are never reused.
    queue.DeliverAlert(message("戊"));
    EXPECT_EQ(queue.lstWarningDlg().back().nId, 4);
}

TEST_F(WarningQueueTest, SwitchingModeLeavesQueuedMessagesAlone)
{
    queue.SetIconCheck(1);
    queue.DeliverAlert(message("甲"));
    queue.SetIconCheck(0);
    queue.DeliverAlert(message("乙"));
    EXPECT_EQ(queue.lstWarningMsg().size(), 1u);
    EXPECT_EQ(queue.lstWarningDlg().size(), 1u);
    queue.OpenNextQueuedAlert();
    EXPECT_EQ(queue.lstWarningDlg().size(), 2u);
}

TEST_F(WarningQueueTest, APopupThatCannotBeMadeIsSkipped)
{
    popups.fail = true;
    queue.DeliverAlert(message("甲"));
    EXPECT_TRUE(queue.lstWarningDlg().empty());
    popups.fail = false;
    queue.DeliverAlert(message("乙"));
    EXPECT_EQ(queue.lstWarningDlg().back().nId, 1);
}

TEST_F(WarningQueueTest, OpenPopupsAreDestroyedWithTheModel)
{
    auto* other =
        new MainFrameModel(paths, {server, page, ticker, messages, popups, tray, sound, clock});
    other->Warnings().DeliverAlert(message("甲"));
    log.clear();
    delete other;
    EXPECT_EQ(log.calls, (std::vector<std::string>{"popup destroyed 0"}));
}

TEST_F(WarningQueueTest, NotificationSettingsFromSetIni)
{
    // No WarnSet section: tray mode and sound on.
    model.LoadNotificationSettings("/opt/meridex");
    EXPECT_EQ(queue.IconCheck(), 1);
    EXPECT_EQ(model.SoundCheck(), 1);
    EXPECT_EQ(queue.SoundPath(), "");

    ASSERT_TRUE(Ini::WriteString(paths.setIni, "WarnSet", "bIconCheck", "0"));
    ASSERT_TRUE(Ini::WriteString(paths.setIni, "WarnSet", "nSound", "2"));
    ASSERT_TRUE(Ini::WriteString(paths.setIni, "SoundPath", "2", "\\sound\\ding.wav"));
    model.LoadNotificationSettings("/opt/meridex");
    EXPECT_EQ(queue.IconCheck(), 0);
    EXPECT_EQ(queue.SoundPath(), "/opt/meridex/sound/ding.wav");

    ASSERT_TRUE(Ini::WriteString(paths.setIni, "WarnSet", "nSound", "3")); // no path for 3
    model.LoadNotificationSettings("/opt/meridex");
    EXPECT_EQ(queue.SoundPath(), "");
}
