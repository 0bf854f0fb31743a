// The find and replace dialogs: one of each for all editors, bound to the editor that opened it.
#include "richtext/qt/FindDialog.h"
#include "richtext/qt/ReplaceDialog.h"
#include "richtext/qt/RichText.h"
#include "richtext/model/DocumentDump.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace quillory {
namespace {

// The document's paragraphs as UTF-8, one a line.
std::string Paragraphs(const TWPRTFText& document)
{
    std::string text;
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        text += p->text() + "\n";
    return text;
}

TEST(FindReplaceDialog, OneSharedDialogFollowsTheEditorThatOpensIt)
{
    TWPRichText first, second;
    first.InsertText(QStringLiteral("alpha beta"));
    second.InsertText(QStringLiteral("beta gamma beta"));
    TWPFindDialog* dialog = TWPFindDialog::Shared(first);
    EXPECT_EQ(TWPFindDialog::Shared(second), dialog);
    EXPECT_EQ(dialog->editor(), &second);

    second.GoTo(0);
    dialog->FindEdit->setText(QStringLiteral("BETA"));
    ASSERT_TRUE(dialog->FindNextButtonClick());
    EXPECT_EQ(second.core().SelStartPosition(), 0);
    ASSERT_TRUE(dialog->FindNextButtonClick());
    EXPECT_EQ(second.core().SelStartPosition(), 11);
    EXPECT_FALSE(dialog->FindNextButtonClick());
    EXPECT_FALSE(dialog->StatusLabel->text().isEmpty());

    dialog->MatchCaseCheck->setChecked(true);
    second.GoTo(0);
    EXPECT_FALSE(dialog->FindNextButtonClick());
    dialog->MatchCaseCheck->setChecked(false);
    dialog->UpButton->setChecked(true);
    second.GoTo(15);
    ASSERT_TRUE(dialog->FindNextButtonClick());
    EXPECT_EQ(second.core().SelStartPosition(), 11);
    EXPECT_EQ(first.core().SelLength(), 0) << "the other editor is left alone";
}

TEST(FindReplaceDialog, ReplaceOneThenAll)
{
    TWPRichText editor;
    editor.InsertText(QStringLiteral("cat cat catalog cat"));
    int changes = 0;
    editor.OnChange = [&](TWPRichText&) { ++changes; };
    TWPReplaceDialog* dialog = TWPReplaceDialog::Shared(editor);
    dialog->FindEdit->setText(QStringLiteral("cat"));
    dialog->ReplaceEdit->setText(QStringLiteral("dog"));
    dialog->WholeWordCheck->setChecked(true);
    editor.GoTo(0);
    ASSERT_TRUE(dialog->ReplaceButtonClick()); // nothing selected: finds the first
    EXPECT_EQ(DumpText(editor.RtfText()), "cat cat catalog cat\n");
    ASSERT_TRUE(dialog->ReplaceButtonClick()); // replaces it and finds the next
    EXPECT_EQ(DumpText(editor.RtfText()), "dog cat catalog cat\n");
    EXPECT_EQ(editor.core().SelStartPosition(), 4);
    EXPECT_EQ(dialog->ReplaceAllButtonClick(), 2);
    EXPECT_EQ(DumpText(editor.RtfText()), "dog dog catalog dog\n");
    EXPECT_EQ(changes, 2);

    editor.SetReadOnly(true);
    EXPECT_EQ(dialog->ReplaceAllButtonClick(), 0);
}

// The dialogs take their text as typed, in any script: it is matched without regard to case
// and replaced with every character kept.
TEST(FindReplaceDialog, FindAndReplaceTextOfAnyScript)
{
    TWPRichText editor;
    editor.core().InsertText("\U0001F600 Жук и ЖУК, σοφός");
    TWPReplaceDialog* dialog = TWPReplaceDialog::Shared(editor);
    dialog->FindEdit->setText(QStringLiteral("жук"));
    dialog->ReplaceEdit->setText(QStringLiteral("ёж \U0001F994"));
    editor.GoTo(0);
    ASSERT_TRUE(dialog->FindNextButtonClick());
    EXPECT_EQ(editor.core().SelStartPosition(), 5);
    EXPECT_EQ(editor.core().SelectedText(), "Жук");
    ASSERT_TRUE(dialog->ReplaceButtonClick());  // replaces it and finds the next
    EXPECT_EQ(editor.core().SelectedText(), "ЖУК");
    EXPECT_EQ(dialog->ReplaceAllButtonClick(), 1);
    EXPECT_EQ(Paragraphs(editor.RtfText()), "\U0001F600 ёж \U0001F994 и ёж \U0001F994, σοφός\n");

    // A selection becomes the find text of the dialog.
    editor.core().Select(long(Paragraphs(editor.RtfText()).find("σοφός")), 10);
    EXPECT_EQ(TWPFindDialog::Shared(editor)->FindEdit->text(), QStringLiteral("σοφός"));
}

} // namespace
} // namespace quillory
