#include "controls/GifWalker.h"

#include <cstring>

namespace Gif {
namespace {

enum class Block
{
    Application,
    Comment,
    GraphicControl,
    PlainText,
    Image,
    Trailer,
    Unknown
};

// A bounds-checked view of the file.
class Reader
{
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t size() const { return m_size; }
    bool has(std::size_t pos, std::size_t count) const
    {
        return pos <= m_size && count <= m_size - pos;
    }
    std::uint8_t byte(std::size_t pos) const { return m_data[pos]; }
    int word(std::size_t pos) const { return m_data[pos] | (m_data[pos + 1] << 8); }
    const std::uint8_t* at(std::size_t pos) const { return m_data + pos; }

    Block type(std::size_t pos) const
    {
        if (!has(pos, 1))
            return Block::Unknown;
        switch (m_data[pos]) {
        case ';':
            return Block::Trailer;
        case ',':
            return Block::Image;
        case '!':
            if (!has(pos, 2))
                return Block::Unknown;
            switch (m_data[pos + 1]) {
            case 0xFF:
                return Block::Application;
            case 0xFE:
                return Block::Comment;
            case 0xF9:
                return Block::GraphicControl;
            case 0x01:
                return Block::PlainText;
            default:
                return Block::Unknown;
            }
        default:
            return Block::Unknown;
        }
    }

    // Length of the data sub-blocks starting at `pos`, terminator included; 0 when they run
    // past the end.
    std::size_t subBlocks(std::size_t pos) const
    {
        std::size_t p = pos;
        while (has(p, 1)) {
            const std::size_t n = m_data[p];
            if (n == 0)
                return p + 1 - pos;
            if (!has(p + 1, n))
                return 0;
            p += 1 + n;
        }
        return 0;
    }

    // Length of the whole block at `pos`; 0 when it is unknown or does not fit the data.
    std::size_t length(std::size_t pos) const
    {
        std::size_t fixed = 0;
        switch (type(pos)) {
        case Block::Trailer:
            return 1;
        case Block::GraphicControl:
            return has(pos, 8) ? 8 : 0;
        case Block::Application:
            fixed = 14;
            break;
        case Block::Comment:
            fixed = 2;
            break;
        case Block::PlainText:
            fixed = 15;
            break;
        case Block::Image: {
            if (!has(pos, 10))
                return 0;
            const std::uint8_t flags = m_data[pos + 9];
            fixed = 11 + ((flags & 0x80) ? 3u << ((flags & 7) + 1) : 0u);
            break;
        }
        case Block::Unknown:
            return 0;
        }
        if (!has(pos, fixed))
            return 0;
        const std::size_t tail = subBlocks(pos + fixed);
        return tail == 0 ? 0 : fixed + tail;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

struct Found
{
    std::size_t start = 0; // graphic control block, or the image when there is none
    std::size_t end = 0;   // behind the image data
    int left = 0, top = 0, width = 0, height = 0;
    int delay = -1;
    int disposal = 0;
};

// Finds the next frame from `pos`; false at the trailer or a damaged or unknown block.
bool NextFrame(const Reader& r, std::size_t& pos, Found& frame)
{
    Block t = r.type(pos);
    while (t == Block::Application || t == Block::Comment) {
        const std::size_t len = r.length(pos);
        if (len == 0)
            return false;
        pos += len;
        t = r.type(pos);
    }
    if (t != Block::GraphicControl && t != Block::Image)
        return false;

    frame = Found();
    frame.start = pos;
    if (t == Block::GraphicControl) {
        if (r.length(pos) == 0)
            return false;
        frame.disposal = (r.byte(pos + 3) >> 2) & 7;
        frame.delay = r.word(pos + 4);
        pos += 8;
        for (t = r.type(pos); t != Block::Image; t = r.type(pos)) {
            if (t == Block::Trailer || t == Block::PlainText || t == Block::Unknown)
                return false;
            const std::size_t len = r.length(pos);
            if (len == 0)
                return false;
            pos += len;
        }
    }
    const std::size_t len = r.length(pos);
    if (len == 0)
        return false;
    frame.left = r.word(pos + 1);
    frame.top = r.word(pos + 3);
    frame.width = r.word(pos + 5);
    frame.height = r.word(pos + 7);
    pos += len;
    frame.end = pos;
    return true;
}

} // namespace

bool IsGif(const std::uint8_t* data, std::size_t size)
{
    return size >= 6 &&
           (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
}

bool ReadHeader(const std::uint8_t* data, std::size_t size, Header& header)
{
    if (!IsGif(data, size) || size < 13)
        return false;
    const Reader r(data, size);
    Header h;
    h.width = r.word(6);
    h.height = r.word(8);
    const std::uint8_t flags = r.byte(10);
    h.globalTableSize = (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0u;
    h.headerSize = 13 + h.globalTableSize;
    if (!r.has(0, h.headerSize))
        return false;
    const std::size_t entry = 13 + 3u * r.byte(11);
    if (h.globalTableSize > 0 && entry + 3 <= h.headerSize) {
        h.hasBackground = true;
        std::memcpy(h.background, data + entry, 3);
    }
    header = h;
    return true;
}

std::size_t CountFrames(const std::uint8_t* data, std::size_t size)
{
    Header header;
    if (!ReadHeader(data, size, header))
        return 0;
    const Reader r(data, size);
    std::size_t pos = header.headerSize;
    std::size_t count = 0;
    Found frame;
    while (NextFrame(r, pos, frame))
        ++count;
    return count;
}

std::vector<Frame> ExtractFrames(const std::uint8_t* data, std::size_t size, std::size_t maxFrames)
{
    std::vector<Frame> frames;
    Header header;
    if (!ReadHeader(data, size, header))
        return frames;
    const Reader r(data, size);
    std::size_t pos = header.headerSize;
    Found found;
    while (frames.size() < maxFrames && NextFrame(r, pos, found)) {
        Frame frame;
        frame.left = found.left;
        frame.top = found.top;
        frame.width = found.width;
        frame.height = found.height;
        frame.delay = found.delay;
        frame.disposal = found.disposal;
        frame.gif.reserve(header.headerSize + (found.end - found.start) + 1);
        frame.gif.insert(frame.gif.end(), data, data + header.headerSize);
        frame.gif.insert(frame.gif.end(), data + found.start, data + found.end);
        frame.gif.push_back(';');
        frames.push_back(std::move(frame));
    }
    return frames;
}

} // namespace Gif
