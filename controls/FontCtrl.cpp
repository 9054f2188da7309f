#include "controls/FontCtrl.h"

#include <QFontMetrics>
#include <QPainter>

CFontCtrl::CFontCtrl(QWidget* parent) : QWidget(parent) {}

void CFontCtrl::Create(QWidget* parent, const QRect& rect, int id)
{
    m_id = id;
    setParent(parent);
    setGeometry(rect);
    show();
}

void CFontCtrl::SetText(const QString& text)
{
    m_text = text;
    update();
}

void CFontCtrl::SetFaceName(const QString& face)
{
    // A face name holds at most 31 bytes; cut between characters.
    QString cut = face;
    while (cut.toUtf8().size() > 31)
        cut.chop(1);
    m_faceName = cut;
    update();
}

void CFontCtrl::SetHeight(int height)
{
    m_height = height;
    update();
}

void CFontCtrl::SetColour(const QColor& colour)
{
    m_colour = colour;
    update();
}

void CFontCtrl::SetAlignment(int alignment)
{
    m_alignment = alignment;
    update();
}

void CFontCtrl::SetUnderline(int underline)
{
    m_underline = underline;
    update();
}

QFont CFontCtrl::PaintFont() const
{
    QFont font;
    if (!m_faceName.isEmpty())
        font.setFamilies({m_faceName});
    if (m_height != 0)
        font.setPixelSize(qAbs(m_height));
    font.setUnderline(m_underline == 1);
    return font;
}

void CFontCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFont font = PaintFont();
    painter.setFont(font);
    painter.setPen(m_colour);
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (m_alignment == Centre)
        horizontal = Qt::AlignHCenter;
    else if (m_alignment == Right)
        horizontal = Qt::AlignRight;
    QString line = m_text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString shown = QFontMetrics(font).elidedText(line, Qt::ElideRight, width());
    painter.drawText(rect(), horizontal | Qt::AlignTop | Qt::TextSingleLine, shown);
}
