#include "client/model/DecimalText.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The "C" locale, made once: strtof_l rounds correctly, and this locale fixes "." as the point.
locale_t cLocale()
{
    static const locale_t loc = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

float DecimalToFloat(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    const std::size_t start = i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Quotes are short decimals like "-12.34": with at most 7 significant digits the digits
    // form an integer below 2^24 and the divisor is a power of ten up to 10^10, both exact as
    // 32-bit floats, so one correctly rounded division gives what strtof gives.
    // Unsigned arithmetic: a long digit string only wraps the mantissa, which is then unused.
    std::uint64_t mantissa = 0;
    int significant = 0; // digits from the first non-zero one on
    int fraction = 0;
    auto takeDigits = [&](int& count) {
        for (; i < n; ++i) {
            const unsigned d = static_cast<unsigned char>(text[i]) - unsigned('0');
            if (d > 9)
                break;
            mantissa = mantissa * 10 + d;
            significant += mantissa != 0;
            ++count;
        }
    };
    int whole = 0;
    takeDigits(whole);
    if (i < n && text[i] == '.') {
        ++i;
        takeDigits(fraction);
    }
    const int digits = whole + fraction;
    if (digits == 0)
        return 0.0f;
    // An exponent counts only when digits follow it ("1e" is 1, "1e5" is 100000).
    bool exponent = false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j]))
                ++j;
            i = j;
            exponent = true;
        }
    }
    if (!exponent && significant <= 7 && fraction <= 10) {
        static const float powers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                       1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
        const float value = static_cast<float>(mantissa) / powers[fraction];
        return negative ? -value : value;
    }
    // Only the scanned characters reach strtof_l, so hexadecimal, "inf" and "nan" never count.
    char small[64];
    const std::size_t len = i - start;
    if (len < sizeof small) {
        text.copy(small, len, start);
        small[len] = '\0';
        return ::strtof_l(small, nullptr, cLocale());
    }
    const std::string big(text.substr(start, len));
    return ::strtof_l(big.c_str(), nullptr, cLocale());
}
