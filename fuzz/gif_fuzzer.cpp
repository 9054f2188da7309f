#include "controls/GifWalker.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Every frame cut out of the file must lie inside it and form a GIF of its own.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Gif::Header header;
    const bool isGif = Gif::ReadHeader(data, size, header);
    const std::size_t count = Gif::CountFrames(data, size);
    const auto frames = Gif::ExtractFrames(data, size);
    if (!isGif && (count != 0 || !frames.empty()))
        std::abort();
    if (frames.size() != count && frames.size() != 4096)
        std::abort();
    for (const auto& frame : frames) {
        if (frame.gif.size() < header.headerSize + 2 || frame.gif.size() > header.headerSize + size)
            std::abort();
        if (frame.gif.back() != ';' || !Gif::IsGif(frame.gif.data(), frame.gif.size()))
            std::abort();
    }
    return 0;
}
