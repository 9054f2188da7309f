#include "platform/SoundPlayer.h"

#include "tests/model/TempFolder.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <future>
#include <vector>

namespace {

// ALSA's "null" device accepts and discards everything, so the real playback path runs
// without a sound card.
const char kNullDevice[] = "null";

void writeWav(const std::string& path, int frames, int channels = 1, int rate = 8000)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    std::vector<short> data(static_cast<std::size_t>(frames * channels));
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<short>(8000 * std::sin(static_cast<double>(i) / 3));
    sf_writef_short(f, data.data(), frames);
    sf_close(f);
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(SoundFile, PlaysFilesAndFallsBackToTheBeep)
{
    TempFolder dir;
    const std::atomic<bool> keepGoing{false};
    writeWav(dir.file("ding.wav"), 800);
    writeWav(dir.file("stereo.wav"), 400, 2, 44100);
    writeBytes(dir.file("garbage.wav"), std::string(3000, '\x7f'));
    writeBytes(dir.file("empty.wav"), "");
    // A valid header that announces data which never comes.
    std::string head;
    {
        writeWav(dir.file("full.wav"), 100);
        std::ifstream in(dir.file("full.wav"), std::ios::binary);
        head.assign(44, '\0');
        in.read(head.data(), 44);
    }
    writeBytes(dir.file("truncated.wav"), head);

    struct Case
    {
        std::string file;
        PlaybackResult result;
    };
    const Case cases[] = {
        {"ding.wav", PlaybackResult::Played},
        {"stereo.wav", PlaybackResult::Played},
        {"missing.wav", PlaybackResult::PlayedFallback},
        {"garbage.wav", PlaybackResult::PlayedFallback},
        {"empty.wav", PlaybackResult::PlayedFallback},
        {"truncated.wav", PlaybackResult::PlayedFallback},
        {"", PlaybackResult::PlayedFallback},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(PlaySoundFileOnce(dir.file(c.file), kNullDevice, keepGoing), c.result);
    }
}

TEST(SoundFile, AMissingDeviceIsReportedNotPlayed)
{
    TempFolder dir;
    writeWav(dir.file("ding.wav"), 100);
    const std::atomic<bool> keepGoing{false};
    EXPECT_EQ(PlaySoundFileOnce(dir.file("ding.wav"), "meridex_no_such_device", keepGoing),
              PlaybackResult::DeviceUnavailable);
    EXPECT_EQ(PlayFallbackBeep("meridex_no_such_device", keepGoing),
              PlaybackResult::DeviceUnavailable);
}

TEST(SoundPlayer, PlaysQueuedSoundsOneAfterTheOtherWithoutBlockingTheCaller)
{
    std::mutex m;
    std::vector<std::string> events;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    SoundPlayer player(
        "null", [&](const std::string& path, const std::string& device, const std::atomic<bool>&) {
            {
                std::lock_guard<std::mutex> lock(m);
                events.push_back("begin " + path + " on " + device);
            }
            if (path == "first")
                released.wait(); // a long sound
            std::lock_guard<std::mutex> lock(m);
            events.push_back("end " + path);
            return PlaybackResult::Played;
        });
    // These return while "first" still plays: were they to wait, release would never come.
    player.Play("first");
    player.Play("second");
    player.Play("third");
    release.set_value();
    player.WaitUntilIdle();
    EXPECT_EQ(events,
              (std::vector<std::string>{"begin first on null", "end first", "begin second on null",
                                        "end second", "begin third on null", "end third"}));
}

TEST(SoundPlayer, ShutdownCutsThePlayingSoundAndDropsTheRest)
{
    std::atomic<int> started{0};
    std::promise<void> playing;
    {
        SoundPlayer player(
            "null", [&](const std::string&, const std::string&, const std::atomic<bool>& stop) {
                if (started++ == 0)
                    playing.set_value();
                while (!stop)
                    std::this_thread::yield();
                return PlaybackResult::Played;
            });
        player.Play("endless");
        player.Play("never");
        playing.get_future().wait();
    }
    EXPECT_EQ(started, 1);
}

TEST(SoundPlayer, RealPlaybackOnTheNullDevice)
{
    TempFolder dir;
    writeWav(dir.file("ding.wav"), 400);
    SoundPlayer player(kNullDevice);
    player.Play(dir.file("ding.wav"));
    player.WaitUntilIdle();
    EXPECT_EQ(player.LastResult(), PlaybackResult::Played);
    player.Play(dir.file("missing.wav"));
    player.WaitUntilIdle();
    EXPECT_EQ(player.LastResult(), PlaybackResult::PlayedFallback);
}
