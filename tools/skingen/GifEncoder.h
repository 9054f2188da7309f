#pragma once

#include <cstdint>
#include <vector>

// A small GIF89a writer for the skin's animation and for test pictures. The image data is
// LZW-coded without compression (a clear code before the table would grow), which every
// decoder reads and which keeps the output exact and simple.
namespace GifEncoder {

struct Frame
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height palette indexes, row by row
    int delay = 0;                    // hundredths of a second
    int disposal = 0;
    int transparent = -1; // palette index shown as transparent, or -1
    bool control = true;  // write a graphic control block before the image
};

// `palette` holds 0xRRGGBB entries; it is padded to a power of two of at least 4 entries.
// `loop` adds the application block that makes viewers repeat the animation.
std::vector<std::uint8_t> Encode(int width, int height, const std::vector<std::uint32_t>& palette,
                                 int backgroundIndex, const std::vector<Frame>& frames, bool loop);

} // namespace GifEncoder
