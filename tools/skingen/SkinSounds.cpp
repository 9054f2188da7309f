#include "tools/skingen/SkinStyle.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

const int kRate = 22050;

struct Note
{
    double start;     // seconds
    double frequency; // Hz
    double length;    // seconds until it has faded
};

// Struck-bell notes: a fundamental with two soft overtones and an exponential fade.
std::vector<std::int16_t> Render(const std::vector<Note>& notes, double seconds)
{
    const double pi = 3.14159265358979323846;
    std::vector<double> mix(static_cast<size_t>(seconds * kRate), 0.0);
    for (const Note& n : notes) {
        const size_t first = static_cast<size_t>(n.start * kRate);
        for (size_t i = first; i < mix.size(); ++i) {
            const double t = double(i - first) / kRate;
            const double attack = std::min(1.0, t / 0.004);
            const double envelope = attack * std::exp(-5.0 * t / n.length);
            const double w = 2 * pi * n.frequency * t;
            mix[i] += envelope * (std::sin(w) + 0.35 * std::sin(2 * w) + 0.12 * std::sin(3.01 * w));
        }
    }
    double peak = 0;
    for (double v : mix)
        peak = std::max(peak, std::fabs(v));
    std::vector<std::int16_t> out;
    out.reserve(mix.size());
    const size_t fade = kRate / 50; // a short fade at the end avoids a click
    for (size_t i = 0; i < mix.size(); ++i) {
        double v = mix[i] / peak * 0.7;
        if (i + fade > mix.size())
            v *= double(mix.size() - i) / fade;
        out.push_back(static_cast<std::int16_t>(std::lround(v * 32767)));
    }
    return out;
}

void Put(QByteArray& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// 16-bit mono PCM in a RIFF/WAVE file.
QByteArray Wav(const std::vector<std::int16_t>& samples)
{
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray out("RIFF");
    Put(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ");
    Put(out, 16, 4);
    Put(out, 1, 2); // PCM
    Put(out, 1, 2); // mono
    Put(out, kRate, 4);
    Put(out, kRate * 2, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    out.append("data");
    Put(out, dataBytes, 4);
    for (std::int16_t s : samples)
        Put(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

} // namespace

void AddSounds(SkinSet& skin)
{
    // Two rising notes; three quick pings; a falling triad; a double knock.
    skin[QStringLiteral("sound/tip1.wav")] =
        Wav(Render({{0, 1318.5, 0.5}, {0.16, 1760, 0.7}}, 0.9));
    skin[QStringLiteral("sound/tip2.wav")] =
        Wav(Render({{0, 1568, 0.25}, {0.12, 1568, 0.25}, {0.24, 2093, 0.45}}, 0.8));
    skin[QStringLiteral("sound/tip3.wav")] =
        Wav(Render({{0, 1046.5, 0.5}, {0.14, 830.6, 0.5}, {0.28, 659.3, 0.8}}, 1.1));
    skin[QStringLiteral("sound/tip4.wav")] = Wav(Render({{0, 880, 0.18}, {0.2, 880, 0.3}}, 0.6));
}
