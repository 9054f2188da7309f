#include "controls/GifAnimation.h"

#include "controls/GifWalker.h"

#include <QApplication>
#include <QByteArray>
#include <QPainter>
#include <QPalette>

namespace {

const std::uint8_t* Bytes(const QByteArray& data)
{
    return reinterpret_cast<const std::uint8_t*>(data.constData());
}

// One frame decoded by the platform reader, cut to the frame's own rectangle. Readers give
// the whole logical screen with the frame at its offset; a reader that gives the frame alone
// is served too.
QImage DecodeFrame(const Gif::Frame& frame, const QSize& screen)
{
    const QByteArray bytes(reinterpret_cast<const char*>(frame.gif.data()),
                           static_cast<qsizetype>(frame.gif.size()));
    const QImage decoded = QImage::fromData(bytes, "GIF");
    if (decoded.isNull())
        return {};
    const QRect rect(frame.left, frame.top, frame.width, frame.height);
    QImage picture;
    if (decoded.size() == QSize(frame.width, frame.height))
        picture = decoded;
    else if (QRect(QPoint(0, 0), decoded.size()).contains(rect))
        picture = decoded.copy(rect);
    else
        picture = decoded.copy(rect.intersected(QRect(QPoint(0, 0), screen)));
    return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

void GifAnimation::Clear()
{
    m_size = QSize();
    m_isGif = false;
    m_still = QImage();
    m_frames.clear();
    m_current = 0;
    m_canvas = QImage();
    m_saved = QImage();
}

bool GifAnimation::Load(const QByteArray& data)
{
    Clear();
    m_background = QApplication::palette().color(QPalette::Button);
    if (!Gif::IsGif(Bytes(data), static_cast<std::size_t>(data.size()))) {
        m_still = QImage::fromData(data);
        if (m_still.isNull() || qint64(m_still.width()) * m_still.height() > kMaxPixels) {
            Clear();
            return false;
        }
        m_size = m_still.size();
        prepare();
        return true;
    }
    m_isGif = true;
    if (!loadGif(data)) {
        Clear();
        return false;
    }
    prepare();
    return true;
}

bool GifAnimation::loadGif(const QByteArray& data)
{
    const std::size_t size = static_cast<std::size_t>(data.size());
    Gif::Header header;
    if (!Gif::ReadHeader(Bytes(data), size, header))
        return false;
    if (header.width == 0 || header.height == 0 ||
        qint64(header.width) * header.height > kMaxPixels)
        return false;
    if (header.hasBackground)
        m_background = QColor(header.background[0], header.background[1], header.background[2]);
    const QSize screen(header.width, header.height);

    const std::size_t count = Gif::CountFrames(Bytes(data), size);
    if (count == 0)
        return false;
    if (count == 1) {
        m_still = QImage::fromData(data, "GIF");
        if (m_still.isNull())
            return false;
        m_size = screen;
        return true;
    }

    const qint64 cost = qint64(header.width) * header.height;
    qint64 spent = 0;
    for (const Gif::Frame& found : Gif::ExtractFrames(Bytes(data), size)) {
        if (found.width == 0 || found.height == 0)
            continue;
        spent += cost;
        if (spent > kMaxDecodedPixels)
            break;
        Frame frame;
        frame.picture = DecodeFrame(found, screen);
        if (frame.picture.isNull())
            continue;
        frame.rect = QRect(found.left, found.top, frame.picture.width(), frame.picture.height());
        frame.delay = found.delay;
        frame.disposal = found.disposal;
        m_frames.push_back(std::move(frame));
    }
    if (m_frames.empty())
        return false;
    m_size = screen;
    return true;
}

void GifAnimation::prepare()
{
    m_canvas = QImage(m_size, QImage::Format_ARGB32_Premultiplied);
    m_canvas.fill(m_background);
}

void GifAnimation::SetBackground(const QColor& colour)
{
    if (!IsLoaded())
        return;
    m_background = colour;
    m_canvas.fill(m_background);
}

void GifAnimation::RenderStill()
{
    if (!IsLoaded())
        return;
    m_canvas.fill(m_background);
    const QImage& picture = m_still.isNull() && !m_frames.empty() ? m_frames[0].picture : m_still;
    QPainter painter(&m_canvas);
    painter.drawImage(QRect(QPoint(0, 0), m_size), picture);
}

int GifAnimation::ShowCurrent()
{
    if (m_frames.empty())
        return WaitMs(-1);
    const Frame& frame = m_frames[static_cast<size_t>(m_current)];
    if (frame.disposal == 3)
        m_saved = m_canvas.copy(frame.rect);
    QPainter painter(&m_canvas);
    painter.drawImage(frame.rect.topLeft(), frame.picture);
    return WaitMs(frame.delay);
}

void GifAnimation::Advance()
{
    if (m_frames.empty())
        return;
    const Frame& frame = m_frames[static_cast<size_t>(m_current)];
    if (frame.disposal == 2) {
        QPainter painter(&m_canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(frame.rect, m_background);
    } else if (frame.disposal == 3 && !m_saved.isNull()) {
        QPainter painter(&m_canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(frame.rect.topLeft(), m_saved);
        m_saved = QImage();
    }
    if (++m_current >= FrameCount()) {
        m_current = 0;
        m_canvas.fill(m_background);
    }
}
