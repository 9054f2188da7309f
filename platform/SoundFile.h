#pragma once

#include <atomic>
#include <string>

// How one playback ended.
enum class PlaybackResult
{
    Played,            // the file played to its end (or until stopped)
    PlayedFallback,    // the file could not be played; the short beep played instead
    DeviceBusy,        // another program holds the device: nothing played
    DeviceUnavailable, // the device could not be opened at all
};

// Plays a sound file (WAV or anything libsndfile reads) once on the ALSA device `device`
// ("default", "null", "hw:0" ...). Blocks until the sound has ended or `stop` becomes true.
// The device is opened without waiting: when it is busy, nothing plays.
PlaybackResult PlaySoundFileOnce(const std::string& path, const std::string& device,
                                 const std::atomic<bool>& stop);

// The fallback alert sound alone: a short generated beep.
PlaybackResult PlayFallbackBeep(const std::string& device, const std::atomic<bool>& stop);
