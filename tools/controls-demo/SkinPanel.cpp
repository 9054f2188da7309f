#include "tools/controls-demo/SkinPanel.h"

#include "controls/SkinImage.h"

#include <QPainter>

SkinPanel::SkinPanel(const QString& background, QWidget* parent, int x, int y)
    : QWidget(parent), m_background(Skin::Keyed(Skin::LoadSection(background)))
{
    setGeometry(x, y, m_background.width(), m_background.height());
}

void SkinPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_background);
}
