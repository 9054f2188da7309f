#include "tests/model/TempFolder.h"

#include "client/model/AtomicFile.h"
#include "service/CaptchaImage.h"
#include "service/HttpHelpers.h"
#include "service/StockTable.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sqlite3.h>

#include <cstring>

namespace {

struct ReadCursor
{
    const std::string* data;
    std::size_t pos;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto* cur = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (cur->pos + length > cur->data->size())
        png_error(png, "truncated");
    std::memcpy(out, cur->data->data() + cur->pos, length);
    cur->pos += length;
}

// Decodes the whole PNG; false when libpng refuses it.
bool DecodePng(const std::string& png, int& width, int& height)
{
    ReadCursor cursor{&png, 0};
    png_structp rd = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(rd);
    if (setjmp(png_jmpbuf(rd))) {
        png_destroy_read_struct(&rd, &info, nullptr);
        return false;
    }
    png_set_read_fn(rd, &cursor, ReadBytes);
    png_read_png(rd, info, PNG_TRANSFORM_IDENTITY, nullptr);
    width = static_cast<int>(png_get_image_width(rd, info));
    height = static_cast<int>(png_get_image_height(rd, info));
    png_destroy_read_struct(&rd, &info, nullptr);
    return true;
}

TEST(CaptchaImageTest, DrawsADecodablePictureOfDigitsOnly)
{
    const std::string a = RenderCodePng("0375", 42);
    int w = 0, h = 0;
    ASSERT_TRUE(DecodePng(a, w, h));
    EXPECT_EQ(w, 73);
    EXPECT_EQ(h, 25);
    EXPECT_NE(a, RenderCodePng("0376", 42));
    EXPECT_TRUE(RenderCodePng("12a4", 1).empty());
}

TEST(StockTableTest, SkipsMalformedRowsAndBuildsTheSearchTable)
{
    TempFolder dir;
    const std::string csv = dir.file("stocks.csv");
    ASSERT_TRUE(AtomicWriteFile(csv, "code,name,spell,board,exchange,kind\n"
                                     "600000,浦发银行,PFYH,主板,SSE,stock\r\n"
                                     "60000,短代码,DDM,主板,SSE,stock\n"
                                     "600001,,KONG,主板,SSE,stock\n"
                                     "only,three,fields\n"
                                     "000001,平安银行,PAYH,主板,SZSE,stock\n"
                                     "000001,上证指数,SZZS,指数,SSE,index\n"
                                     "600000,浦发银行,PFYH,主板,SSE,stock\n"));
    StockTable table;
    std::string error;
    ASSERT_TRUE(table.load(csv, error)) << error;
    EXPECT_EQ(table.all().size(), 3u);
    ASSERT_NE(table.find("i000001"), nullptr);
    EXPECT_EQ(table.find("i000001")->name, "上证指数");
    EXPECT_EQ(table.find("000001")->name, "平安银行");

    const std::string db = dir.file("meridex.db");
    ASSERT_TRUE(AtomicWriteFile(db, "an older file that is replaced"));
    ASSERT_TRUE(BuildStockDatabase(table, db, error)) << error;
    sqlite3* h = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &h), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(h, "SELECT codename FROM stockname where spell like 'pa%'", -1,
                                 &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "000001 平安银行");
    sqlite3_finalize(st);
    sqlite3_close(h);

    EXPECT_FALSE(table.load(dir.file("missing.csv"), error));
    ASSERT_TRUE(AtomicWriteFile(csv, "code,name,spell,board,exchange,kind\n"));
    EXPECT_FALSE(table.load(csv, error));
}

TEST(HttpHelpersTest, WatchCodesAndSplitting)
{
    for (const char* good : {"600000", "i000001", "000000"})
        EXPECT_TRUE(IsWatchCode(good)) << good;
    for (const char* bad :
         {"", "60000", "6000000", "i60000", "I000001", "ii00001", "60000a", " 600000"})
        EXPECT_FALSE(IsWatchCode(bad)) << bad;
    EXPECT_EQ(SplitOn("a,,b,", ','), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(HtmlEscape("<a href='x'>&\""), "&lt;a href=&#39;x&#39;&gt;&amp;&quot;");
}

} // namespace
