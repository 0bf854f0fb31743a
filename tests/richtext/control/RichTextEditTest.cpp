// The editor control as the program drives it: change notification, read-only refusal, and
// characters of every script kept.
#include "richtext/qt/RichText.h"
#include "richtext/model/DocumentDump.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

namespace quillory {
namespace {

TEST(RichTextEdit, InsertTextFiresOnChangeAndEndsEmptiness)
{
    TWPRichText editor;
    int changes = 0;
    editor.OnChange = [&](TWPRichText& sender) {
        EXPECT_EQ(&sender, &editor);
        ++changes;
    };
    EXPECT_TRUE(editor.IsEmpty());
    ASSERT_TRUE(editor.InsertText(QStringLiteral("Caf\u00e9 \u20ac5")));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(editor.IsEmpty());
    EXPECT_EQ(editor.RtfText().firstParagraph()->text(), "Caf\u00e9 \u20ac5");
    editor.Changed();
    EXPECT_EQ(changes, 2);

    // Nothing to insert changes nothing.
    EXPECT_FALSE(editor.InsertText(QString()));
    EXPECT_EQ(changes, 2);
}

// Characters outside cp1252 were refused with a beep (before that, stored as '?'): inserted,
// typed and pasted, every one is kept.
TEST(RichTextEdit, CharactersOfEveryScriptAreKept)
{
    TWPRichText editor;
    editor.InsertText(QStringLiteral("keep "));
    int changes = 0;
    editor.OnChange = [&](TWPRichText&) { ++changes; };

    EXPECT_TRUE(editor.InsertText(QStringLiteral("a\u4e2db")));
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u0394"));
    QApplication::sendEvent(&editor, &typed); // a typed Greek delta
    auto* data = new QMimeData;
    data->setText(QStringLiteral(" smile \U0001F600"));
    QGuiApplication::clipboard()->setMimeData(data);
    editor.PasteFromClipboard();

    EXPECT_EQ(editor.RtfText().firstParagraph()->text(), "keep a\u4e2db\u0394 smile \U0001F600");
    EXPECT_EQ(editor.beeps(), 0);
    EXPECT_GE(changes, 3);
}

// The spelling dialog's Replace goes through ReplaceSelection: it refused a word outside cp1252
// with a beep and put a cp1252 word's bytes into the UTF-8 text as they were.
TEST(RichTextEdit, ReplacingTheSelectionKeepsEveryCharacter)
{
    const QString replacements[] = {QStringLiteral("na\u00efve"), QStringLiteral("\u0416\u0443\u043a \U0001F600")};
    for (const QString& replacement : replacements) {
        TWPRichText editor;
        editor.InsertText(QStringLiteral("wrod"));
        editor.SelectAll();
        EXPECT_TRUE(editor.ReplaceSelection(replacement));
        EXPECT_EQ(editor.RtfText().firstParagraph()->text(), replacement.toStdString());
        EXPECT_EQ(editor.beeps(), 0);
    }
}

TEST(RichTextEdit, ReadOnlyEditorChangesNothing)
{
    TWPRichText editor;
    editor.InsertText(QStringLiteral("fixed"));
    editor.SetReadOnly(true);
    int changes = 0;
    editor.OnChange = [&](TWPRichText&) { ++changes; };

    EXPECT_FALSE(editor.InsertText(QStringLiteral("x")));
    auto* data = new QMimeData;
    data->setText(QStringLiteral("pasted"));
    QGuiApplication::clipboard()->setMimeData(data);
    editor.PasteFromClipboard();
    editor.SelectAll();
    editor.CutToClipboard();
    EXPECT_FALSE(editor.ReplaceSelection(QStringLiteral("y")));
    EXPECT_EQ(editor.InsertGraphic(QImage(4, 4, QImage::Format_RGB32)), 0);

    EXPECT_EQ(DumpText(editor.RtfText()), "fixed\n");
    EXPECT_EQ(changes, 0);
}

TEST(RichTextEdit, WordWrapFollowsTheWindowOrThePage)
{
    TWPRichText editor;
    editor.resize(300, 200);
    editor.show();
    editor.InsertText(QString(60, QLatin1Char('w')).replace(QLatin1Char('w'), QStringLiteral("word ")));
    editor.ReformatAndRepaint();
    const int wrapped = editor.engine().layoutWidth();
    EXPECT_LE(wrapped, 300);
    editor.SetWordWrap(false);
    EXPECT_GT(editor.engine().layoutWidth(), wrapped) << "without wrapping lines are as wide as the page";
}

} // namespace
} // namespace quillory
