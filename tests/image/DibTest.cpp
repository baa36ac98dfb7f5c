#include "image/tDib.h"
#include "image/tDibPalette.h"
#include "platform/MessageBox.h"
#include "tests/support/BitmapFile.h"
#include "tests/support/TestSupport.h"

#include <vector>

using TestSupport::tBitmapFile;
using TestSupport::WriteFile;

namespace {

class DibTest : public testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHandler([this](const std::string& text) { m_Messages.push_back(text); });
    }
    void TearDown() override { SetMessageBoxHandler({}); }

    // Loads the file's bytes from a file named picture.bmp.
    bool LoadBytes(tDib& picture, const std::string& bytes) {
        WriteFile("picture.bmp", bytes);
        return picture.Load("picture.bmp");
    }

    // The picture still holds the 16 x 16 grey ramp it was made with.
    static void ExpectUnchanged(const tDib& picture) {
        EXPECT_EQ(picture.GetWidth(), 16);
        EXPECT_EQ(picture.GetHeight(), 16);
        EXPECT_EQ(picture.GetPixelIndex(0, 15), 240);
        EXPECT_EQ(picture.m_SourceRect, CRect(0, 0, 16, 16));
    }

    TestSupport::tScratch m_Scratch;
    std::vector<std::string> m_Messages;
};

TEST_F(DibTest, LoadsAn8BitPicture) {
    tDib picture;
    ASSERT_TRUE(LoadBytes(picture, tBitmapFile().Bytes()));
    EXPECT_TRUE(m_Messages.empty());
    EXPECT_EQ(picture.GetWidth(), 4);
    EXPECT_EQ(picture.GetHeight(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(picture.GetPixelIndex(x, y), tBitmapFile::IndexAt(x, y, 4));
    EXPECT_EQ(picture.GetPixelColour(1, 2), tBitmapFile::Colour(tBitmapFile::IndexAt(1, 2, 4)));
    EXPECT_EQ(picture.GetColourCount(), 256) << "a loaded picture always has 256 colours";
    EXPECT_EQ(picture.m_SourceRect, CRect(0, 0, 4, 3));
    EXPECT_EQ(picture.m_DestRect, CRect(0, 0, 4, 3));
}

TEST_F(DibTest, AShortColourTableAndPixelsAtOffBits) {
    tBitmapFile file;
    file.m_ClrUsed = 16;
    file.m_TableEntries = 16;
    tDib picture;
    ASSERT_TRUE(LoadBytes(picture, file.Bytes()));
    EXPECT_EQ(picture.GetPixelColour(0, 0), tBitmapFile::Colour(1));
    EXPECT_EQ(picture.GetPixelIndex(3, 2), 12);
    // Entries beyond the file's 16 are black.
    const uint8_t* table = picture.GetColourTable();
    EXPECT_EQ(table[4 * 16] | table[4 * 16 + 1] | table[4 * 16 + 2], 0);
}

TEST_F(DibTest, ANewerLargerHeaderIsReadAsAnOldOne) {
    tBitmapFile file;
    file.m_HeaderSize = 124;
    tDib picture;
    ASSERT_TRUE(LoadBytes(picture, file.Bytes()));
    EXPECT_EQ(picture.GetPixelIndex(0, 0), 1);
    EXPECT_EQ(picture.GetPixelColour(0, 0), 0u) << "no colours read: the table stays black";
}

// Every rejected file: the messages in their order, and the previous picture kept.
TEST_F(DibTest, RejectedFilesKeepThePreviousPicture) {
    const std::string failed = "Failed to open file picture.bmp\n";
    auto with = [](auto change) {
        tBitmapFile file;
        change(file);
        return file.Bytes();
    };
    const std::string good = tBitmapFile().Bytes();
    std::string farOffset = good;
    farOffset[13] = 0x40; // bfOffBits 1 GiB into a file of about a kilobyte
    struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> messages;
    } const rows[] = {
        {"24 bit",
         with([](tBitmapFile& f) { f.m_BitCount = 24, f.m_TableEntries = 0; }),
         {"Only 8 bit DIBs are supported", failed}},
        {"1 bit",
         with([](tBitmapFile& f) { f.m_BitCount = 1, f.m_Width = 32, f.m_TableEntries = 2; }),
         {failed}},
        {"4 bit",
         with([](tBitmapFile& f) { f.m_BitCount = 4, f.m_Width = 8, f.m_TableEntries = 16; }),
         {failed}},
        {"RLE",
         with([](tBitmapFile& f) { f.m_Compression = 1; }),
         {"Compressed (RLE) DIBs are not supported", failed}},
        {"zero width", with([](tBitmapFile& f) { f.m_Width = 0; }), {failed}},
        {"negative height", with([](tBitmapFile& f) { f.m_Height = -3; }), {failed}},
        {"too wide", with([](tBitmapFile& f) { f.m_Width = 20000; }), {failed}},
        {"stride overflow", with([](tBitmapFile& f) { f.m_Width = 0x7FFFFFFE; }), {failed}},
        {"300 colours", with([](tBitmapFile& f) { f.m_ClrUsed = 300; }), {failed}},
        {"offset past the end", farOffset, {failed}},
        {"empty file", "", {failed}},
        {"cut in the file header", good.substr(0, 10), {failed}},
        {"cut in the info header", good.substr(0, 40), {failed}},
        {"cut in the colour table", good.substr(0, 54 + 512), {failed}},
        {"cut before the pixels", good.substr(0, 54 + 1024), {failed}},
        {"cut in the pixels", good.substr(0, good.size() - 1), {failed}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        tDib picture;
        m_Messages.clear();
        EXPECT_FALSE(LoadBytes(picture, row.bytes));
        EXPECT_EQ(m_Messages, row.messages);
        ExpectUnchanged(picture);
    }
}

TEST_F(DibTest, ThePaletteTakesTheReferenceColoursInTheMiddle) {
    tDib reference;
    ASSERT_TRUE(LoadBytes(reference, tBitmapFile().Bytes()));
    tDibPalette palette;
    EXPECT_FALSE(palette.IsCreated());
    ASSERT_TRUE(palette.CreateFromDib(reference));
    EXPECT_EQ(palette.GetEntryCount(), 256);
    for (int i : {0, 100, 235}) {
        const PALETTEENTRY& entry = palette.GetEntry(10 + i);
        EXPECT_EQ(entry.peRed | entry.peGreen << 8 | entry.peBlue << 16, tBitmapFile::Colour(i));
        EXPECT_EQ(entry.peFlags, tDibPalette::PC_NOCOLLAPSE);
    }
    EXPECT_EQ(palette.GetEntry(255).peRed, 255);
    EXPECT_EQ(palette.GetEntry(0).peRed, 0);
    EXPECT_EQ(palette.GetNearestPaletteIndex(0x000000), 0) << "ties go to the lowest index";
    EXPECT_EQ(palette.GetNearestPaletteIndex(tBitmapFile::Colour(5) + 1), 15);
}

TEST_F(DibTest, MappingToAPaletteRewritesPixelsAndTable) {
    tDib reference;
    ASSERT_TRUE(LoadBytes(reference, tBitmapFile().Bytes()));
    tDibPalette palette;
    palette.CreateFromDib(reference);
    tDib picture; // the grey ramp
    EXPECT_FALSE(picture.MapToPalette(nullptr));
    ASSERT_TRUE(picture.MapToPalette(&palette));
    for (int y = 0; y < 16; ++y) {
        const int grey = 16 * y;
        const int index = picture.GetPixelIndex(0, y);
        EXPECT_EQ(index, palette.GetNearestPaletteIndex(PALETTERGB(grey, grey, grey)));
        EXPECT_EQ(picture.GetPixelColour(0, y) & 0xFFFFFF,
                  static_cast<COLORREF>(palette.GetEntry(index).peRed |
                                        palette.GetEntry(index).peGreen << 8 |
                                        palette.GetEntry(index).peBlue << 16));
    }
}

TEST_F(DibTest, CopyingPixelsWithATransparentIndex) {
    tDib source, target;
    source.Create(4, 4);
    target.Create(4, 4);
    *source.GetPixelAddress(1, 1) = 255;
    *source.GetPixelAddress(2, 1) = 7;
    *target.GetPixelAddress(1, 1) = 9;
    source.CopyTo(target, 0, 0, 4, 2, 0, 0, 255);
    EXPECT_EQ(target.GetPixelIndex(1, 1), 9) << "255 is skipped";
    EXPECT_EQ(target.GetPixelIndex(2, 1), 7);
    source.CopyTo(target, 0, 0, 4, 4, 0, 0, -1);
    EXPECT_EQ(target.GetPixelIndex(1, 1), 255);
    // A block reaching outside either picture copies only the part inside both.
    source.CopyTo(target, 3, 3, 100, 100, 2, 1, -1);
    EXPECT_EQ(target.GetPixelIndex(3, 3), 7);
    source.CopyTo(target, -50, -50, 4, 4, 0, 0, -1);
    source.CopyTo(target, 0, 0, 0, 4, 0, 0, -1);
}

} // namespace
