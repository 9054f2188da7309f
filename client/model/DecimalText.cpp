#include "client/model/DecimalText.h"

#include <clocale>
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
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0f;
    // An exponent counts only when digits follow it ("1e" is 1, "1e5" is 100000).
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j]))
                ++j;
            i = j;
        }
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
