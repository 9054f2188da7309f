#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <vector>

class QByteArray;

// The pictures of a GIF animation (or one still picture) and the canvas they are composed on.
// No thread and no widget: CPictureEx drives it, tests step it frame by frame.
class GifAnimation
{
public:
    struct Frame
    {
        QImage picture; // the frame's own rectangle, transparent where the frame is
        QRect rect;     // offset and size from the image descriptor
        int delay = -1; // hundredths of a second; -1 without a graphic control block
        int disposal = 0;
    };

    // Largest canvas accepted (width times height); larger logical screens are refused.
    static constexpr qint64 kMaxPixels = 4096 * 4096;
    // The platform reader decodes every frame at the size of the whole logical screen; once
    // the frames of one file have cost this many pixels, the rest are left out, so a hostile
    // file of many frames on a large screen cannot keep the program busy.
    static constexpr qint64 kMaxDecodedPixels = 128 * 1024 * 1024;

    // Replaces whatever was loaded. A GIF of several frames becomes an animation; a GIF of one
    // frame or any other picture the platform reads becomes a still picture at its own size.
    // False, leaving everything empty, when nothing could be decoded.
    bool Load(const QByteArray& data);
    void Clear();

    bool IsLoaded() const { return !m_size.isEmpty(); }
    bool IsGif() const { return m_isGif; }
    bool IsAnimated() const { return m_frames.size() > 1; }
    QSize Size() const { return m_size; }
    int FrameCount() const { return static_cast<int>(m_frames.size()); }
    const Frame& FrameAt(int i) const { return m_frames[static_cast<size_t>(i)]; }
    int CurrentFrame() const { return m_current; }
    const QImage& Canvas() const { return m_canvas; }
    QColor Background() const { return m_background; }

    // Makes `colour` the background and clears the whole canvas with it.
    void SetBackground(const QColor& colour);
    // Draws the still picture over the whole canvas.
    void RenderStill();
    // Draws the current frame (saving what lies beneath when its disposal asks for it) and
    // gives how long it stays, in milliseconds.
    int ShowCurrent();
    // Disposes of the current frame and moves to the next; after the last frame the canvas is
    // cleared and the first comes again.
    void Advance();

    // How long a frame with this delay shows: small delays (4 or less, none at all) are 100 ms.
    static int WaitMs(int delay) { return delay > 4 ? delay * 10 : 100; }

private:
    bool loadGif(const QByteArray& data);
    void prepare();

    QSize m_size;
    bool m_isGif = false;
    QColor m_background;
    QImage m_still;
    std::vector<Frame> m_frames;
    int m_current = 0;
    QImage m_canvas;
    QImage m_saved; // area under a frame whose disposal is 3, while it shows
};
