#include "tools/skingen/SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

using namespace Style;

namespace {

QImage Canvas(int w, int h, const QColor& fill)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

void Begin(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

// Corners outside a 4-pixel rounding are magenta, so windows drawn with the transparent
// colour keep round corners even without a window shape.
void RoundCorners(QImage& img, int radius)
{
    const int w = img.width();
    const int h = img.height();
    for (int i = 0; i < radius; ++i) {
        const int n = radius - i - (i == 0 ? 0 : 1);
        for (int j = 0; j < n && j < radius; ++j) {
            img.setPixel(j, i, kMagenta.rgb());
            img.setPixel(w - 1 - j, i, kMagenta.rgb());
            img.setPixel(j, h - 1 - i, kMagenta.rgb());
            img.setPixel(w - 1 - j, h - 1 - i, kMagenta.rgb());
        }
    }
}

void Frame(QPainter& p, const QRect& r, const QColor& colour = QColor(120, 150, 182))
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(colour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.restore();
}

// An input field's sunken frame, drawn around where the edit control sits.
void Field(QPainter& p, const QRect& edit)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(150, 172, 196));
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(edit.adjusted(-2, -2, 1, 1));
    p.restore();
}

void SectionTitle(QPainter& p, int x, int y, int width, const QString& title)
{
    p.fillRect(QRect(x, y + 3, 3, 14), kAccent);
    Text(p, QRect(x + 9, y, 160, 20), title, 13, kText, true);
    p.fillRect(
        QRect(x + 9 + QFontMetrics(Font(13, true)).horizontalAdvance(title) + 8, y + 10, width, 1),
        kLine);
}

QImage MainPanel()
{
    QImage img = Canvas(294, 513, kMainPanel);
    QPainter p(&img);
    Begin(p);
    Banner(p, QRect(0, 0, 294, 36));
    Logo(p, QRect(10, 7, 22, 22));
    Text(p, QRect(38, 0, 80, 36), QStringLiteral("MERIDEX"), 12, QColor(214, 230, 246), true);
    // Pages sit at (3, 91), 287 x 388.
    p.fillRect(QRect(3, 90, 287, 389), Qt::white);
    p.fillRect(QRect(0, 90, 294, 1), kLine);
    Footer(p, QRect(0, 479, 294, 34));
    Frame(p, QRect(0, 0, 294, 513));
    return img;
}

// A dialog's picture: the title band, the panel, the footer band from `footerTop` down, the
// frame and round corners; `content` draws what lies between.
QImage Dialog(int w, int h, const QString& title, int footerTop,
              const std::function<void(QPainter&)>& content)
{
    QImage img = Canvas(w, h, kPanel);
    {
        QPainter p(&img);
        Begin(p);
        Banner(p, QRect(0, 0, w, 30), title);
        content(p);
        Footer(p, QRect(0, footerTop, w, h - footerTop));
        Frame(p, QRect(0, 0, w, h));
    }
    RoundCorners(img, 3);
    return img;
}

QImage LoginPanel()
{
    return Dialog(294, 502, QStringLiteral("用户登录"), 479, [](QPainter& p) {
        QLinearGradient glow(0, 30, 0, 150);
        glow.setColorAt(0, QColor(244, 248, 251));
        glow.setColorAt(1, kPanel);
        p.fillRect(QRect(0, 30, 294, 120), glow);
        Logo(p, QRect(123, 48, 48, 48));
        Text(p, QRect(0, 102, 294, 24), QStringLiteral("鹭眸股票预警"), 18, kText, true,
             Qt::AlignCenter);
        Text(p, QRect(0, 126, 294, 18), QStringLiteral("自选股实时盯盘 · 涨跌及时提醒"), 12,
             kSubtle, false, Qt::AlignCenter);
        Text(p, QRect(18, 164, 48, 20), QStringLiteral("账  号"), 13, kText);
        Text(p, QRect(18, 202, 48, 20), QStringLiteral("密  码"), 13, kText);
        Field(p, QRect(69, 164, 176, 20));
        Field(p, QRect(69, 202, 176, 20));
    });
}

QImage SettingsDialog()
{
    return Dialog(359, 397, QStringLiteral("系统设置"), 345, [](QPainter& p) {
        SectionTitle(p, 20, 44, 240, QStringLiteral("提醒方式"));
        SectionTitle(p, 20, 184, 240, QStringLiteral("常规"));
        Text(p, QRect(60, 138, 280, 20), QStringLiteral("选择提示音后可试听"), 12, kSubtle);
    });
}

QImage AboutBox()
{
    return Dialog(359, 259, QStringLiteral("关于我们"), 211, [](QPainter& p) {
        Logo(p, QRect(24, 44, 52, 52));
        Text(p, QRect(92, 46, 250, 26), QStringLiteral("鹭眸股票预警"), 18, kText, true);
        Text(p, QRect(92, 74, 250, 20), QStringLiteral("沪深A股自选股盯盘与预警提醒"), 12, kSubtle);
        p.fillRect(QRect(20, 106, 319, 1), kLine);
        // Captions of the links, which the about box places at fixed spots.
        const int right = Qt::AlignRight | Qt::AlignVCenter;
        Text(p, QRect(60, 116, 96, 24), QStringLiteral("在线客服："), 12, kText, false, right);
        Text(p, QRect(0, 142, 58, 18), QStringLiteral("邮箱："), 12, kText, false, right);
        Text(p, QRect(60, 163, 93, 17), QStringLiteral("官方网站："), 12, kText, false, right);
        Text(p, QRect(20, 195, 93, 15), QStringLiteral("手机版："), 12, kText, false, right);
    });
}

QImage AlertSettings()
{
    return Dialog(205, 250, QStringLiteral("预警设置"), 207, [](QPainter& p) {
        // Name and price are written on this band by the dialog.
        p.fillRect(QRect(0, 30, 205, 22), QColor(244, 248, 251));
        p.fillRect(QRect(0, 52, 205, 1), kLine);
    });
}

QImage AlertPopup()
{
    // Wide enough for both pop-up sizes (175 x 120 and 201 x 117).
    QImage img = Canvas(201, 120, QColor(250, 252, 253));
    QPainter p(&img);
    Begin(p);
    Banner(p, QRect(0, 0, 201, 30));
    p.fillRect(QRect(0, 30, 4, 90), kRise);
    p.fillRect(QRect(14, 58, 150, 1), QColor(226, 232, 238));
    Text(p, QRect(14, 94, 150, 18), QStringLiteral("鹭眸预警提醒"), 11, kSubtle);
    Frame(p, QRect(0, 0, 201, 120));
    return img;
}

QImage Ticker()
{
    QImage img(225, 24, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    Begin(p);
    QLinearGradient g(0, 0, 0, 24);
    g.setColorAt(0, QColor(250, 252, 253));
    g.setColorAt(1, QColor(218, 229, 238));
    p.setPen(QPen(QColor(120, 150, 182), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 224, 23), 3, 3);
    p.fillRect(QRect(80, 5, 1, 14), kLine);
    p.end();
    return Flatten(img, kPanel);
}

QImage TickerSettings()
{
    return Dialog(243, 229, QStringLiteral("悬浮窗设置"), 177, [](QPainter& p) {
        const int right = Qt::AlignRight | Qt::AlignVCenter;
        SectionTitle(p, 16, 40, 150, QStringLiteral("透明度"));
        Text(p, QRect(16, 84, 100, 16), QStringLiteral("不透明"), 11, kSubtle);
        Text(p, QRect(127, 84, 100, 16), QStringLiteral("透明"), 11, kSubtle, false, right);
        SectionTitle(p, 16, 108, 150, QStringLiteral("滚动速度"));
        Text(p, QRect(16, 152, 100, 16), QStringLiteral("快"), 11, kSubtle);
        Text(p, QRect(127, 152, 100, 16), QStringLiteral("慢"), 11, kSubtle, false, right);
    });
}

QImage UpdaterSide()
{
    QImage img(100, 241, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    Begin(p);
    QLinearGradient g(0, 0, 0, 241);
    g.setColorAt(0, kBannerTop);
    g.setColorAt(1, QColor(30, 70, 116));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0, 0, 100, 241), 5, 5);
    Logo(p, QRect(26, 26, 48, 48));
    Text(p, QRect(0, 84, 100, 24), QStringLiteral("鹭眸"), 18, Qt::white, true, Qt::AlignCenter);
    Text(p, QRect(0, 110, 100, 18), QStringLiteral("在线更新"), 12, QColor(214, 230, 246), false,
         Qt::AlignCenter);
    // A download arrow into a tray.
    p.setPen(QPen(QColor(214, 230, 246), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(50, 150), QPointF(50, 182));
    p.drawPolyline(QPolygonF({QPointF(38, 170), QPointF(50, 182), QPointF(62, 170)}));
    p.drawPolyline(
        QPolygonF({QPointF(32, 186), QPointF(32, 198), QPointF(68, 198), QPointF(68, 186)}));
    p.end();
    return Flatten(img, kUpdaterWindow);
}

void CloudWithSlash(QPainter& p, const QPointF& c)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(196, 212, 228));
    p.drawEllipse(QPointF(c.x() - 18, c.y() + 4), 16, 14);
    p.drawEllipse(QPointF(c.x() + 2, c.y() - 6), 22, 22);
    p.drawEllipse(QPointF(c.x() + 22, c.y() + 6), 14, 12);
    p.drawRoundedRect(QRectF(c.x() - 34, c.y() + 4, 70, 14), 7, 7);
    p.setPen(QPen(kRise, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - 20, c.y() + 22), QPointF(c.x() + 20, c.y() - 22));
    p.restore();
}

QImage NoNetwork(const QString& what)
{
    QImage img = Canvas(287, 388, Qt::white);
    QPainter p(&img);
    Begin(p);
    CloudWithSlash(p, QPointF(143, 78));
    Text(p, QRect(0, 112, 287, 24), QStringLiteral("网络连接失败"), 16, kText, true,
         Qt::AlignCenter);
    Text(p, QRect(0, 134, 287, 18), what, 12, kSubtle, false, Qt::AlignCenter);
    // The refresh button is placed at (147, 158) beside this line.
    Text(p, QRect(10, 158, 131, 26), QStringLiteral("请检查网络后"), 12, kText, false,
         Qt::AlignRight | Qt::AlignVCenter);
    p.fillRect(QRect(40, 210, 207, 1), QColor(232, 238, 244));
    Text(p, QRect(0, 218, 287, 18), QStringLiteral("网络恢复后页面将自动更新"), 11,
         QColor(150, 164, 178), false, Qt::AlignCenter);
    return img;
}

QImage Loading(const QString& what)
{
    QImage img = Canvas(287, 388, Qt::white);
    QPainter p(&img);
    Begin(p);
    const QPointF c(143.5, 150);
    for (int i = 0; i < 12; ++i) {
        QColor dot = kAccent;
        dot.setAlpha(40 + i * 18);
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        const qreal a = (i * 30.0 - 90.0) * 3.14159265358979 / 180.0;
        p.drawEllipse(QPointF(c.x() + 18 * std::cos(a), c.y() + 18 * std::sin(a)), 3.2, 3.2);
    }
    Text(p, QRect(0, 182, 287, 20), what, 13, kText, false, Qt::AlignCenter);
    return img;
}

QImage CodeBackground()
{
    QImage img = Canvas(73, 25, QColor(246, 248, 250));
    QPainter p(&img);
    Begin(p);
    p.setPen(QPen(QColor(222, 230, 238), 1));
    for (int x = -25; x < 73; x += 7)
        p.drawLine(QPointF(x, 25), QPointF(x + 25, 0));
    Frame(p, QRect(0, 0, 73, 25), QColor(150, 172, 196));
    return img;
}

QImage CodePlaceholder()
{
    QImage img = CodeBackground();
    QPainter p(&img);
    Begin(p);
    const QColor inks[4] = {kAccent, kRise, kFall, QColor(140, 90, 180)};
    const char digits[] = "8246";
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(12 + i * 16, 13);
        p.rotate((i % 2 == 0 ? -1 : 1) * 12);
        Text(p, QRect(-8, -11, 16, 22), QString(QLatin1Char(digits[i])), 16, inks[i], true,
             Qt::AlignCenter);
        p.restore();
    }
    return img;
}

} // namespace

void AddBackgrounds(SkinSet& skin)
{
    skin[QStringLiteral("back.bmp")] = Bmp(MainPanel());
    skin[QStringLiteral("loginbk.bmp")] = Bmp(LoginPanel());
    skin[QStringLiteral("SetBack.bmp")] = Bmp(SettingsDialog());
    skin[QStringLiteral("aboutus.bmp")] = Bmp(AboutBox());
    skin[QStringLiteral("Warningback.bmp")] = Bmp(AlertSettings());
    skin[QStringLiteral("WarnTipback.bmp")] = Bmp(AlertPopup());
    skin[QStringLiteral("Suspendback.bmp")] = Bmp(Ticker());
    skin[QStringLiteral("SuspendSetBk.bmp")] = Bmp(TickerSettings());
    skin[QStringLiteral("Updatebk.bmp")] = Bmp(UpdaterSide());
    skin[QStringLiteral("d.bmp")] = Bmp(NoNetwork(QStringLiteral("自选股暂时无法显示")));
    skin[QStringLiteral("d2.bmp")] = Bmp(NoNetwork(QStringLiteral("行情页面暂时无法显示")));
    skin[QStringLiteral("e.bmp")] = Bmp(Loading(QStringLiteral("正在加载自选股，请稍候…")));
    skin[QStringLiteral("f.bmp")] = Bmp(Loading(QStringLiteral("正在加载，请稍候…")));
    skin[QStringLiteral("codebg.bmp")] = Bmp(CodeBackground());
    skin[QStringLiteral("code.png")] = Png(CodePlaceholder());
}
