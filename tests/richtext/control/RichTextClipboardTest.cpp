// Copy, cut and paste through the clipboard: RTF and plain text out, RTF preferred in, pictures
// as objects, and the copy event that can cancel.
#include "richtext/qt/RichText.h"
#include "richtext/model/DocumentDump.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

namespace quillory {
namespace {

void putOnClipboard(QMimeData* data) { QGuiApplication::clipboard()->setMimeData(data); }

void fillBoldMiddle(TWPRichText& editor)
{
    editor.InsertText(QStringLiteral("plain "));
    TAttr bold = editor.GetCurrentAttr();
    bold.style = AttrStyle::Bold;
    editor.SetCurrentAttr(bold);
    editor.InsertText(QStringLiteral("bold"));
    bold.style = 0;
    editor.SetCurrentAttr(bold);
    editor.InsertText(QStringLiteral(" tail\r\nsecond"));
}

TEST(RichTextClipboard, CopyPlacesRtfAndTextAndPasteKeepsTheFormatting)
{
    TWPRichText source;
    fillBoldMiddle(source);
    source.SelStart(6);
    source.SelLength(13); // "bold tail" + paragraph end + "sec"
    source.CopyToClipboard();

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(QStringLiteral("text/rtf")));
    EXPECT_EQ(data->data(QStringLiteral("application/rtf")), data->data(QStringLiteral("text/rtf")));
    EXPECT_TRUE(data->data(QStringLiteral("text/rtf")).startsWith("{\\rtf"));
    EXPECT_EQ(data->text(), QStringLiteral("bold tail\nsec"));

    TWPRichText target;
    target.InsertText(QStringLiteral("[]"));
    target.GoTo(1);
    target.PasteFromClipboard();
    EXPECT_EQ(DumpText(target.RtfText()), "[bold tail\nsec]\n");
    const TTextLine* line = target.RtfText().firstParagraph()->firstLine();
    EXPECT_TRUE(line->attrs()[1].hasStyle(AttrStyle::Bold));
    EXPECT_FALSE(line->attrs()[5].hasStyle(AttrStyle::Bold));
}

std::string paragraphTexts(const TWPRTFText& document)
{
    std::string out;
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        out += p->text() + "|";
    return out;
}

const std::string kScripts = "Za\u017c\u00f3\u0142\u0107 \u0416\u0443\u043a \U0001F600";

// Text of every script goes out as plain text and as RTF with \u, and plain text of every
// script from another program is pasted whole: such a paste was once refused, all of it.
TEST(RichTextClipboard, TextOfEveryScriptGoesOutAndComesBackIn)
{
    TWPRichText source;
    source.InsertText(std::string_view(kScripts + "\r\ncaf\u00e9"));
    source.SelectAll();
    source.CopyToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QString::fromUtf8(kScripts + "\ncaf\u00e9"));
    const QByteArray rtf = data->data(QStringLiteral("text/rtf"));
    EXPECT_TRUE(rtf.contains("Za\\u380?\\'f3\\u322?\\u263? \\u1046?\\u1091?\\u1082? \\u-10179?\\u-8704?")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("caf\\'e9")) << rtf.constData();

    auto* plain = new QMimeData;
    plain->setText(QString::fromUtf8("first line\r\n" + kScripts + "\n\u65e5\u672c\u8a9e \u05e9\u05dc\u05d5\u05dd"));
    putOnClipboard(plain);
    TWPRichText target;
    int pastes = 0;
    target.OnBeforePasteEvent = [&](TWPRichText&) { ++pastes; };
    target.PasteFromClipboard();
    EXPECT_EQ(pastes, 1);
    EXPECT_EQ(paragraphTexts(target.RtfText()),
              "first line|" + kScripts + "|\u65e5\u672c\u8a9e \u05e9\u05dc\u05d5\u05dd|");
}

// The RTF of the clipboard read back: every character, through \u and the reader.
TEST(RichTextClipboard, RtfOfEveryScriptPastesBackWhole)
{
    TWPRichText source;
    source.InsertText(std::string_view(kScripts + "\r\ncaf\u00e9"));
    source.SelectAll();
    source.CopyToClipboard();
    TWPRichText target;
    target.PasteFromClipboard();
    EXPECT_EQ(paragraphTexts(target.RtfText()), kScripts + "|caf\u00e9|");
}

TEST(RichTextClipboard, RtfFromAnotherProgramIsPreferredOverItsText)
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"),
                  QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Helvetica;}}\\f0\\fs24 \\i slanted\\i0  word}"));
    data->setText(QStringLiteral("slanted word"));
    putOnClipboard(data);
    TWPRichText editor;
    int pastes = 0;
    editor.OnBeforePasteEvent = [&](TWPRichText&) { ++pastes; };
    editor.PasteFromClipboard();
    EXPECT_EQ(pastes, 1);
    EXPECT_EQ(DumpText(editor.RtfText()), "slanted word\n");
    const TAttr first = editor.RtfText().firstParagraph()->firstLine()->attrs()[0];
    EXPECT_TRUE(first.hasStyle(AttrStyle::Italic));
    EXPECT_EQ(first.size, 12);
    EXPECT_EQ(editor.RtfText().header().font(first.font)->name, "Helvetica");
}

TEST(RichTextClipboard, NothingSelectedOrCancelledCopiesNothing)
{
    putOnClipboard(new QMimeData);
    auto* before = new QMimeData;
    before->setText(QStringLiteral("before"));
    putOnClipboard(before);

    TWPRichText editor;
    editor.InsertText(QStringLiteral("some text"));
    editor.CopyToClipboard();
    editor.CutToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(DumpText(editor.RtfText()), "some text\n");

    editor.SelectAll();
    editor.OnBeforeCopyEvent = [](TWPRichText&, bool& doIt) { doIt = false; };
    editor.CutToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(DumpText(editor.RtfText()), "some text\n") << "a cancelled copy deletes nothing";

    editor.OnBeforeCopyEvent = nullptr;
    editor.CutToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("some text"));
    EXPECT_TRUE(editor.IsEmpty());
}

TEST(RichTextClipboard, EmptyClipboardChangesNothingAndAPictureBecomesAnObject)
{
    TWPRichText editor;
    editor.InsertText(QStringLiteral("ab"));
    putOnClipboard(new QMimeData);
    editor.PasteFromClipboard();
    EXPECT_EQ(DumpText(editor.RtfText()), "ab\n");

    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    auto* data = new QMimeData;
    data->setImageData(image);
    putOnClipboard(data);
    editor.GoTo(1);
    editor.PasteFromClipboard();
    EXPECT_EQ(DumpText(editor.RtfText()), "a\\x01b\n");
    ASSERT_EQ(editor.RtfText().objects().size(), 1u);
    const TTextObject& object = *editor.RtfText().objects().front();
    ASSERT_NE(object.graphic, nullptr);
    EXPECT_EQ(object.graphic->kind, GraphicKind::Dib);
    EXPECT_EQ(object.graphic->bytes.substr(0, 2), "BM");
    EXPECT_EQ(object.width, 8 * 1440 / editor.logicalDpiX());
    EXPECT_TRUE(editor.RtfText().firstParagraph()->firstLine()->attrs()[1].hasFlag(AttrFlag::Object));
}

} // namespace
} // namespace quillory

namespace quillory {
namespace {

TEST(RichTextClipboard, ATransparentPictureIsLaidOnWhite)
{
    // Dropping the alpha channel alone turned transparent pixels black.
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    TWPRichText editor;
    const int tag = editor.InsertGraphic(image);
    ASSERT_NE(tag, 0);
    const std::string& bytes = editor.RtfText().findObject(tag)->graphic->bytes;
    const QImage stored = QImage::fromData(QByteArray(bytes.data(), qsizetype(bytes.size())), "BMP");
    ASSERT_FALSE(stored.isNull());
    EXPECT_EQ(stored.pixelColor(0, 0), QColor(Qt::white));
}

} // namespace
} // namespace quillory
