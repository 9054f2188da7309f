#include "controls/FontCtrl.h"
#include "controls/LinkFontCtrl.h"

#include "QtTestApp.h"

#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Columns and rows holding text ink (anything not the black ground).
struct Ink
{
    int left = -1, right = -1, top = -1, bottom = -1;
    bool any() const { return left >= 0; }
};

Ink InkOf(const QImage& img, int fromX = 0)
{
    Ink ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = fromX; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xffffff) != 0) {
                if (!ink.any() || x < ink.left)
                    ink.left = x;
                ink.right = std::max(ink.right, x);
                if (ink.top < 0)
                    ink.top = y;
                ink.bottom = y;
            }
    return ink;
}

class LabelTest : public ::testing::Test
{
protected:
    void SetUp() override { PaintGround(parent, Qt::black, QSize(300, 60)); }
    QImage render(CFontCtrl& label)
    {
        return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QApplication& app = TestApp();
    QWidget parent;
};

TEST_F(LabelTest, AmpersandIsShownLiterally)
{
    CFontCtrl one(&parent), two(&parent);
    one.Create(&parent, QRect(0, 0, 200, 20), 1);
    two.Create(&parent, QRect(0, 20, 200, 20), 2);
    one.SetText(QStringLiteral("&"));
    two.SetText(QStringLiteral("&&"));
    const Ink a = InkOf(render(one));
    const Ink b = InkOf(render(two));
    ASSERT_TRUE(a.any());
    // Without mnemonics "&&" is two characters, not one escaped "&".
    EXPECT_GT(b.right - b.left, 3 * (a.right - a.left) / 2);
}

TEST_F(LabelTest, LongTextEndsInAnEllipsisOnOneLine)
{
    CFontCtrl label(&parent);
    label.Create(&parent, QRect(0, 0, 80, 40), 1);
    label.SetHeight(14);
    label.SetText(QStringLiteral("8888888888888888888888\n8888"));
    const QImage img = render(label);
    const Ink all = InkOf(img);
    ASSERT_TRUE(all.any());
    EXPECT_LT(all.right, 80);
    EXPECT_LT(all.bottom, 20); // one line only, top-aligned
    // The last few columns hold the dots of the ellipsis: low ink only, no tall digit.
    const Ink tail = InkOf(img, all.right - 3);
    EXPECT_GT(tail.top, all.top + (all.bottom - all.top) / 2);
}

TEST_F(LabelTest, AlignmentAndUnderlineFollowTheirValues)
{
    struct Case
    {
        int alignment;
        int underline;
        const char* where; // "left", "centre", "right"
        bool underlined;
    };
    const Case cases[] = {{0, 0, "centre", false},
                          {1, 1, "right", true},
                          {2, 2, "left", false},
                          {7, 1, "left", true},
                          {-1, 0, "left", false}};
    for (const Case& c : cases) {
        CFontCtrl label(&parent);
        label.Create(&parent, QRect(0, 0, 200, 24), 1);
        label.SetText(QStringLiteral("一二三"));
        label.SetAlignment(c.alignment);
        label.SetUnderline(c.underline);
        const QImage img = render(label);
        const Ink ink = InkOf(img);
        ASSERT_TRUE(ink.any()) << c.alignment;
        const int mid = (ink.left + ink.right) / 2;
        if (std::string(c.where) == "left")
            EXPECT_LT(ink.left, 5) << c.alignment;
        else if (std::string(c.where) == "right")
            EXPECT_GT(ink.right, 194) << c.alignment;
        else
            EXPECT_NEAR(100, mid, 4) << c.alignment;
        // An underline is a row inked across the whole text.
        bool fullRow = false;
        for (int y = ink.top; y <= ink.bottom && !fullRow; ++y) {
            int run = 0;
            for (int x = ink.left; x <= ink.right; ++x)
                run += (img.pixel(x, y) & 0xffffff) != 0;
            fullRow = run >= (ink.right - ink.left) * 9 / 10;
        }
        EXPECT_EQ(c.underlined, fullRow)
            << "alignment " << c.alignment << " underline " << c.underline;
    }
}

TEST_F(LabelTest, DefaultsDrawWhiteTextAtTwelvePixelsInTheDefaultFace)
{
    CFontCtrl label(&parent);
    label.Create(&parent, QRect(0, 0, 200, 24), 1);
    label.SetText(QStringLiteral("一"));
    EXPECT_EQ(12, label.PaintFont().pixelSize());
    EXPECT_EQ(QFont().family(), label.PaintFont().family());
    const QImage img = render(label);
    // The brightest ink is a neutral, near-white grey (the stroke may be smoothed).
    QRgb brightest = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) > qGray(brightest))
                brightest = img.pixel(x, y);
    EXPECT_GT(qRed(brightest), 200);
    EXPECT_EQ(qRed(brightest), qGreen(brightest));
    EXPECT_EQ(qRed(brightest), qBlue(brightest));
}

TEST_F(LabelTest, LinkOpensItsTargetOnAClickOnly)
{
    CLinkFontCtrl link(&parent);
    link.Create(&parent, QRect(10, 10, 120, 18), 20110);
    link.SetText(QStringLiteral("kefu@example.com"));
    link.SetTarget(QStringLiteral("mailto:kefu@example.com"));
    QStringList opened;
    link.SetOpener([&](const QUrl& url) {
        opened << url.toString();
        return true;
    });
    parent.show();
    EXPECT_EQ(Qt::PointingHandCursor, link.cursor().shape());

    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(QStringList{QStringLiteral("mailto:kefu@example.com")}, opened);

    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(200, 50));
    EXPECT_EQ(1, opened.size());
}

} // namespace
