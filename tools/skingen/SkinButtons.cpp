#include "tools/skingen/SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

using namespace Style;

namespace {

enum class Kind
{
    Primary,   // blue, white caption: the main action of a window
    Secondary, // light, dark caption
    Flat       // no face until the pointer is over it (bars of the main panel)
};

struct Face
{
    QColor top, bottom, border, text;
};

Face FaceFor(Kind kind, int state)
{
    if (state == 3)
        return {QColor(222, 226, 230), QColor(206, 211, 216), QColor(176, 184, 192),
                QColor(150, 156, 162)};
    if (kind == Kind::Primary) {
        if (state == 1)
            return {QColor(96, 160, 226), QColor(58, 124, 196), QColor(38, 92, 150), Qt::white};
        if (state == 2)
            return {QColor(38, 94, 156), QColor(50, 110, 176), QColor(28, 72, 122), Qt::white};
        return {QColor(78, 142, 210), QColor(47, 109, 176), QColor(36, 88, 146), Qt::white};
    }
    if (state == 1)
        return {QColor(255, 255, 255), QColor(226, 238, 250), QColor(110, 150, 196), kText};
    if (state == 2)
        return {QColor(204, 218, 232), QColor(226, 234, 242), QColor(110, 150, 196), kText};
    return {QColor(250, 252, 253), QColor(222, 230, 238), QColor(159, 179, 200), kText};
}

// A rounded push button with a caption.
QImage Push(int w, int h, Kind kind, const QString& caption, const QColor& matte, int px = 13)
{
    return Strip(w, h, matte, [&](QPainter& p, const QRect& r, int k) {
        const Face f = FaceFor(kind, k);
        const QRectF box = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient g(box.topLeft(), box.bottomLeft());
        g.setColorAt(0, f.top);
        g.setColorAt(1, f.bottom);
        p.setPen(QPen(f.border, 1));
        p.setBrush(g);
        p.drawRoundedRect(box, 3, 3);
        const QRect text = k == 2 ? r.translated(0, 1) : r;
        Text(p, text, caption, px, f.text, kind == Kind::Primary, Qt::AlignCenter);
    });
}

// A tab of the main panel: the chosen one white and joined to the page below.
QImage Tab(int w, int h, const QString& caption, bool chosen)
{
    return Strip(w, h, kMainPanel, [&](QPainter& p, const QRect& r, int k) {
        QPainterPath path;
        const QRectF box = QRectF(r).adjusted(0.5, 2.5, -0.5, 0.5);
        path.moveTo(box.bottomLeft());
        path.lineTo(box.left(), box.top() + 4);
        path.quadTo(box.topLeft(), QPointF(box.left() + 4, box.top()));
        path.lineTo(box.right() - 4, box.top());
        path.quadTo(box.topRight(), QPointF(box.right(), box.top() + 4));
        path.lineTo(box.bottomRight());
        QColor top = chosen ? QColor(255, 255, 255) : QColor(236, 243, 248);
        QColor bottom = chosen ? QColor(255, 255, 255) : QColor(212, 226, 236);
        if (!chosen && k == 1) {
            top = QColor(250, 252, 254);
            bottom = QColor(228, 238, 246);
        } else if (!chosen && k == 2) {
            top = QColor(204, 218, 232);
            bottom = QColor(220, 232, 242);
        }
        QLinearGradient g(box.topLeft(), box.bottomLeft());
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        p.setPen(QPen(kLine, 1));
        p.setBrush(g);
        p.drawPath(path);
        if (chosen)
            p.fillRect(QRectF(box.left() + 1, box.top() + 1, box.width() - 2, 2), kRise);
        else
            p.fillRect(QRectF(box.left(), box.bottom() - 0.5, box.width(), 1), kLine);
        Text(p, r.adjusted(0, 3, 0, 0), caption, 13, chosen ? kAccent : kText, chosen,
             Qt::AlignCenter);
    });
}

// A title-band glyph button (minimise, close): white glyph, a face on hover and press.
QImage BandGlyph(int w, int h, const QRect& glyph, bool close)
{
    return Strip(w, h, kBannerMid, [&](QPainter& p, const QRect&, int k) {
        if (k == 1 || k == 2) {
            const QColor face =
                close ? (k == 1 ? QColor(232, 72, 60) : QColor(190, 48, 40))
                      : (k == 1 ? QColor(255, 255, 255, 70) : QColor(20, 50, 90, 110));
            p.setPen(Qt::NoPen);
            p.setBrush(face);
            p.drawRoundedRect(QRectF(glyph), 3, 3);
        }
        p.setPen(
            QPen(k == 3 ? QColor(170, 190, 210) : Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        const QRectF g = QRectF(glyph).adjusted(5, 5, -5, -5);
        if (close) {
            p.drawLine(g.topLeft(), g.bottomRight());
            p.drawLine(g.topRight(), g.bottomLeft());
        } else {
            p.drawLine(QPointF(g.left(), g.bottom()), QPointF(g.right(), g.bottom()));
        }
    });
}

// A button of the main panel's bottom bar: an icon and a caption, a face under the pointer.
QImage BarButton(int w, int h, const QString& caption, bool separator,
                 const std::function<void(QPainter&, const QRectF&, const QColor&)>& icon)
{
    return Strip(w, h, QColor(224, 234, 242), [&](QPainter& p, const QRect& r, int k) {
        if (k == 1 || k == 2) {
            p.setPen(Qt::NoPen);
            p.setBrush(k == 1 ? QColor(255, 255, 255, 150) : QColor(180, 200, 220, 200));
            p.drawRect(QRectF(r).adjusted(1, 2, -1, -1));
        }
        const QColor ink = k == 3 ? QColor(150, 156, 162) : kText;
        const QFontMetrics fm(Font(12));
        const int textWidth = fm.horizontalAdvance(caption);
        const int left = (w - (16 + 5 + textWidth)) / 2 + (k == 2 ? 1 : 0);
        icon(p, QRectF(left, (h - 16) / 2.0 + (k == 2 ? 1 : 0), 16, 16), ink);
        Text(p, QRect(left + 21, k == 2 ? 1 : 0, textWidth + 2, h), caption, 12, ink);
        if (separator)
            p.fillRect(QRect(w - 1, 8, 1, h - 16), kLine);
    });
}

void PersonIcon(QPainter& p, const QRectF& r, const QColor&)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 160, 172));
    p.drawEllipse(QRectF(r.left() + 4.5, r.top() + 1, 7, 7));
    p.drawRoundedRect(QRectF(r.left() + 1.5, r.top() + 9, 13, 7), 3.5, 3.5);
}

void GearIcon(QPainter& p, const QRectF& r, const QColor&)
{
    p.save();
    p.translate(r.center());
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-1.6, -8, 3.2, 4));
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 5.6, 5.6);
    p.setBrush(QColor(224, 234, 242));
    p.drawEllipse(QPointF(0, 0), 2.4, 2.4);
    p.restore();
}

void HelpIcon(QPainter& p, const QRectF& r, const QColor&)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(232, 140, 40));
    p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
    Text(p, r.toRect().adjusted(0, 0, 1, 0), QStringLiteral("?"), 12, Qt::white, true,
         Qt::AlignCenter);
}

// Combo ends: left cap, stretchable middle, right cap with the drop arrow.
QImage ComboPart(int w, int h, int part, bool search, const QColor& matte)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Each part is a slice of one rounded box: the left cap, the middle, the right cap.
    QRectF shape(-4, 0.5, w + 8, h - 1);
    if (part == 0)
        shape = QRectF(0.5, 0.5, w + 4, h - 1);
    else if (part == 2)
        shape = QRectF(-4, 0.5, w + 3.5, h - 1);
    p.setPen(QPen(QColor(150, 172, 196), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(shape, 3, 3);
    if (part == 0 && search) {
        p.setPen(QPen(QColor(120, 140, 160), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(6, 4.5, 8, 8));
        p.drawLine(QPointF(12.8, 11.5), QPointF(16.5, 15.2));
    }
    if (part == 2) {
        p.fillRect(QRectF(0, 3, 1, h - 6), QColor(214, 224, 234));
        QPainterPath arrow;
        const qreal cx = w / 2.0;
        arrow.moveTo(cx - 4, h / 2.0 - 2);
        arrow.lineTo(cx + 4, h / 2.0 - 2);
        arrow.lineTo(cx, h / 2.0 + 2.5);
        arrow.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawPath(arrow);
    }
    p.end();
    return Flatten(img, matte);
}

} // namespace

void AddButtons(SkinSet& skin)
{
    auto bmp = [&](const char* name, const QImage& image) {
        skin[QString::fromLatin1(name)] = Bmp(image);
    };
    const QColor footer(224, 234, 242);
    const QColor footerPanel(222, 231, 239);

    // Title-band buttons shared by every window; the glyphs keep left of x 20 so the close
    // button also fits the 175-pixel alert pop-up.
    bmp("main_min.bmp", BandGlyph(36, 24, QRect(15, 3, 18, 18), false));
    bmp("main_close.bmp", BandGlyph(24, 24, QRect(2, 3, 18, 18), true));
    bmp("close.bmp", BandGlyph(36, 26, QRect(9, 4, 18, 18), true));

    // Main panel.
    bmp("add.bmp", Push(50, 22, Kind::Primary, QStringLiteral("添加"), kMainPanel, 12));
    bmp("Diagn.bmp", Push(50, 22, Kind::Secondary, QStringLiteral("诊断"), kMainPanel, 12));
    bmp("self1.bmp", Tab(88, 28, QStringLiteral("自选股"), false));
    bmp("self2.bmp", Tab(88, 28, QStringLiteral("自选股"), true));
    bmp("star1.bmp", Tab(84, 28, QStringLiteral("鸮瞳排行"), false));
    bmp("star2.bmp", Tab(84, 28, QStringLiteral("鸮瞳排行"), true));
    bmp("zhen1.bmp", Tab(80, 28, QStringLiteral("个股诊断"), false));
    bmp("zhen2.bmp", Tab(80, 28, QStringLiteral("个股诊断"), true));
    bmp("logingrey.bmp", BarButton(98, 34, QStringLiteral("用户登录"), true, PersonIcon));
    bmp("set.bmp", BarButton(97, 34, QStringLiteral("系统设置"), true, GearIcon));
    bmp("help.bmp", BarButton(99, 34, QStringLiteral("帮助"), false, HelpIcon));
    bmp("main_l.bmp", ComboPart(22, 20, 0, true, kMainPanel));
    bmp("main_c.bmp", ComboPart(4, 20, 1, true, kMainPanel));
    bmp("main_r.bmp", ComboPart(20, 20, 2, true, kMainPanel));
    bmp("shuaxin.bmp", Push(64, 26, Kind::Primary, QStringLiteral("刷新"), Qt::white));

    // Dialogs.
    bmp("l.bmp", ComboPart(4, 20, 0, false, kPanel));
    bmp("c.bmp", ComboPart(4, 20, 1, false, kPanel));
    bmp("r.bmp", ComboPart(18, 20, 2, false, kPanel));
    bmp("ok.bmp", Push(64, 26, Kind::Primary, QStringLiteral("确定"), footerPanel));
    bmp("cancel.bmp", Push(64, 26, Kind::Secondary, QStringLiteral("取消"), footerPanel));
    bmp("save.bmp", Push(64, 26, Kind::Primary, QStringLiteral("保存"), footerPanel));
    bmp("clear.bmp", Push(64, 26, Kind::Secondary, QStringLiteral("清除"), footerPanel));
    bmp("pa.bmp", Push(86, 24, Kind::Secondary, QStringLiteral("在线客服"), kPanel, 12));

    // Login panel.
    bmp("login.bmp", Push(102, 34, Kind::Primary, QStringLiteral("登  录"), kPanel, 15));
    bmp("recode.bmp", Push(48, 22, Kind::Secondary, QStringLiteral("换一张"), kPanel, 12));
    bmp("forget.bmp", Strip(146, 23, footer, [](QPainter& p, const QRect& r, int k) {
            Text(p, r, QStringLiteral("忘记密码"), 12, k == 1 ? kAccent : kSubtle, false,
                 Qt::AlignCenter);
            if (k == 1 || k == 2)
                p.fillRect(QRect(45, 17, 56, 1), kAccent);
        }));
    bmp("register.bmp", Strip(148, 23, footer, [](QPainter& p, const QRect& r, int k) {
            p.fillRect(QRect(0, 5, 1, 13), kLine);
            Text(p, r, QStringLiteral("免费注册"), 12, k == 1 ? kRise : kAccent, false,
                 Qt::AlignCenter);
            if (k == 1 || k == 2)
                p.fillRect(QRect(46, 17, 56, 1), k == 1 ? kRise : kAccent);
        }));

    // Updater: close, retry while armed, retry while it cannot be used.
    bmp("1.bmp", Push(80, 28, Kind::Secondary, QStringLiteral("关闭"), kUpdaterWindow));
    bmp("3.bmp", Push(80, 28, Kind::Primary, QStringLiteral("重试"), kUpdaterWindow));
    bmp("31.bmp", Strip(80, 28, kUpdaterWindow, [](QPainter& p, const QRect& r, int) {
            const Face f = FaceFor(Kind::Secondary, 3);
            p.setPen(QPen(f.border, 1));
            p.setBrush(f.top);
            p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
            Text(p, r, QStringLiteral("重试"), 13, f.text, false, Qt::AlignCenter);
        }));
}
