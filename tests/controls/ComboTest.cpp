#include "controls/BitListBox.h"
#include "controls/NewBitComboBox.h"

#include "QtTestApp.h"
#include "TempFolder.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QRgb kLeft = qRgb(200, 0, 0);
const QRgb kMiddle = qRgb(0, 200, 0);
const QRgb kRight = qRgb(0, 0, 200);
const QRgb kGround = qRgb(40, 40, 40);

class ComboTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PaintGround(parent, QColor(kGround), QSize(300, 300));
        left = solid(8, 20, kLeft, "l.bmp");
        middle = solid(4, 20, kMiddle, "c.bmp");
        right = solid(16, 20, kRight, "r.bmp");
    }
    QString solid(int w, int h, QRgb colour, const char* name)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(colour);
        return QString::fromStdString(SaveImage(img, folder.file(name)));
    }
    QImage shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QApplication& app = TestApp();
    TempFolder folder;
    QWidget parent;
    QString left, middle, right;
};

TEST_F(ComboTest, ClosedBoxIsPaintedFromItsThreeImages)
{
    CNewBitComboBox combo;
    combo.Create(CNewBitComboBox::DropDownList, QRect(10, 10, 100, 200), &parent, 10090);
    combo.SetComboImages(left, right, middle);
    EXPECT_EQ(QRect(10, 10, 100, 20), combo.geometry());
    const QImage img = shot(combo);
    EXPECT_EQ(kLeft, img.pixel(3, 10));
    EXPECT_EQ(kMiddle, img.pixel(50, 10));
    EXPECT_EQ(kMiddle, img.pixel(83, 10)); // stretched up to the right end
    EXPECT_EQ(kRight, img.pixel(84, 10));
    EXPECT_EQ(kRight, img.pixel(99, 10));
}

TEST_F(ComboTest, NarrowComboDrawsNoMiddleAndMissingImagesStayUnpainted)
{
    CNewBitComboBox narrow;
    narrow.Create(CNewBitComboBox::DropDownList, QRect(0, 0, 20, 100), &parent, 1);
    narrow.SetComboImages(left, right, middle);
    QImage img = shot(narrow);
    for (int x = 0; x < 20; ++x)
        EXPECT_NE(kMiddle, img.pixel(x, 10)) << x;

    CNewBitComboBox missing;
    missing.Create(CNewBitComboBox::DropDownList, QRect(0, 40, 100, 100), &parent, 2);
    missing.SetComboImages(left, right, QString::fromStdString(folder.file("none.bmp")));
    img = parent.grab(missing.geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(kLeft, img.pixel(2, 10));
    EXPECT_EQ(kGround, img.pixel(50, 10));
    EXPECT_EQ(kRight, img.pixel(97, 10));
}

TEST_F(ComboTest, OrdinarySignalsReachTheOwner)
{
    CNewBitComboBox search;
    search.Create(CNewBitComboBox::DropDown, QRect(27, 41, 154, 143), &parent, 10116);
    search.SetComboImages(left, right, middle);
    QSignalSpy edits(&search, &QComboBox::editTextChanged);
    ASSERT_NE(nullptr, search.lineEdit());
    // The edit field sits between the ends, its text 2 pixels behind the left image.
    EXPECT_EQ(10, search.lineEdit()->geometry().left());
    EXPECT_EQ(10 + 154 - 10 - 16, search.lineEdit()->geometry().right() + 1);
    parent.show();
    QTest::keyClicks(search.lineEdit(), QStringLiteral("600"));
    EXPECT_EQ(3, edits.count());

    CNewBitComboBox list;
    list.Create(CNewBitComboBox::DropDownList, QRect(145, 116, 122, 275), &parent, 10090);
    QSignalSpy selections(&list, &QComboBox::currentIndexChanged);
    list.addItems({QStringLiteral(" .提示音一"), QStringLiteral(" .提示音二")});
    list.setCurrentIndex(1);
    EXPECT_EQ(QStringLiteral(" .提示音二"), list.currentText());
    EXPECT_EQ(2, selections.count()); // the first item became current, then the second
}

TEST_F(ComboTest, ListIsWhiteWithItemsIndentedByTwoPixels)
{
    CNewBitComboBox combo;
    combo.Create(CNewBitComboBox::DropDownList, QRect(0, 0, 120, 200), &parent, 1);
    combo.SetItemHeight(20);
    combo.addItems({QStringLiteral("大于2"), QStringLiteral("大于3")});
    parent.show();
    combo.showPopup();
    CBitListBox* list = combo.List();
    ASSERT_TRUE(list->isVisible());
    QTest::mouseMove(&parent, QPoint(290, 290)); // the pointer is not over the list
    const QImage img = shot(*list->viewport());
    combo.hidePopup();
    // Item 1 is neither current nor under the pointer.
    const QRect item = list->visualRect(combo.model()->index(1, 0));
    EXPECT_EQ(20, item.height());
    int firstInk = -1;
    for (int x = 0; x < item.width() && firstInk < 0; ++x)
        for (int y = item.top(); y <= item.bottom(); ++y)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) {
                firstInk = x;
                break;
            }
    EXPECT_GE(firstInk, 2);
    EXPECT_EQ(qRgb(255, 255, 255), img.pixel(1, item.center().y()));
    EXPECT_EQ(qRgb(255, 255, 255), img.pixel(item.right() - 1, item.top() + 1));
}

} // namespace
