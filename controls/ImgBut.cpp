#include "controls/ImgBut.h"

#include "controls/SkinImage.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

CImgBut::CImgBut(Cursor cursor) : m_cursor(cursor)
{
    // Skinned buttons take no keyboard focus: Enter and Esc belong to their windows.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
    if (m_cursor == Cursor::Hand)
        setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, [this] { Q_EMIT Clicked(m_id); });
}

CImgBut::~CImgBut() = default;

bool CImgBut::loadStrip(const QString& file)
{
    m_strip = Skin::Keyed(Skin::LoadBitmap(file));
    return !m_strip.isNull();
}

QSize CImgBut::StateSize() const
{
    if (m_strip.isNull())
        return {};
    return {m_strip.width(), m_strip.height() / 4};
}

int CImgBut::CreateButton(const QString& file, QWidget* parent, int id, int x, int y)
{
    if (!loadStrip(file))
        return 0;
    m_id = id;
    setParent(parent);
    setGeometry(QRect(QPoint(x, y), StateSize()));
    show();
    return 1;
}

int CImgBut::SetButtonImage(const QString& file)
{
    m_strip = QImage();
    const bool loaded = loadStrip(file);
    update();
    return loaded ? 1 : 0;
}

void CImgBut::SetTooltipText(const QString& text)
{
    if (text.isEmpty())
        return;
    setToolTip(text);
}

void CImgBut::SetLocked(bool locked)
{
    m_bLocked = locked;
    if (locked)
        m_bHover = false;
    update();
}

void CImgBut::SetCheckedImage(bool checked)
{
    m_bChecked = checked;
    update();
}

int CImgBut::StateImage() const
{
    if (m_bLocked || m_bChecked)
        return 3;
    if (isDown())
        return 2;
    if (m_bHover)
        return 1;
    return 0;
}

void CImgBut::paintEvent(QPaintEvent*)
{
    const QSize state = StateSize();
    if (state.isEmpty())
        return;
    QPainter painter(this);
    // Image 0 lies under every other state, so a state image may leave parts transparent.
    Skin::DrawKeyed(painter, QPoint(0, 0), m_strip, QRect(QPoint(0, 0), state));
    const int k = StateImage();
    if (k != 0)
        Skin::DrawKeyed(painter, QPoint(0, 0), m_strip,
                        QRect(QPoint(0, k * state.height()), state));
}

void CImgBut::enterEvent(QEnterEvent* event)
{
    if (!m_bLocked) {
        m_bHover = true;
        update();
    }
    QAbstractButton::enterEvent(event);
}

void CImgBut::leaveEvent(QEvent* event)
{
    if (!m_bLocked) {
        m_bHover = false;
        update();
    }
    QAbstractButton::leaveEvent(event);
}

void CImgBut::mouseMoveEvent(QMouseEvent* event)
{
    if (m_bLocked) {
        event->accept();
        return;
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CImgBut::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_bLocked) {
        event->accept();
        return;
    }
    // The second click of a double click presses the button again, so it clicks twice.
    mousePressEvent(event);
}
