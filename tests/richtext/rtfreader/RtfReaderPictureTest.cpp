// Tests of the RTF reader's pictures: metafile header, DIB rebuilt as BMP, device bitmaps,
// display sizes, pictures the model cannot hold, and pictures that fail to build.
#include "RtfReaderTestSupport.h"

#include <gtest/gtest.h>

using namespace quillory;
using quillory::testing::ReadRtf;

namespace {

uint32_t LE16(const std::string& bytes, size_t at)
{
    return uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8;
}

uint32_t LE32(const std::string& bytes, size_t at)
{
    return LE16(bytes, at) | LE16(bytes, at + 2) << 16;
}

const TTextObject& OnlyObject(const TWPRTFText& document)
{
    EXPECT_EQ(document.objects().size(), 1u);
    return *document.objects().front();
}

TEST(RtfReaderPicture, RebuildsThePlaceableHeaderOfAMetafile)
{
    const auto read = ReadRtf("{\\rtf1 a{\\pict\\wmetafile8\\picw2000\\pich1000\\picwgoal1440\\pichgoal720\r\n"
                              "0100090000\r\n03}b}");
    EXPECT_EQ(DumpDocument(*read.document), "- | \"a\\x01b\" | 1 f0 s10, 1 f0 s10 obj #1, 1 f0 s10\n");
    const TTextObject& object = OnlyObject(*read.document);
    ASSERT_TRUE(object.graphic);
    const TGraphic& graphic = *object.graphic;
    EXPECT_EQ(graphic.kind, GraphicKind::Metafile);
    ASSERT_EQ(graphic.bytes.size(), 22u + 6u);
    EXPECT_EQ(LE32(graphic.bytes, 0), 0x9AC6CDD7u);
    EXPECT_EQ(LE16(graphic.bytes, 10), 2000u); // bounding box right, bottom
    EXPECT_EQ(LE16(graphic.bytes, 12), 1000u);
    EXPECT_EQ(LE16(graphic.bytes, 14), 2540u);
    uint32_t checksum = 0;
    for (size_t i = 0; i < 20; i += 2)
        checksum ^= LE16(graphic.bytes, i);
    EXPECT_EQ(LE16(graphic.bytes, 20), checksum);
    EXPECT_EQ(graphic.bytes.substr(22), std::string("\x01\x00\x09\x00\x00\x03", 6));
    EXPECT_EQ(graphic.width, 2000);
    EXPECT_EQ(graphic.height, 1000);
    EXPECT_EQ(object.width, 1440);
    EXPECT_EQ(object.height, 720);
}

TEST(RtfReaderPicture, RebuildsADibAsABmpFileImage)
{
    // A 2 x 2 one-bit DIB: 40-byte info header, two palette entries, two rows of four bytes.
    const std::string dibHex = "28000000020000000200000001000100000000000800000000000000000000000000000000000000"
                               "00000000ffffff00"
                               "80000000c0000000";
    const auto read = ReadRtf("{\\rtf1{\\pict\\dibitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes1\\picw2\\pich2"
                              "\\picwgoal30\\pichgoal45\\picscalex200\\picscaley50 " + dibHex + "}}");
    const TTextObject& object = OnlyObject(*read.document);
    ASSERT_TRUE(object.graphic);
    const TGraphic& graphic = *object.graphic;
    EXPECT_EQ(graphic.kind, GraphicKind::Dib);
    ASSERT_EQ(graphic.bytes.size(), 14u + dibHex.size() / 2);
    EXPECT_EQ(graphic.bytes.substr(0, 2), "BM");
    EXPECT_EQ(LE32(graphic.bytes, 2), graphic.bytes.size());
    EXPECT_EQ(LE32(graphic.bytes, 10), 14u + 40u + 8u); // bits follow header and palette
    EXPECT_EQ(LE32(graphic.bytes, 14), 40u);
    EXPECT_EQ(graphic.width, 2);
    EXPECT_EQ(graphic.bitsPerPixel, 1);
    EXPECT_EQ(object.width, 60);
    EXPECT_EQ(object.height, 22);
}

TEST(RtfReaderPicture, KeepsDeviceBitmapBitsAndBinaryData)
{
    auto read = ReadRtf("{\\rtf1{\\pict\\wbitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2\\picw2\\pich2 c000C000}}");
    const TGraphic* graphic = OnlyObject(*read.document).graphic.get();
    ASSERT_TRUE(graphic);
    EXPECT_EQ(graphic->kind, GraphicKind::DeviceBitmap);
    EXPECT_EQ(graphic->bytes, std::string("\xc0\x00\xc0\x00", 4));
    EXPECT_EQ(graphic->widthBytes, 2);
    EXPECT_EQ(OnlyObject(*read.document).width, 30); // no goal size: pixels at 15 twips

    // \bin data may hold braces; it is picture data, not structure.
    using namespace std::string_literals;
    read = ReadRtf("{\\rtf1{\\pict\\wbitmap0\\picw1\\pich1\\bin4 {}\\\0}x}"s);
    graphic = OnlyObject(*read.document).graphic.get();
    ASSERT_TRUE(graphic);
    EXPECT_EQ(graphic->bytes, std::string("{}\\\x00", 4));
    EXPECT_EQ(DumpText(*read.document), "\\x01x\n");
}

TEST(RtfReaderPicture, ReadsTheStandInOfABrokenShapePictureAndKeepsBrokenOnesWithoutGraphic)
{
    // The shape picture is cut short: its metafile copy is read in its place. A broken JPEG
    // outside a shape picture keeps its place without graphic.
    auto read = ReadRtf("{\\rtf1{\\*\\shppict{\\pict\\pngblip 89504e47}}{\\nonshppict{\\pict\\wmetafile8\\picw1\\pich1 0100}}"
                        "{\\pict\\jpegblip ffd8}x}");
    ASSERT_EQ(read.document->objects().size(), 2u);
    EXPECT_EQ(read.document->objects()[0]->graphic->kind, GraphicKind::Metafile);
    EXPECT_FALSE(read.document->objects()[1]->graphic);
    EXPECT_EQ(DumpText(*read.document), "\\x01\\x01x\n");

    // A DIB whose header claims more than was sent: an object without graphic, and reading goes on.
    read = ReadRtf("{\\rtf1{\\pict\\dibitmap0\\picw2\\pich2 ff000000}y}");
    ASSERT_EQ(read.document->objects().size(), 1u);
    EXPECT_FALSE(read.document->objects()[0]->graphic);
    EXPECT_EQ(DumpText(*read.document), "\\x01y\n");
}

TEST(RtfReaderPicture, ReadsALargePicture)
{
    std::string rtf = "{\\rtf1{\\pict\\wbitmap0\\picw4096\\pich4096 ";
    rtf.append(20u << 20, 'a'); // 10 MB of picture bytes
    rtf += "}end}";
    const auto read = ReadRtf(rtf);
    EXPECT_EQ(read.result, 0);
    ASSERT_EQ(read.document->objects().size(), 1u);
    EXPECT_EQ(read.document->objects()[0]->graphic->bytes.size(), 10u << 20);
    EXPECT_EQ(DumpText(*read.document), "\\x01end\n");
}

} // namespace
