#include "client/model/DecimalText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

TEST(DecimalText, ConvertsLikeTheQuotesNeed)
{
    struct Case
    {
        std::string text;
        float value;
    };
    const Case cases[] = {
        {"10.20", 10.2f},
        {"  -3.5", -3.5f},
        {"+2", 2.0f},
        {"1.25%", 1.25f},
        {".5", 0.5f},
        {"5.", 5.0f},
        {"1e2", 100.0f},
        {"1e", 1.0f},
        {"2.5e-1x", 0.25f},
        {"abc", 0.0f},
        {"", 0.0f},
        {"-", 0.0f},
        {".", 0.0f},
        {"0x10", 0.0f},
        {"inf", 0.0f},
        {"nan", 0.0f},
        {"\t\n7", 7.0f},
        {"3,5", 3.0f},
        {"1.2.3", 1.2f},
        {"--1", 0.0f},
        {"0.4", 0.4f},
        {"1e-60", 0.0f},
        {"12345678901", 12345678901.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DecimalToFloat(c.text), c.value);
    }
    EXPECT_TRUE(std::isinf(DecimalToFloat("1e60")));
    EXPECT_EQ(DecimalToFloat(std::string(100000, '9') + "x") > 1e38f, true);
}

TEST(DecimalText, ShortDecimalsRoundExactlyAsStrtof)
{
    // Quotes take a shortcut for short decimals; it must agree with the C library bit for bit.
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    const unsigned pow10[] = {1, 10, 100, 1000, 10000, 100000};
    for (int i = 0; i < 200000; ++i) {
        const char* sign = next() % 2 ? "-" : "";
        const unsigned whole = next() % 100000;
        const int places = static_cast<int>(next() % 6);
        char buf[64];
        if (places == 0)
            std::snprintf(buf, sizeof buf, "%s%u", sign, whole);
        else
            std::snprintf(buf, sizeof buf, "%s%u.%0*u", sign, whole, places,
                          next() % pow10[places]);
        ASSERT_EQ(DecimalToFloat(buf), std::strtof(buf, nullptr)) << buf;
    }
    for (const char* text : {"0.0000001", "9999999", "0.9999999", "16777217", "0.30000001",
                             "1234.5678", "00000000000.5", "-0", "33554431.5"})
        EXPECT_EQ(DecimalToFloat(text), std::strtof(text, nullptr)) << text;
}
