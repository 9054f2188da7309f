#include "tools/skingen/SkinStyle.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Style {

QFont Font(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void Text(QPainter& p, const QRect& rect, const QString& text, int pixelSize, const QColor& colour,
          bool bold, int flags)
{
    p.save();
    p.setFont(Font(pixelSize, bold));
    p.setPen(colour);
    p.drawText(rect, flags, text);
    p.restore();
}

void Banner(QPainter& p, const QRect& rect, const QString& title)
{
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, kBannerTop);
    g.setColorAt(1, kBannerBottom);
    p.fillRect(rect, g);
    p.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), QColor(35, 80, 128));
    if (!title.isEmpty())
        Text(p, rect.adjusted(12, 0, 0, 0), title, 13, Qt::white, true);
}

void Footer(QPainter& p, const QRect& rect)
{
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, QColor(236, 242, 247));
    g.setColorAt(1, QColor(214, 226, 236));
    p.fillRect(rect, g);
    p.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), kLine);
}

void Logo(QPainter& p, const QRect& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal radius = r.width() * 0.22;
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(72, 140, 210));
    g.setColorAt(1, QColor(36, 86, 146));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(r), radius, radius);
    const qreal w = r.width();
    const qreal h = r.height();
    auto candle = [&](qreal cx, qreal top, qreal bottom, qreal bodyTop, qreal bodyBottom,
                      const QColor& c) {
        p.setPen(QPen(c, qMax<qreal>(1.0, w * 0.04)));
        p.drawLine(QPointF(r.left() + cx * w, r.top() + top * h),
                   QPointF(r.left() + cx * w, r.top() + bottom * h));
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRect(QRectF(r.left() + (cx - 0.09) * w, r.top() + bodyTop * h, 0.18 * w,
                          (bodyBottom - bodyTop) * h));
    };
    candle(0.34, 0.22, 0.80, 0.32, 0.66, QColor(255, 96, 86));
    candle(0.66, 0.30, 0.84, 0.46, 0.74, QColor(86, 214, 128));
    p.restore();
}

QImage Flatten(const QImage& argb, const QColor& matte)
{
    QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (a < 96) {
                o[x] = kMagenta.rgb();
                continue;
            }
            auto mix = [&](int c, int m) { return (c * a + m * (255 - a) + 127) / 255; };
            o[x] = qRgb(mix(qRed(in[x]), matte.red()), mix(qGreen(in[x]), matte.green()),
                        mix(qBlue(in[x]), matte.blue()));
            if (o[x] == kMagenta.rgb())
                o[x] = qRgb(254, 0, 255);
        }
    }
    return out;
}

QImage Threshold(const QImage& argb)
{
    QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x)
            o[x] = qAlpha(in[x]) < 128 ? kMagenta.rgb() : (in[x] | 0xff000000u);
    }
    return out;
}

QImage Strip(int width, int height, const QColor& matte,
             const std::function<void(QPainter&, const QRect&, int)>& draw)
{
    QImage strip(width, height * 4, QImage::Format_RGB32);
    QPainter out(&strip);
    for (int k = 0; k < 4; ++k) {
        QImage state(width, height, QImage::Format_ARGB32_Premultiplied);
        state.fill(Qt::transparent);
        {
            QPainter p(&state);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            draw(p, QRect(0, 0, width, height), k);
        }
        out.drawImage(0, k * height, Flatten(state, matte));
    }
    return strip;
}

QByteArray Bmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return bytes;
}

QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace Style
