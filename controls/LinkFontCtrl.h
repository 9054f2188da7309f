#pragma once

#include "controls/FontCtrl.h"

#include <functional>

class QUrl;

// A label that is a hyperlink: the hand cursor over it, and a click opens its target (a web
// address or a "mailto:" address) with the desktop's default handler.
class CLinkFontCtrl : public CFontCtrl
{
    Q_OBJECT
public:
    using Opener = std::function<bool(const QUrl&)>;

    explicit CLinkFontCtrl(QWidget* parent = nullptr);

    void SetTarget(const QString& target);
    QString Target() const { return m_target; }
    // Replaces the desktop's handler (for tests and for hosts that open links themselves).
    void SetOpener(Opener opener);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_target;
    Opener m_opener;
    bool m_pressed = false;
};
