// Photos in entries: PNG and JPEG pictures read from RTF in their own form (\pngblip,
// \jpegblip, preferred to a \nonshppict stand-in), written back the same, drawn and printed.
#include "richtext/html/HtmlPictures.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/model/EncodedPicture.h"
#include "richtext/qt/QtCanvas.h"
#include "richtext/qt/RichTextPrinting.h"
#include "richtext/rtf/RtfReader.h"
#include "richtext/rtf/RtfWriter.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillory {
namespace {

std::string Fixture(const char* name)
{
    std::ifstream in(std::filesystem::path(QUILLORY_TEST_DATA) / "images" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string Hex(std::string_view bytes)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::unique_ptr<TWPRTFText> Read(const std::string& rtf)
{
    auto doc = std::make_unique<TWPRTFText>();
    TParagraph* current = doc->firstParagraph();
    TWPRtfReader reader;
    EXPECT_EQ(reader.ReadStream(rtf, doc.get(), &current), ReadResult::Ok) << rtf.substr(0, 200);
    return doc;
}

TEST(EncodedPicture, KindAndSizeComeFromTheBytes)
{
    const std::string png = Fixture("photo.png"), jpeg = Fixture("photo.jpg");
    ASSERT_FALSE(png.empty());
    ASSERT_FALSE(jpeg.empty());
    EXPECT_EQ(EncodedPictureKind(png), GraphicKind::Png);
    EXPECT_EQ(EncodedPictureKind(jpeg), GraphicKind::Jpeg);
    EXPECT_EQ(EncodedPictureSize(GraphicKind::Png, png), (PixelSize{40, 30}));
    EXPECT_EQ(EncodedPictureSize(GraphicKind::Jpeg, jpeg), (PixelSize{64, 48}));
    EXPECT_EQ(EncodedPictureSize(GraphicKind::Jpeg, Fixture("wide.jpg")), (PixelSize{2400, 1600}));

    const struct { const char* name; GraphicKind kind; std::string bytes; } broken[] = {
        {"PNG cut in its header", GraphicKind::Png, png.substr(0, 20)},
        {"JPEG cut before its frame header", GraphicKind::Jpeg, jpeg.substr(0, 20)},
        {"PNG bytes asked as JPEG", GraphicKind::Jpeg, png},
        {"JPEG whose data starts before any frame", GraphicKind::Jpeg, std::string("\xFF\xD8\xFF\xDA\x00\x02", 6)},
        {"segment length below two", GraphicKind::Jpeg, std::string("\xFF\xD8\xFF\xE0\x00\x01\xFF\xC0", 8)},
        {"zero width", GraphicKind::Png, png.substr(0, 16) + std::string(4, '\0') + png.substr(20)},
        {"a bitmap", GraphicKind::Dib, Fixture("pic.bmp")},
    };
    for (const auto& row : broken)
        EXPECT_FALSE(EncodedPictureSize(row.kind, row.bytes)) << row.name;
    EXPECT_FALSE(EncodedPictureKind("BM not a photo"));
}

TEST(PhotosInRtf, ReadsPngAndJpegPicturesInTheirOwnForm)
{
    const std::string png = Fixture("photo.png"), jpeg = Fixture("photo.jpg");
    // \picw of such pictures is in hundredths of a millimetre for some writers: the header
    // gives the pixels. Without a goal size a pixel is 15 twips.
    const auto doc = Read("{\\rtf1 a{\\pict\\pngblip\\picw1058\\pich794\\picwgoal1200\\pichgoal900 " + Hex(png)
                          + "}b{\\pict\\jpegblip\\picscalex50\\picscaley50 " + Hex(jpeg) + "}}");
    EXPECT_EQ(DumpSideLists(*doc), "obj 1 png " + std::to_string(png.size()) + "B 40x30 show1200x900\n"
                                   "obj 2 jpeg " + std::to_string(jpeg.size()) + "B 64x48 show480x360\n");
    EXPECT_EQ(doc->objects()[0]->graphic->bytes, png);
    EXPECT_EQ(doc->objects()[1]->graphic->bytes, jpeg);
}

TEST(PhotosInRtf, TakesTheShapePictureAndSkipsItsStandIn)
{
    const std::string png = Hex(Fixture("photo.png"));
    const std::string metafile = "{\\pict\\wmetafile8\\picw100\\pich100 010009000003}";
    const struct { const char* name; std::string rtf; std::string objects; } rows[] = {
        {"PNG with a metafile stand-in",
         "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip " + png + "}}{\\nonshppict" + metafile + "}b}", "png"},
        {"a shape picture the model cannot hold leaves the stand-in to be read",
         "{\\rtf1 a{\\*\\shppict{\\pict\\emfblip 0100}}{\\nonshppict" + metafile + "}b}", "wmf"},
        {"broken PNG bytes: the stand-in is read",
         "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip 89504e47}}{\\nonshppict" + metafile + "}b}", "wmf"},
        {"a stand-in alone is read", "{\\rtf1 a{\\nonshppict" + metafile + "}b}", "wmf"},
        {"two pictures, each with its stand-in",
         "{\\rtf1 {\\*\\shppict{\\pict\\pngblip " + png + "}}{\\nonshppict" + metafile + "}{\\*\\shppict{\\pict\\emfblip 01}}"
         "{\\nonshppict" + metafile + "}}", "png wmf"},
        {"a JPEG labelled PNG is still a JPEG", "{\\rtf1 {\\pict\\pngblip " + Hex(Fixture("photo.jpg")) + "}}", "jpeg"},
    };
    for (const auto& row : rows) {
        const auto doc = Read(row.rtf);
        std::string kinds;
        for (const auto& object : doc->objects()) {
            static const char* const names[] = {"wmf", "ddb", "dib", "png", "jpeg"};
            kinds += std::string(kinds.empty() ? "" : " ") + (object->graphic ? names[int(object->graphic->kind)] : "none");
        }
        EXPECT_EQ(kinds, row.objects) << row.name;
    }
}

TEST(PhotosInRtf, RoundTripKeepsTheBytesKindAndSize)
{
    TWPRTFText doc;
    for (const char* name : {"photo.png", "photo.jpg"}) {
        auto graphic = std::make_unique<TGraphic>();
        graphic->bytes = Fixture(name);
        graphic->kind = *EncodedPictureKind(graphic->bytes);
        const PixelSize size = *EncodedPictureSize(graphic->kind, graphic->bytes);
        graphic->width = size.width;
        graphic->height = size.height;
        TTextObject& object = doc.addObject(std::move(graphic));
        object.width = 2000;
        object.height = 1500;
        TAttr attr;
        attr.size = 10;
        attr.flags |= AttrFlag::Object;
        attr.tag = object.tag;
        doc.firstParagraph()->firstLine()->append(char(CharCode::Object), attr);
    }
    doc.header().formatted = true;
    const std::string rtf = WriteRtf(doc);
    EXPECT_NE(rtf.find("{\\pict\\pngblip\\picw40\\pich30\\picwgoal2000\\pichgoal1500"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\pict\\jpegblip\\picw64\\pich48"), std::string::npos);
    const auto back = Read(rtf);
    EXPECT_EQ(DumpSideLists(*back), DumpSideLists(doc));
    ASSERT_EQ(back->objects().size(), 2u);
    EXPECT_EQ(back->objects()[0]->graphic->bytes, doc.objects()[0]->graphic->bytes);
    EXPECT_EQ(back->objects()[1]->graphic->bytes, doc.objects()[1]->graphic->bytes);
    EXPECT_EQ(WriteRtf(*back), rtf);
}

TEST(PhotosInHtml, DataUrisCarryPngAndJpegAsTheyAre)
{
    TGraphic jpeg;
    jpeg.kind = GraphicKind::Jpeg;
    jpeg.bytes = Fixture("photo.jpg");
    jpeg.width = 64;
    jpeg.height = 48;
    const std::string uri = html::DataUri(jpeg);
    EXPECT_TRUE(uri.starts_with("data:image/jpeg;")) << uri.substr(0, 40);
    const auto back = html::GraphicFromDataUri(uri);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, jpeg);

    // A PNG from another page: kind and size from its own bytes; bytes that are no PNG are refused.
    const auto png = html::GraphicFromDataUri("data:image/png;base64," + html::Base64Encode(Fixture("photo.png")));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->kind, GraphicKind::Png);
    EXPECT_EQ(png->width, 40);
    EXPECT_FALSE(html::GraphicFromDataUri("data:image/png;base64,aGVsbG8="));
}

TEST(PhotosPainted, ADrawnPhotoShowsItsPixels)
{
    TGraphic graphic;
    graphic.kind = GraphicKind::Png;
    graphic.bytes = Fixture("photo.png");
    const QImage decoded = GraphicToImage(graphic);
    ASSERT_EQ(decoded.size(), QSize(40, 30));

    QImage target(80, 60, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    QtCanvas canvas(&painter);
    canvas.drawPicture(graphic, Rect{0, 0, 80, 60});
    canvas.drawPicture(graphic, Rect{0, 0, 80, 60}); // the second paint comes from the cache
    painter.end();
    // The fixture's red square covers pixels 5..20 of the picture, drawn twice as large.
    EXPECT_EQ(QColor(target.pixel(24, 24)), QColor(Qt::red));
    EXPECT_EQ(QColor(target.pixel(24, 24)), QColor(decoded.pixel(12, 12)));

    // Another picture drawn where the first was is not mistaken for it.
    graphic.kind = GraphicKind::Jpeg;
    graphic.bytes = Fixture("photo.jpg");
    QImage second(80, 60, QImage::Format_RGB32);
    QPainter painter2(&second);
    QtCanvas canvas2(&painter2);
    canvas2.drawPicture(graphic, Rect{0, 0, 80, 60});
    painter2.end();
    EXPECT_NE(QColor(second.pixel(24, 24)), QColor(Qt::red));
}

TEST(PhotosPrinted, APdfOfAnEntryWithAPhotoHoldsTheImage)
{
    const std::string jpeg = Fixture("photo.jpg");
    auto doc = Read("{\\rtf1 Before{\\pict\\jpegblip\\picwgoal2880\\pichgoal2160 " + Hex(jpeg) + "}after.\\par}");
    TWPRTFTextPaint engine(*doc);
    QtCanvas measuring(nullptr, 96);
    engine.setCanvas(&measuring);
    engine.reformatAll();

    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("photo.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        SetUpPrinterForDocument(printer, doc->header());
        ASSERT_TRUE(PrintDocument(engine, printer, 0, INT_MAX));
    }
    std::ifstream in(pdf.toStdString(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_TRUE(bytes.starts_with("%PDF-"));
    // The photo is placed as an image object of its own pixels.
    EXPECT_NE(bytes.find("/Subtype /Image"), std::string::npos);
    EXPECT_NE(bytes.find("/Width 64"), std::string::npos);
    EXPECT_NE(bytes.find("/Height 48"), std::string::npos);
}

} // namespace
} // namespace quillory
