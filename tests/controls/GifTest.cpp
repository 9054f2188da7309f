#include "controls/GifAnimation.h"
#include "controls/GifWalker.h"
#include "controls/PictureEx.h"

#include "QtTestApp.h"
#include "TempFolder.h"
#include "tools/skingen/GifEncoder.h"

#include <QBuffer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const std::vector<std::uint32_t> kPalette = {0xff0000, 0x00ff00, 0x0000ff, 0xffffff};

GifEncoder::Frame Solid(int left, int top, int w, int h, int index, int delay, int disposal)
{
    GifEncoder::Frame f;
    f.left = left;
    f.top = top;
    f.width = w;
    f.height = h;
    f.pixels.assign(static_cast<size_t>(w * h), static_cast<std::uint8_t>(index));
    f.delay = delay;
    f.disposal = disposal;
    return f;
}

// A 4 x 4 animation: red all over, a green 2 x 2 square at (2, 2), a blue pixel at (0, 0).
std::vector<std::uint8_t> ThreeFrames(int disposal2 = 0, int delay1 = 0)
{
    return GifEncoder::Encode(4, 4, kPalette, 3,
                              {Solid(0, 0, 4, 4, 0, delay1, 0), Solid(2, 2, 2, 2, 1, 5, disposal2),
                               Solid(0, 0, 1, 1, 2, 7, 0)},
                              true);
}

QByteArray Bytes(const std::vector<std::uint8_t>& v)
{
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

TEST(GifWalkerTest, FindsEveryFrameWithItsDelayDisposalAndRectangle)
{
    const auto gif = ThreeFrames(3, 4);
    const auto frames = Gif::ExtractFrames(gif.data(), gif.size());
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ(3u, Gif::CountFrames(gif.data(), gif.size()));
    EXPECT_EQ(4, frames[0].delay);
    EXPECT_EQ(3, frames[1].disposal);
    EXPECT_EQ(2, frames[1].left);
    EXPECT_EQ(2, frames[1].height);
    EXPECT_EQ(7, frames[2].delay);
    Gif::Header header;
    ASSERT_TRUE(Gif::ReadHeader(gif.data(), gif.size(), header));
    EXPECT_EQ(12u, header.globalTableSize);
    ASSERT_TRUE(header.hasBackground);
    EXPECT_EQ(255, header.background[2]); // entry 3, white
    // Each frame is a GIF of its own that the platform reader decodes.
    for (const auto& f : frames)
        EXPECT_FALSE(QImage::fromData(Bytes(f.gif), "GIF").isNull());
}

TEST(GifWalkerTest, FramesWithoutControlBlockHaveNoDelay)
{
    auto plain = Solid(0, 0, 4, 4, 0, 0, 0);
    plain.control = false;
    const auto gif = GifEncoder::Encode(4, 4, kPalette, 0, {plain, plain}, false);
    const auto frames = Gif::ExtractFrames(gif.data(), gif.size());
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(-1, frames[0].delay);
    EXPECT_EQ(100, GifAnimation::WaitMs(frames[0].delay));
}

TEST(GifWalkerTest, DamagedFilesEndTheWalkCleanly)
{
    const auto good = ThreeFrames();
    struct Case
    {
        const char* what;
        std::vector<std::uint8_t> data;
        size_t frames;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, 0});
    cases.push_back({"signature only", {'G', 'I', 'F', '8', '9', 'a'}, 0});
    cases.push_back({"not a GIF", {'G', 'I', 'F', '8', '8', 'a', 0, 0, 0, 0, 0, 0, 0}, 0});
    auto table = good;
    table.resize(20); // inside the global colour table
    cases.push_back({"cut in the global table", table, 0});
    // Cut anywhere before the trailer: the frame that was cut is lost, the ones before stay.
    for (size_t cut = 26; cut + 1 < good.size(); ++cut) {
        auto t = good;
        t.resize(cut);
        const size_t whole = Gif::CountFrames(good.data(), good.size());
        cases.push_back({"truncated", t, whole}); // upper bound checked below
    }
    auto longSub = good;
    // The first image's data sub-block claims more bytes than the file holds.
    for (size_t i = 13 + 12; i + 11 < longSub.size(); ++i)
        if (longSub[i] == ',') {
            longSub[i + 11] = 0xFF;
            break;
        }
    cases.push_back({"sub-block past the end", longSub, 0});
    auto localTable = good;
    for (size_t i = 13 + 12; i + 9 < localTable.size(); ++i)
        if (localTable[i] == ',') {
            localTable[i + 9] = 0x87; // a 768-byte local table the file does not hold
            break;
        }
    cases.push_back({"local table past the end", localTable, 0});

    for (const Case& c : cases) {
        const size_t count = Gif::CountFrames(c.data.data(), c.data.size());
        const auto frames = Gif::ExtractFrames(c.data.data(), c.data.size());
        EXPECT_EQ(count, frames.size()) << c.what;
        if (std::string(c.what) == "truncated") {
            EXPECT_LT(count, c.frames) << c.what << " " << c.data.size();
        } else {
            EXPECT_EQ(c.frames, count) << c.what;
        }
        for (const auto& f : frames)
            EXPECT_LE(f.gif.size(), c.data.size() + 1) << c.what;
    }
}

class GifAnimationTest : public ::testing::Test
{
protected:
    QApplication& app = TestApp();
};

TEST_F(GifAnimationTest, DisposalMethodsAndTheRestartClear)
{
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    const QRgb back = qRgb(10, 20, 30);
    struct Case
    {
        int disposal;
        QRgb underSquareAfter; // (3, 3) once the green frame is disposed of
    };
    for (const Case c : {Case{0, green}, Case{1, green}, Case{2, back}, Case{3, red}}) {
        GifAnimation anim;
        ASSERT_TRUE(anim.Load(Bytes(ThreeFrames(c.disposal))));
        ASSERT_EQ(3, anim.FrameCount());
        anim.SetBackground(QColor(back));
        EXPECT_EQ(100, anim.ShowCurrent()); // delay 0
        EXPECT_EQ(red, anim.Canvas().pixel(3, 3) | 0xff000000u);
        anim.Advance();
        EXPECT_EQ(50, anim.ShowCurrent()); // delay 5
        EXPECT_EQ(green, anim.Canvas().pixel(3, 3) | 0xff000000u);
        anim.Advance();
        EXPECT_EQ(c.underSquareAfter, anim.Canvas().pixel(3, 3) | 0xff000000u) << c.disposal;
        EXPECT_EQ(70, anim.ShowCurrent());
        EXPECT_EQ(blue, anim.Canvas().pixel(0, 0) | 0xff000000u);
        anim.Advance(); // past the last frame: cleared before the first shows again
        EXPECT_EQ(0, anim.CurrentFrame());
        EXPECT_EQ(back, anim.Canvas().pixel(0, 0) | 0xff000000u);
        EXPECT_EQ(back, anim.Canvas().pixel(3, 3) | 0xff000000u);
    }
}

TEST_F(GifAnimationTest, RefusesWhatCannotBeShown)
{
    GifAnimation anim;
    auto huge = ThreeFrames();
    huge[6] = huge[7] = huge[8] = huge[9] = 0xFF; // a 65535 x 65535 screen
    EXPECT_FALSE(anim.Load(Bytes(huge)));
    EXPECT_FALSE(anim.IsLoaded());

    auto zero = GifEncoder::Encode(4, 4, kPalette, 0,
                                   {Solid(0, 0, 0, 0, 0, 0, 0), Solid(0, 0, 0, 0, 0, 0, 0)}, false);
    EXPECT_FALSE(anim.Load(Bytes(zero)));
    auto noFrames = ThreeFrames();
    noFrames.resize(13 + 12);
    noFrames.push_back(';');
    EXPECT_FALSE(anim.Load(Bytes(noFrames)));
    EXPECT_FALSE(anim.Load(QByteArray("not a picture at all")));
}

class PictureExTest : public GifAnimationTest
{
protected:
    TempFolder folder;
};

TEST_F(PictureExTest, SingleFrameGifIsStillAndWithoutThread)
{
    CPictureEx picture;
    ASSERT_TRUE(picture.LoadFromMemory(
        Bytes(GifEncoder::Encode(6, 5, kPalette, 0, {Solid(0, 0, 6, 5, 1, 0, 0)}, false))));
    EXPECT_TRUE(picture.IsGif());
    EXPECT_EQ(QSize(6, 5), picture.size());
    EXPECT_TRUE(picture.Draw());
    EXPECT_FALSE(picture.IsPlaying());
    EXPECT_EQ(qRgb(0, 255, 0), picture.Snapshot().pixel(3, 3) | 0xff000000u);
}

TEST_F(PictureExTest, OtherPicturesShowAtTheirOwnSize)
{
    QImage png(9, 7, QImage::Format_RGB32);
    png.fill(qRgb(1, 2, 3));
    const QString path = QString::fromStdString(SaveImage(png, folder.file("p.png")));
    CPictureEx picture;
    ASSERT_TRUE(picture.Load(path));
    EXPECT_FALSE(picture.IsGif());
    EXPECT_EQ(QSize(9, 7), picture.size());
    picture.Draw();
    EXPECT_FALSE(picture.IsPlaying());
    EXPECT_EQ(qRgb(1, 2, 3), picture.Snapshot().pixel(8, 6) | 0xff000000u);

    EXPECT_FALSE(picture.Load(QString::fromStdString(folder.file("missing.gif"))));
    EXPECT_EQ(0, picture.FrameCount());
    EXPECT_FALSE(picture.Draw());
}

TEST_F(PictureExTest, AnimationRunsOnItsThreadUntilStopped)
{
    CPictureEx picture;
    ASSERT_TRUE(picture.LoadFromMemory(Bytes(ThreeFrames())));
    EXPECT_EQ(3, picture.FrameCount());
    picture.SetBkColor(QColor(226, 234, 240));
    EXPECT_EQ(qRgb(226, 234, 240), picture.Snapshot().pixel(0, 0) | 0xff000000u);
    ASSERT_TRUE(picture.Draw());
    EXPECT_TRUE(picture.IsPlaying());
    // The first frame is painted red over the whole picture.
    QTRY_VERIFY_WITH_TIMEOUT((picture.Snapshot().pixel(1, 1) | 0xff000000u) != qRgb(226, 234, 240),
                             5000);
    picture.Stop();
    EXPECT_FALSE(picture.IsPlaying());
    // Stopping twice, and destroying a playing control, are both safe.
    picture.Stop();
    picture.Draw();
}

} // namespace
