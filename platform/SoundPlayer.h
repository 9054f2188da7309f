#pragma once

#include "platform/SoundFile.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// Plays sound files one after the other on a single worker thread, so the caller never
// waits: a sound asked for while another plays starts when that one has ended.
class SoundPlayer
{
public:
    using PlayFunction = std::function<PlaybackResult(
        const std::string& path, const std::string& device, const std::atomic<bool>& stop)>;

    // `play` replaces the real playback (tests); the default is PlaySoundFileOnce.
    explicit SoundPlayer(std::string device = "default", PlayFunction play = {});
    // Drops what still waits, cuts the playing sound short and joins the worker.
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Queues one playback of the file; returns at once.
    void Play(const std::string& path);
    // Blocks until every queued sound has played.
    void WaitUntilIdle();
    // How the last playback ended; Played before any.
    PlaybackResult LastResult() const;

private:
    void run();

    const std::string m_device;
    const PlayFunction m_play;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::string> m_pending;
    bool m_playing = false;
    bool m_quit = false;
    PlaybackResult m_last = PlaybackResult::Played;
    std::atomic<bool> m_stop{false};
    std::thread m_worker; // last: starts once everything above exists
};
