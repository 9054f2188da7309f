#include "platform/SoundPlayer.h"

#include <utility>

SoundPlayer::SoundPlayer(std::string device, PlayFunction play)
    : m_device(std::move(device)), m_play(play ? std::move(play) : PlayFunction(PlaySoundFileOnce)),
      m_worker([this] { run(); })
{
}

SoundPlayer::~SoundPlayer()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
        m_pending.clear();
    }
    m_stop = true;
    m_wake.notify_all();
    m_worker.join();
}

void SoundPlayer::Play(const std::string& path)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_quit)
            return;
        m_pending.push_back(path);
    }
    m_wake.notify_one();
}

void SoundPlayer::WaitUntilIdle()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return m_pending.empty() && !m_playing; });
}

PlaybackResult SoundPlayer::LastResult() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_last;
}

void SoundPlayer::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || !m_pending.empty(); });
        if (m_quit)
            break;
        const std::string path = std::move(m_pending.front());
        m_pending.pop_front();
        m_playing = true;
        lock.unlock();
        const PlaybackResult result = m_play(path, m_device, m_stop);
        lock.lock();
        m_playing = false;
        m_last = result;
        if (m_pending.empty())
            m_idle.notify_all();
    }
    m_playing = false;
    m_idle.notify_all();
}
