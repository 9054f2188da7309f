#pragma once

#include "controls/GifAnimation.h"

#include <QWidget>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QString;

// A picture control: shows a picture file at its own size and plays a GIF of several frames
// on a thread of its own.
//
// Usage: Load (or LoadFromMemory), optionally SetBkColor, then Draw; Stop ends the animation.
// The control resizes itself to the picture when a load succeeds.
class CPictureEx : public QWidget
{
    Q_OBJECT
public:
    explicit CPictureEx(QWidget* parent = nullptr);
    ~CPictureEx() override;

    // Reads the whole file and loads it; false leaves the control empty.
    bool Load(const QString& file);
    bool LoadFromMemory(const QByteArray& data);
    // Starts showing: the animation thread for several frames, else the still picture once.
    // Does nothing before a successful load.
    bool Draw();
    // Makes `colour` the background and clears the picture with it (after a successful load).
    void SetBkColor(const QColor& colour);
    // Ends the animation; waits for the thread at most 5 seconds.
    void Stop();
    // Stops and forgets the picture.
    void UnLoad();

    bool IsGif() const;
    bool IsPlaying() const;
    int FrameCount() const;
    // A copy of what the control shows.
    QImage Snapshot() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Shared with the animation thread, which may outlive a Stop that gave up waiting.
    struct Player
    {
        std::mutex mutex;
        std::condition_variable wake;
        bool exit = false;
        bool running = false;
        GifAnimation animation;
        std::function<void()> redraw; // cleared by Stop: afterwards the thread never calls it
    };
    static void Run(std::shared_ptr<Player> player);

    std::shared_ptr<Player> m_player;
    std::thread m_thread;
};
