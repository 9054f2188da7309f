#include "service/CaptchaImage.h"

#include <png.h>

#include <vector>

namespace {

constexpr int kWidth = 73; // the login dialog shows it at 73 x 25
constexpr int kHeight = 25;
constexpr int kScale = 3;

// 5 x 7 dot-matrix digits, one byte per row, low five bits used.
const unsigned char kDigits[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

struct Canvas
{
    std::vector<unsigned char> rgb = std::vector<unsigned char>(kWidth * kHeight * 3, 0);
    void set(int x, int y, unsigned char r, unsigned char g, unsigned char b)
    {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
            return;
        unsigned char* p = &rgb[static_cast<std::size_t>((y * kWidth + x) * 3)];
        p[0] = r;
        p[1] = g;
        p[2] = b;
    }
};

std::uint32_t NextNoise(std::uint32_t& s)
{
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void FlushNothing(png_structp) {}

// Plain C data only between setjmp and a possible longjmp.
bool EncodePng(const unsigned char* rgb, std::string* out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendBytes, FlushNothing);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kHeight; ++y)
        png_write_row(png, const_cast<png_bytep>(rgb + y * kWidth * 3));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::string RenderCodePng(const std::string& digits, std::uint32_t noiseSeed)
{
    std::uint32_t s = noiseSeed | 1u;
    Canvas c;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const auto shade = static_cast<unsigned char>(230 + NextNoise(s) % 26);
            c.set(x, y, shade, shade, static_cast<unsigned char>(shade - 10));
        }
    for (int line = 0; line < 4; ++line) {
        int y = static_cast<int>(NextNoise(s) % kHeight);
        for (int x = 0; x < kWidth; ++x) {
            if (NextNoise(s) % 4 == 0)
                y += NextNoise(s) % 2 ? 1 : -1;
            c.set(x, y, 150, 170, 200);
        }
    }
    int x0 = 4;
    for (char ch : digits) {
        if (ch < '0' || ch > '9')
            return {};
        const unsigned char* glyph = kDigits[ch - '0'];
        const int lift = static_cast<int>(NextNoise(s) % 4);
        const auto r = static_cast<unsigned char>(NextNoise(s) % 120);
        const auto b = static_cast<unsigned char>(60 + NextNoise(s) % 120);
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (glyph[row] & (0x10 >> col))
                    for (int dy = 0; dy < kScale; ++dy)
                        for (int dx = 0; dx < kScale - 1; ++dx)
                            c.set(x0 + col * (kScale - 1) + dx + row / 3,
                                  1 + lift + row * kScale + dy, r, 20, b);
        x0 += 17;
    }
    for (int dot = 0; dot < 60; ++dot)
        c.set(static_cast<int>(NextNoise(s) % kWidth), static_cast<int>(NextNoise(s) % kHeight), 90,
              90, 90);
    std::string out;
    if (!EncodePng(c.rgb.data(), &out))
        return {};
    return out;
}
