#include "controls/PictureEx.h"

#include "controls/SkinImage.h"

#include <QFile>
#include <QPainter>

#include <chrono>

CPictureEx::CPictureEx(QWidget* parent) : QWidget(parent), m_player(std::make_shared<Player>()) {}

CPictureEx::~CPictureEx()
{
    Stop();
}

bool CPictureEx::Load(const QString& file)
{
    UnLoad();
    QFile in(Skin::ResolvePath(file));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    // Pictures of the skin are small; a file beyond this is not one of them.
    const qint64 limit = 64 * 1024 * 1024;
    const QByteArray data = in.read(limit + 1);
    if (in.error() != QFileDevice::NoError || data.size() > limit)
        return false;
    return LoadFromMemory(data);
}

bool CPictureEx::LoadFromMemory(const QByteArray& data)
{
    UnLoad();
    std::lock_guard<std::mutex> lock(m_player->mutex);
    if (!m_player->animation.Load(data))
        return false;
    resize(m_player->animation.Size());
    update();
    return true;
}

void CPictureEx::UnLoad()
{
    Stop();
    std::lock_guard<std::mutex> lock(m_player->mutex);
    m_player->animation.Clear();
}

bool CPictureEx::Draw()
{
    Stop();
    {
        std::lock_guard<std::mutex> lock(m_player->mutex);
        GifAnimation& animation = m_player->animation;
        if (!animation.IsLoaded())
            return false;
        if (!animation.IsAnimated()) {
            animation.RenderStill();
            update();
            return true;
        }
        m_player->exit = false;
        m_player->running = true;
        m_player->redraw = [this] {
            QMetaObject::invokeMethod(
                this, [this] { update(); }, Qt::QueuedConnection);
        };
    }
    m_thread = std::thread(&CPictureEx::Run, m_player);
    return true;
}

void CPictureEx::Run(std::shared_ptr<Player> player)
{
    std::unique_lock<std::mutex> lock(player->mutex);
    while (!player->exit) {
        const int wait = player->animation.ShowCurrent();
        if (player->redraw)
            player->redraw();
        if (player->wake.wait_for(lock, std::chrono::milliseconds(wait),
                                  [&] { return player->exit; }))
            break;
        player->animation.Advance();
    }
    player->running = false;
    player->wake.notify_all();
}

void CPictureEx::Stop()
{
    if (!m_thread.joinable())
        return;
    bool finished = false;
    {
        std::unique_lock<std::mutex> lock(m_player->mutex);
        m_player->exit = true;
        m_player->redraw = nullptr;
        m_player->wake.notify_all();
        finished = m_player->wake.wait_for(lock, std::chrono::seconds(5),
                                           [&] { return !m_player->running; });
    }
    if (finished) {
        m_thread.join();
    } else {
        // The thread holds its own share of the player and no longer touches this control.
        m_thread.detach();
        m_player = std::make_shared<Player>();
    }
    std::lock_guard<std::mutex> lock(m_player->mutex);
    m_player->exit = false;
}

void CPictureEx::SetBkColor(const QColor& colour)
{
    std::lock_guard<std::mutex> lock(m_player->mutex);
    m_player->animation.SetBackground(colour);
    update();
}

bool CPictureEx::IsGif() const
{
    std::lock_guard<std::mutex> lock(m_player->mutex);
    return m_player->animation.IsGif();
}

bool CPictureEx::IsPlaying() const
{
    std::lock_guard<std::mutex> lock(m_player->mutex);
    return m_player->running;
}

int CPictureEx::FrameCount() const
{
    std::lock_guard<std::mutex> lock(m_player->mutex);
    return m_player->animation.FrameCount();
}

QImage CPictureEx::Snapshot() const
{
    std::lock_guard<std::mutex> lock(m_player->mutex);
    return m_player->animation.Canvas().copy();
}

void CPictureEx::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    std::lock_guard<std::mutex> lock(m_player->mutex);
    const QImage& canvas = m_player->animation.Canvas();
    if (canvas.isNull())
        return;
    painter.drawImage(QPoint(0, 0), canvas);
}
