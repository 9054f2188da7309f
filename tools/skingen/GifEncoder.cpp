#include "tools/skingen/GifEncoder.h"

#include <algorithm>

namespace GifEncoder {
namespace {

void Word(std::vector<std::uint8_t>& out, int value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

class BitWriter
{
public:
    void put(unsigned code, int bits)
    {
        m_acc |= code << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes.push_back(static_cast<std::uint8_t>(m_acc & 0xFF));
            m_acc >>= 8;
            m_count -= 8;
        }
    }
    std::vector<std::uint8_t> finish()
    {
        if (m_count > 0)
            m_bytes.push_back(static_cast<std::uint8_t>(m_acc & 0xFF));
        return m_bytes;
    }

private:
    unsigned m_acc = 0;
    int m_count = 0;
    std::vector<std::uint8_t> m_bytes;
};

void ImageData(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& pixels,
               int minCodeSize)
{
    const unsigned clear = 1u << minCodeSize;
    const int bits = minCodeSize + 1;
    // Before the decoder's table would need a wider code, start it afresh.
    const std::size_t run = clear - 2;
    BitWriter writer;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % run == 0)
            writer.put(clear, bits);
        writer.put(pixels[i], bits);
    }
    writer.put(clear + 1, bits);
    const std::vector<std::uint8_t> bytes = writer.finish();

    out.push_back(static_cast<std::uint8_t>(minCodeSize));
    for (std::size_t i = 0; i < bytes.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, bytes.size() - i);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), bytes.begin() + static_cast<long>(i),
                   bytes.begin() + static_cast<long>(i + n));
    }
    out.push_back(0);
}

} // namespace

std::vector<std::uint8_t> Encode(int width, int height, const std::vector<std::uint32_t>& palette,
                                 int backgroundIndex, const std::vector<Frame>& frames, bool loop)
{
    int n = 1; // the table holds 2^(n + 1) entries
    while ((1u << (n + 1)) < palette.size() && n < 7)
        ++n;
    const std::size_t entries = 1u << (n + 1);

    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    Word(out, width);
    Word(out, height);
    out.push_back(static_cast<std::uint8_t>(0x80 | (n << 4) | n));
    out.push_back(static_cast<std::uint8_t>(backgroundIndex));
    out.push_back(0);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint32_t c = i < palette.size() ? palette[i] : 0;
        out.push_back(static_cast<std::uint8_t>(c >> 16));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c));
    }
    if (loop) {
        const char app[] = "NETSCAPE2.0";
        out.insert(out.end(), {0x21, 0xFF, 0x0B});
        out.insert(out.end(), app, app + 11);
        out.insert(out.end(), {0x03, 0x01, 0x00, 0x00, 0x00});
    }
    for (const Frame& f : frames) {
        if (f.control) {
            out.insert(out.end(), {0x21, 0xF9, 0x04});
            out.push_back(
                static_cast<std::uint8_t>(((f.disposal & 7) << 2) | (f.transparent >= 0 ? 1 : 0)));
            Word(out, f.delay);
            out.push_back(static_cast<std::uint8_t>(f.transparent >= 0 ? f.transparent : 0));
            out.push_back(0);
        }
        out.push_back(',');
        Word(out, f.left);
        Word(out, f.top);
        Word(out, f.width);
        Word(out, f.height);
        out.push_back(0);
        ImageData(out, f.pixels, std::max(2, n + 1));
    }
    out.push_back(';');
    return out;
}

} // namespace GifEncoder
