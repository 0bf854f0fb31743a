// The editor control as the program drives it: change notification, read-only refusal, and the
// refusal of characters that cp1252 cannot hold.
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
    EXPECT_EQ(DumpText(editor.RtfText()), "Caf\\xe9 \\x805\n");
    editor.Changed();
    EXPECT_EQ(changes, 2);
}

TEST(RichTextEdit, ACharacterOutsideCp1252IsRefusedWithABeep)
{
    // Without the refusal the character was stored as '?' and the entry silently changed.
    TWPRichText editor;
    editor.InsertText(QStringLiteral("keep"));
    int changes = 0;
    editor.OnChange = [&](TWPRichText&) { ++changes; };

    EXPECT_FALSE(editor.InsertText(QStringLiteral("a\u4e2db")));
    EXPECT_EQ(editor.beeps(), 1);

    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u0394"));
    QApplication::sendEvent(&editor, &typed); // a typed Greek delta
    EXPECT_EQ(editor.beeps(), 2);

    auto* data = new QMimeData;
    data->setText(QStringLiteral("smile \U0001F600"));
    QGuiApplication::clipboard()->setMimeData(data);
    editor.PasteFromClipboard();
    EXPECT_EQ(editor.beeps(), 3);

    EXPECT_EQ(DumpText(editor.RtfText()), "keep\n");
    EXPECT_EQ(changes, 0);

    QKeyEvent bang(QEvent::KeyPress, Qt::Key_Exclam, Qt::NoModifier, QStringLiteral("!"));
    QApplication::sendEvent(&editor, &bang);
    EXPECT_EQ(DumpText(editor.RtfText()), "keep!\n") << "typing goes through the same insertion";
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
