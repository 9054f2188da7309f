#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The program's own walk over the blocks of a GIF file: it finds the frames of an animation
// and cuts each into a small GIF of its own (header, global colour table, the frame's blocks,
// trailer) that an ordinary picture loader can decode. Every offset and length is checked
// against the data: a damaged or hostile file ends the walk, it never reads past the end.
namespace Gif {

struct Header
{
    int width = 0;
    int height = 0;
    std::size_t globalTableSize = 0; // bytes: 3 * 2^(n + 1) with the table flag, else 0
    std::size_t headerSize = 0;      // 13 plus the global table
    bool hasBackground = false;      // the background index names an entry of the table
    std::uint8_t background[3] = {0, 0, 0};
};

struct Frame
{
    std::vector<std::uint8_t> gif; // a complete GIF holding this frame alone
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int delay = -1;   // hundredths of a second; -1 without a graphic control block
    int disposal = 0; // 2 restores the background, 3 the previous picture
};

// The data starts with "GIF87a" or "GIF89a".
bool IsGif(const std::uint8_t* data, std::size_t size);

// Reads the logical screen and the global colour table. False when the data is no GIF or
// is too short to hold its header and table.
bool ReadHeader(const std::uint8_t* data, std::size_t size, Header& header);

// Walks the frames as ExtractFrames does, without copying; stops at the first damaged block.
std::size_t CountFrames(const std::uint8_t* data, std::size_t size);

// Every frame up to the trailer or the first damaged block, in file order, at most
// `maxFrames` of them.
std::vector<Frame> ExtractFrames(const std::uint8_t* data, std::size_t size,
                                 std::size_t maxFrames = 4096);

} // namespace Gif
