#pragma once

#include <QImage>
#include <QWidget>

// A stand-in window: a skin background drawn with magenta transparent.
class SkinPanel : public QWidget
{
public:
    SkinPanel(const QString& background, QWidget* parent, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_background;
};
