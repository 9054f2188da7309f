#include "controls/NewBitComboBox.h"

#include "controls/BitListBox.h"

#include <QLineEdit>
#include <QPainter>

namespace {
const int kDefaultBoxHeight = 20;
}

CNewBitComboBox::CNewBitComboBox(QWidget* parent) : QComboBox(parent), m_list(new CBitListBox(this))
{
    setView(m_list);
    setFont(BoxFont());
    m_list->setFont(BoxFont());
    setFocusPolicy(Qt::StrongFocus);
}

QFont CNewBitComboBox::BoxFont()
{
    QFont font;
    // "宋体" where the system has it, else the CJK faces every desktop we support carries.
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPixelSize(12);
    return font;
}

void CNewBitComboBox::Create(Kind kind, const QRect& rect, QWidget* parent, int id)
{
    m_id = id;
    setParent(parent);
    setEditable(kind == DropDown);
    if (QLineEdit* edit = lineEdit()) {
        edit->setFrame(false);
        edit->setFont(BoxFont());
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Base, Qt::transparent);
        pal.setColor(QPalette::Text, Qt::black);
        edit->setPalette(pal);
        edit->setAutoFillBackground(false);
    }
    const int boxHeight = m_middle.IsEmpty() ? kDefaultBoxHeight : m_middle.Height();
    m_listHeight = rect.height() - boxHeight;
    setGeometry(rect.x(), rect.y(), rect.width(), boxHeight);
    fitList();
    show();
}

void CNewBitComboBox::SetComboImages(const QString& left, const QString& right,
                                     const QString& middle)
{
    m_left.Load(left);
    m_right.Load(right);
    m_middle.Load(middle);
    if (!m_middle.IsEmpty() && m_middle.Height() != height()) {
        // Keep the bottom of the whole control (box and list) where the owner put it.
        m_listHeight += height() - m_middle.Height();
        resize(width(), m_middle.Height());
        fitList();
    }
    placeEditor();
    update();
}

void CNewBitComboBox::SetComboFont(const QFont& font, const QColor&)
{
    setFont(font);
    m_list->setFont(font);
    if (QLineEdit* edit = lineEdit())
        edit->setFont(font);
}

void CNewBitComboBox::SetItemHeight(int height)
{
    m_list->SetItemHeight(height);
    fitList();
}

void CNewBitComboBox::fitList()
{
    if (m_listHeight <= 0)
        return;
    setMaxVisibleItems(qMax(1, m_listHeight / m_list->ItemHeight()));
}

void CNewBitComboBox::placeEditor()
{
    QLineEdit* edit = lineEdit();
    if (edit == nullptr)
        return;
    const int left = m_left.Width() + 2;
    const int right = m_right.Width();
    edit->setGeometry(left, 0, qMax(0, width() - left - right), height());
}

void CNewBitComboBox::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    placeEditor();
}

void CNewBitComboBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = rect();
    if (!m_left.IsEmpty())
        painter.drawImage(QPoint(r.left(), r.top()), m_left.Image());
    if (!m_right.IsEmpty())
        painter.drawImage(QPoint(r.right() + 1 - m_right.Width(), r.top()), m_right.Image());
    const int middleWidth = r.width() - m_left.Width() - m_right.Width();
    if (!m_middle.IsEmpty() && middleWidth > 0)
        painter.drawImage(QRect(r.left() + m_left.Width(), r.top(), middleWidth, m_middle.Height()),
                          m_middle.Image());
    // An editable box shows its text in its own edit field.
    if (isEditable())
        return;
    painter.setFont(BoxFont());
    painter.setPen(Qt::black);
    painter.drawText(r.adjusted(m_left.Width() + 2, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, currentText());
}
