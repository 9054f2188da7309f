#include "controls/LinkFontCtrl.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

CLinkFontCtrl::CLinkFontCtrl(QWidget* parent)
    : CFontCtrl(parent), m_opener([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    setCursor(Qt::PointingHandCursor);
}

void CLinkFontCtrl::SetTarget(const QString& target)
{
    m_target = target;
}

void CLinkFontCtrl::SetOpener(Opener opener)
{
    m_opener = std::move(opener);
}

void CLinkFontCtrl::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void CLinkFontCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click && !m_target.isEmpty() && m_opener)
        m_opener(QUrl(m_target));
}
