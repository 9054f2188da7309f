#include "tools/skingen/GifEncoder.h"
#include "tools/skingen/SkinStyle.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

using namespace Style;

namespace {

// The ticker's arrows lie on a layer whose pure white is see-through: hard edges only, so
// no pale fringe shows around them.
QImage Arrow(bool up)
{
    QImage img(14, 24, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(up ? QColor(255, 0, 0) : QColor(0, 153, 51));
    QPolygon head;
    if (up) {
        head << QPoint(7, 5) << QPoint(13, 12) << QPoint(1, 12);
        p.drawRect(QRect(5, 12, 4, 7));
    } else {
        head << QPoint(7, 19) << QPoint(13, 12) << QPoint(1, 12);
        p.drawRect(QRect(5, 5, 4, 7));
    }
    p.drawPolygon(head);
    return img;
}

// A bell in 16 x 16; `glow` from 0 (quiet blue) to 1 (red in a bright halo).
void Bell(QPainter& p, const QPointF& origin, double glow)
{
    p.save();
    p.translate(origin);
    p.setRenderHint(QPainter::Antialiasing);
    if (glow > 0) {
        const QColor halo = glow < 0.5   ? QColor(190, 214, 238)
                            : glow < 0.9 ? QColor(255, 222, 130)
                                         : QColor(255, 196, 48);
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(QRectF(0, 0, 16, 16));
    }
    QPainterPath bell;
    bell.moveTo(3, 12);
    bell.cubicTo(4.5, 10.5, 3.5, 3, 8, 2.5);
    bell.cubicTo(12.5, 3, 11.5, 10.5, 13, 12);
    bell.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(glow < 0.5 ? kAccent : kRise);
    p.drawPath(bell);
    p.drawRect(QRectF(2, 11.5, 12, 1.8));
    p.drawEllipse(QRectF(6.5, 12.8, 3, 2.6));
    p.restore();
}

QImage TrayStrip()
{
    QImage img(128, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    // Eight steps of one flash: quiet, swelling to red, and back.
    const double glow[8] = {0.0, 0.3, 0.7, 1.0, 1.0, 0.7, 0.3, 0.0};
    for (int i = 0; i < 8; ++i)
        Bell(p, QPointF(i * 16, 0), glow[i]);
    p.end();
    return Threshold(img);
}

QByteArray Icon()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    Logo(p, QRect(1, 1, 30, 30));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    writer.write(img);
    return bytes;
}

// The login panel's busy picture: eight dots around a ring, the bright one walking round.
QByteArray LoadingGif()
{
    const int size = 34;
    const QColor back = kPanel; // the login panel sets this colour behind the picture too
    std::vector<std::uint32_t> palette;
    const int shades = 32;
    for (int i = 0; i < shades; ++i) {
        const double t = double(i) / (shades - 1);
        const int r = int(back.red() + (kAccent.red() - back.red()) * t + 0.5);
        const int g = int(back.green() + (kAccent.green() - back.green()) * t + 0.5);
        const int b = int(back.blue() + (kAccent.blue() - back.blue()) * t + 0.5);
        palette.push_back((std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b));
    }
    std::vector<GifEncoder::Frame> frames;
    for (int f = 0; f < 8; ++f) {
        QImage img(size, size, QImage::Format_RGB32);
        img.fill(back);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 8; ++i) {
            const int age = (f - i + 8) % 8; // 0: the bright dot
            QColor dot = kAccent;
            dot.setAlphaF(std::max(0.15, 1.0 - age * 0.16));
            p.setBrush(dot);
            const double a = (i * 45.0 - 90.0) * 3.14159265358979 / 180.0;
            const double radius = age == 0 ? 3.6 : 3.0;
            p.drawEllipse(QPointF(17 + 11 * std::cos(a), 17 + 11 * std::sin(a)), radius, radius);
        }
        p.end();
        GifEncoder::Frame frame;
        frame.width = size;
        frame.height = size;
        frame.delay = 10;
        frame.disposal = 1;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QColor c = img.pixelColor(x, y);
                // The shade is how far the pixel went from the background towards the dots.
                const double t =
                    (back.green() - c.green()) / double(back.green() - kAccent.green());
                frame.pixels.push_back(
                    static_cast<std::uint8_t>(std::clamp(int(t * (shades - 1) + 0.5), 0, 31)));
            }
        }
        frames.push_back(std::move(frame));
    }
    const std::vector<std::uint8_t> gif = GifEncoder::Encode(size, size, palette, 0, frames, true);
    return QByteArray(reinterpret_cast<const char*>(gif.data()),
                      static_cast<qsizetype>(gif.size()));
}

} // namespace

void AddPictures(SkinSet& skin)
{
    skin[QStringLiteral("up.bmp")] = Bmp(Arrow(true));
    skin[QStringLiteral("down.bmp")] = Bmp(Arrow(false));
    skin[QStringLiteral("8.bmp")] = Bmp(TrayStrip());
    skin[QStringLiteral("11.ico")] = Icon();
    skin[QStringLiteral("loading.gif")] = LoadingGif();
}
