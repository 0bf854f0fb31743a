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

} // namespace
} // namespace quillory
