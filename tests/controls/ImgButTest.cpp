#include "controls/ImgBut.h"

#include "QtTestApp.h"
#include "TempFolder.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const QRgb kStateColours[4] = {qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200),
                               qRgb(200, 200, 0)};

// A strip of `height` rows: four quarters of solid colour, the leftover rows grey, and a
// magenta square in the top-left corner of image 0 only.
QImage MakeStrip(int width, int height)
{
    QImage strip(width, height, QImage::Format_RGB32);
    strip.fill(qRgb(90, 90, 90));
    QPainter p(&strip);
    const int h = height / 4;
    for (int k = 0; k < 4; ++k)
        p.fillRect(0, k * h, width, h, QColor(kStateColours[k]));
    p.fillRect(0, 0, 5, 5, QColor(255, 0, 255));
    return strip;
}

class ImgButTest : public ::testing::Test
{
protected:
    void SetUp() override { PaintGround(parent, QColor(10, 20, 30), QSize(200, 200)); }
    std::string strip(int width, int height, const char* name = "strip.bmp")
    {
        return SaveImage(MakeStrip(width, height), folder.file(name));
    }
    QImage shot() { return parent.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QApplication& app = TestApp();
    TempFolder folder;
    QWidget parent;
};

TEST_F(ImgButTest, SizeIsOneQuarterOfTheStripAndMagentaShowsTheParent)
{
    CImgBut button;
    ASSERT_EQ(1, button.CreateButton(QString::fromStdString(strip(60, 100)), &parent, 7, 10, 20));
    EXPECT_EQ(QRect(10, 20, 60, 25), button.geometry());
    EXPECT_TRUE(button.isVisibleTo(&parent));
    const QImage img = shot();
    EXPECT_EQ(kStateColours[0], img.pixel(10 + 30, 20 + 12));
    EXPECT_EQ(qRgb(10, 20, 30), img.pixel(10 + 1, 20 + 1)); // magenta left undrawn
}

TEST_F(ImgButTest, OddHeightStripUsesTheIntegerQuarter)
{
    CImgBut button;
    ASSERT_EQ(1, button.CreateButton(QString::fromStdString(strip(40, 103)), &parent, 1, 0, 0));
    EXPECT_EQ(QSize(40, 25), button.size());
    button.SetCheckedImage(true);
    // Image 3 is rows 75 to 99; the three leftover grey rows never show.
    const QImage img = shot();
    for (int y = 6; y < 25; ++y)
        ASSERT_EQ(kStateColours[3], img.pixel(20, y)) << y;
}

TEST_F(ImgButTest, EachStateDrawsItsImage)
{
    CImgBut button;
    ASSERT_EQ(1, button.CreateButton(QString::fromStdString(strip(60, 100)), &parent, 3, 0, 0));
    parent.show();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    EXPECT_EQ(1, button.StateImage());
    EXPECT_EQ(kStateColours[1], shot().pixel(30, 12));

    button.setDown(true);
    EXPECT_EQ(2, button.StateImage());
    EXPECT_EQ(kStateColours[2], shot().pixel(30, 12)); // rows 50 to 74 of the strip
    button.setDown(false);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(kStateColours[0], shot().pixel(30, 12));

    button.SetLocked(true);
    QApplication::sendEvent(&button, &enter);
    EXPECT_FALSE(button.IsHover());
    EXPECT_EQ(kStateColours[3], shot().pixel(30, 12));
}

TEST_F(ImgButTest, ClicksCarryTheIdAndFollowThePlatformRules)
{
    CImgBut button;
    ASSERT_EQ(1, button.CreateButton(QString::fromStdString(strip(60, 100)), &parent, 10101, 0, 0));
    parent.show();
    QSignalSpy clicks(&button, &CImgBut::Clicked);

    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(30, 12));
    ASSERT_EQ(1, clicks.count());
    EXPECT_EQ(10101, clicks.takeFirst().at(0).toInt());

    // Pressed over the button, released outside it: no click.
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(2, button.StateImage());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(0, clicks.count());

    // A double click is two clicks.
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::mouseDClick(&button, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(2, clicks.count());
}

TEST_F(ImgButTest, MissingStripsFailCleanly)
{
    CImgBut button;
    EXPECT_EQ(
        0, button.CreateButton(QString::fromStdString(folder.file("none.bmp")), &parent, 1, 0, 0));
    EXPECT_EQ(nullptr, button.parentWidget());

    CImgBut other;
    ASSERT_EQ(1, other.CreateButton(QString::fromStdString(strip(60, 100)), &parent, 2, 0, 0));
    EXPECT_EQ(0, other.SetButtonImage(QString::fromStdString(folder.file("none.bmp"))));
    EXPECT_EQ(QSize(60, 25), other.size()); // keeps its size, draws nothing
    EXPECT_EQ(qRgb(10, 20, 30), shot().pixel(30, 12));

    // A new strip of another size keeps the button's size; a Windows-style, wrongly cased
    // name still finds the file.
    strip(80, 40, "Other.bmp");
    const QString windowsName =
        QString::fromStdString(folder.path() + "\\other.BMP").replace('/', '\\');
    EXPECT_EQ(1, other.SetButtonImage(windowsName));
    EXPECT_EQ(QSize(60, 25), other.size());
    EXPECT_EQ(QSize(80, 10), other.StateSize());
}

} // namespace
