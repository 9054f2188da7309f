#pragma once

#include "client/alerts/AlertPorts.h"
#include "platform/SoundPlayer.h"

#include <string>

// The alert sound on the platform's player (ALSA). Users link meridex_platform.
class PlatformAlertSound : public IAlertSound
{
public:
    explicit PlatformAlertSound(const std::string& device = "default") : m_player(device) {}
    void Play(const std::string& path) override { m_player.Play(path); }
    SoundPlayer& Player() { return m_player; }

private:
    SoundPlayer m_player;
};
