#include "controls/GifAnimation.h"
#include "controls/SRImage.h"

#include "QtTestApp.h"

#include <QFile>

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

QString SkinFolder()
{
    const char* source = std::getenv("MERIDEX_SOURCE_DIR");
    return QString::fromLocal8Bit(source ? source : ".") + QStringLiteral("/skin/");
}

// Each picture at the size its window needs; strips give the size of one state image.
TEST(SkinTest, EveryPictureHasTheSizeItsWindowNeeds)
{
    TestApp();
    struct Picture
    {
        const char* name;
        int width, height;
        bool strip;
    };
    const Picture pictures[] = {
        {"back.bmp", 294, 513, false},
        {"loginbk.bmp", 294, 502, false},
        {"SetBack.bmp", 359, 397, false},
        {"aboutus.bmp", 359, 259, false},
        {"Warningback.bmp", 205, 250, false},
        {"WarnTipback.bmp", 201, 120, false},
        {"Suspendback.bmp", 225, 24, false},
        {"SuspendSetBk.bmp", 243, 229, false},
        {"Updatebk.bmp", 100, 241, false},
        {"d.bmp", 287, 388, false},
        {"d2.bmp", 287, 388, false},
        {"e.bmp", 287, 388, false},
        {"f.bmp", 287, 388, false},
        {"codebg.bmp", 73, 25, false},
        {"code.png", 73, 25, false},
        {"up.bmp", 14, 24, false},
        {"down.bmp", 14, 24, false},
        {"8.bmp", 128, 16, false},
        {"11.ico", 32, 32, false},
        {"loading.gif", 34, 34, false},
        {"main_l.bmp", 22, 20, false},
        {"main_c.bmp", 4, 20, false},
        {"main_r.bmp", 20, 20, false},
        {"l.bmp", 4, 20, false},
        {"c.bmp", 4, 20, false},
        {"r.bmp", 18, 20, false},
        // Buttons: each must fit where its windows place it.
        {"main_min.bmp", 36, 24, true},
        {"main_close.bmp", 24, 24, true},
        {"close.bmp", 36, 26, true},
        {"add.bmp", 50, 22, true},
        {"Diagn.bmp", 50, 22, true},
        {"self1.bmp", 88, 28, true},
        {"self2.bmp", 88, 28, true},
        {"star1.bmp", 84, 28, true},
        {"star2.bmp", 84, 28, true},
        {"zhen1.bmp", 80, 28, true},
        {"zhen2.bmp", 80, 28, true},
        {"logingrey.bmp", 98, 34, true},
        {"set.bmp", 97, 34, true},
        {"help.bmp", 99, 34, true},
        {"shuaxin.bmp", 64, 26, true},
        {"login.bmp", 102, 34, true},
        {"recode.bmp", 48, 22, true},
        {"forget.bmp", 146, 23, true},
        {"register.bmp", 148, 23, true},
        {"ok.bmp", 64, 26, true},
        {"cancel.bmp", 64, 26, true},
        {"save.bmp", 64, 26, true},
        {"clear.bmp", 64, 26, true},
        {"pa.bmp", 86, 24, true},
        {"1.bmp", 80, 28, true},
        {"3.bmp", 80, 28, true},
        {"31.bmp", 80, 28, true},
    };
    EXPECT_EQ(53u, std::size(pictures));
    for (const Picture& p : pictures) {
        const QImage img(SkinFolder() + QLatin1String(p.name));
        ASSERT_FALSE(img.isNull()) << p.name;
        EXPECT_EQ(QSize(p.width, p.height * (p.strip ? 4 : 1)), img.size()) << p.name;
    }
    GifAnimation loading;
    QFile gif(SkinFolder() + QStringLiteral("loading.gif"));
    ASSERT_TRUE(gif.open(QIODevice::ReadOnly));
    ASSERT_TRUE(loading.Load(gif.readAll()));
    EXPECT_EQ(8, loading.FrameCount());
}

TEST(SkinTest, ImageSlotKeepsOrDropsItsPictureAsItsLoadSays)
{
    TestApp();
    SRImage slot;
    EXPECT_FALSE(slot.Load(QString()));
    ASSERT_TRUE(slot.Load(SkinFolder() + QStringLiteral("c.bmp")));
    EXPECT_FALSE(slot.Load(QString()));
    EXPECT_EQ(4, slot.Width()); // an empty name keeps the earlier picture
    EXPECT_FALSE(slot.Load(SkinFolder() + QStringLiteral("missing.bmp")));
    EXPECT_TRUE(slot.IsEmpty());
}

TEST(SkinTest, AlertSoundsAreShortPcmWaves)
{
    for (int i = 1; i <= 4; ++i) {
        QFile wav(SkinFolder() + QStringLiteral("sound/tip%1.wav").arg(i));
        ASSERT_TRUE(wav.open(QIODevice::ReadOnly)) << i;
        const QByteArray bytes = wav.readAll();
        ASSERT_GT(bytes.size(), 44) << i;
        EXPECT_TRUE(bytes.startsWith("RIFF")) << i;
        EXPECT_EQ("WAVEfmt ", bytes.mid(8, 8)) << i;
        EXPECT_LT(bytes.size(), 22050 * 2 * 2) << i; // under two seconds
    }
}

} // namespace
