#include "platform/SoundFile.h"

#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

constexpr unsigned kLatencyUs = 200000;
constexpr int kMaxChannels = 8;
constexpr sf_count_t kChunkFrames = 4096;

struct PcmCloser
{
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using Pcm = std::unique_ptr<snd_pcm_t, PcmCloser>;

struct SndFileCloser
{
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndFile = std::unique_ptr<SNDFILE, SndFileCloser>;

// ALSA prints its own errors on stderr; the results here already say what went wrong.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

// Opens the device for playback; none on success, else why nothing can play.
std::optional<PlaybackResult> openDevice(const std::string& device, Pcm& out)
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(quietAlsa); });
    snd_pcm_t* pcm = nullptr;
    // Non-blocking open: a device held by another program answers at once with EBUSY.
    const int rc = snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (rc == -EBUSY || rc == -EAGAIN)
        return PlaybackResult::DeviceBusy;
    if (rc < 0)
        return PlaybackResult::DeviceUnavailable;
    out.reset(pcm);
    // Writes may block from here on; the worker is the only one waiting.
    snd_pcm_nonblock(pcm, 0);
    return std::nullopt;
}

// Writes all frames; false when the device refuses them for good.
bool writeFrames(snd_pcm_t* pcm, const short* data, snd_pcm_uframes_t frames, int channels,
                 const std::atomic<bool>& stop)
{
    while (frames > 0 && !stop) {
        const snd_pcm_sframes_t n = snd_pcm_writei(pcm, data, frames);
        if (n < 0) {
            if (snd_pcm_recover(pcm, static_cast<int>(n), 1) < 0)
                return false;
            continue;
        }
        data += static_cast<std::size_t>(n) * static_cast<std::size_t>(channels);
        frames -= static_cast<snd_pcm_uframes_t>(n);
    }
    return true;
}

// Lets the device play what it holds, but gives up at once when asked to stop.
void finish(snd_pcm_t* pcm, const std::atomic<bool>& stop)
{
    if (stop) {
        snd_pcm_drop(pcm);
        return;
    }
    snd_pcm_nonblock(pcm, 1);
    snd_pcm_drain(pcm);
    for (;;) {
        const snd_pcm_state_t state = snd_pcm_state(pcm);
        if (state != SND_PCM_STATE_DRAINING && state != SND_PCM_STATE_RUNNING)
            break;
        if (stop) {
            snd_pcm_drop(pcm);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool playFile(snd_pcm_t* pcm, const std::string& path, const std::atomic<bool>& stop)
{
    SF_INFO info{};
    SndFile file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file || info.channels < 1 || info.channels > kMaxChannels || info.samplerate <= 0)
        return false;
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                           static_cast<unsigned>(info.channels),
                           static_cast<unsigned>(info.samplerate), 1, kLatencyUs) < 0)
        return false;
    std::vector<short> chunk(static_cast<std::size_t>(kChunkFrames * info.channels));
    sf_count_t total = 0;
    for (;;) {
        const sf_count_t got = sf_readf_short(file.get(), chunk.data(), kChunkFrames);
        if (got <= 0)
            break;
        total += got;
        if (!writeFrames(pcm, chunk.data(), static_cast<snd_pcm_uframes_t>(got), info.channels,
                         stop))
            return false;
        if (stop)
            break;
    }
    // A header without a single readable frame is not a sound.
    if (total == 0)
        return false;
    finish(pcm, stop);
    return true;
}

bool playBeep(snd_pcm_t* pcm, const std::atomic<bool>& stop)
{
    constexpr unsigned rate = 44100;
    constexpr double hz = 880.0;
    constexpr unsigned frames = rate * 180 / 1000;
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, rate, 1,
                           kLatencyUs) < 0)
        return false;
    std::vector<short> tone(frames);
    const double pi = std::acos(-1.0);
    for (unsigned i = 0; i < frames; ++i) {
        // Short fades at both ends keep the beep from clicking.
        const double edge = std::min(1.0, std::min(i, frames - i) / (rate * 0.01));
        tone[i] = static_cast<short>(12000.0 * edge * std::sin(2 * pi * hz * i / rate));
    }
    if (!writeFrames(pcm, tone.data(), frames, 1, stop))
        return false;
    finish(pcm, stop);
    return true;
}

} // namespace

PlaybackResult PlayFallbackBeep(const std::string& device, const std::atomic<bool>& stop)
{
    Pcm pcm;
    if (const auto failed = openDevice(device, pcm))
        return *failed;
    return playBeep(pcm.get(), stop) ? PlaybackResult::PlayedFallback
                                     : PlaybackResult::DeviceUnavailable;
}

PlaybackResult PlaySoundFileOnce(const std::string& path, const std::string& device,
                                 const std::atomic<bool>& stop)
{
    {
        Pcm pcm;
        if (const auto failed = openDevice(device, pcm))
            return *failed;
        if (playFile(pcm.get(), path, stop))
            return PlaybackResult::Played;
    }
    // A fresh handle: the failed attempt may have left the device half set up.
    return PlayFallbackBeep(device, stop);
}
