#include "client/model/LocalText.h"

#include <gtest/gtest.h>

TEST(LocalText, RoundTripsChineseThroughTheLocalCodePage)
{
    const std::string utf8 = "平安银行 上证指数";
    const std::string local = Utf8ToLocal(utf8);
    EXPECT_EQ(local.substr(0, 2), "\xC6\xBD"); // 平 in GBK
    EXPECT_EQ(LocalToUtf8(local), utf8);
    // Characters outside GBK survive too (GB18030 four-byte sequences).
    EXPECT_EQ(LocalToUtf8(Utf8ToLocal("€😀")), "€😀");
}

TEST(LocalText, InvalidInputGivesEmptyText)
{
    EXPECT_EQ(Utf8ToLocal("abc\xFF"), "");
    EXPECT_EQ(Utf8ToLocal("\xE5\xB9"), ""); // truncated sequence
    EXPECT_EQ(LocalToUtf8("\x81"), "");     // lone lead byte
    EXPECT_FALSE(TryUtf8ToLocal("\xC0\x80").has_value());
    EXPECT_EQ(TryUtf8ToLocal(""), std::string());
}

TEST(LocalText, UrlEncodeKeepsOnlyLettersAndDigits)
{
    struct Case
    {
        std::string in, out;
    } cases[] = {
        {"a b", "a+b"},
        {"x-y", "x%2Dy"},
        {"\xB2\xE2", "%B2%E2"},
        {"AZaz09", "AZaz09"},
        {"_.~", "%5F%2E%7E"},
        {"\t\n\v\f\r", "+++++"},
        {"p&w#d+%", "p%26w%23d%2B%25"},
        {std::string("\0", 1), "%00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlEncode(c.in), c.out) << c.in;
}

TEST(LocalText, PrefixNeverEndsInsideACharacter)
{
    const std::string local = Utf8ToLocal("a平安€"); // 1 + 2 + 2 + 2 bytes
    EXPECT_EQ(LocalPrefixLength(local, 0), 0u);
    EXPECT_EQ(LocalPrefixLength(local, 2), 1u);
    EXPECT_EQ(LocalPrefixLength(local, 3), 3u);
    EXPECT_EQ(LocalPrefixLength(local, 100), local.size());
    const std::string four = Utf8ToLocal("😀x"); // four-byte sequence then x
    ASSERT_EQ(four.size(), 5u);
    EXPECT_EQ(LocalPrefixLength(four, 3), 0u);
    EXPECT_EQ(LocalPrefixLength(four, 4), 4u);
}
