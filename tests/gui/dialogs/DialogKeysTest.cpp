// Every dialog without a mouse: Tab walks its fields and buttons in the order a person reads and
// fills them (fields before the buttons that act on them), reaches each one, and each has a name
// that a screen reader says.
#include "app/PasswordOwner.h"
#include "app/forms/Datesel.h"
#include "app/forms/Getpass.h"
#include "app/forms/Imageb.h"
#include "app/forms/Lookfor.h"
#include "app/forms/Opasswrd.h"
#include "app/forms/OutputOptions.h"
#include "app/forms/Parprop.h"
#include "app/forms/Printopt.h"
#include "app/forms/Saveopt.h"
#include "app/forms/Spellchk.h"
#include "app/forms/symsel.h"
#include "richtext/qt/FindDialog.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/ReplaceDialog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillory {
namespace {

struct NoPassword : PasswordOwner {
    std::string DiaryPassword() const override { return {}; }
    void SetDiaryPassword(const std::string&) override {}
    void LoadPreferences() override {}
    void SavePreferences() override {}
};

bool TakesTab(const QWidget* widget, const QWidget* dialog)
{
    return widget->isVisibleTo(dialog) && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)
        && !qobject_cast<const QLabel*>(widget) && widget->focusProxy() == nullptr;
}

QString Describe(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// The widgets that take the keyboard, in the order Tab visits them.
std::vector<QWidget*> TabChain(QWidget* dialog)
{
    std::vector<QWidget*> chain;
    QWidget* widget = dialog;
    for (int guard = 0; guard < 500; ++guard) {
        widget = widget->nextInFocusChain();
        if (widget == dialog)
            break;
        if (dialog->isAncestorOf(widget) && TakesTab(widget, dialog)
            && std::find(chain.begin(), chain.end(), widget) == chain.end())
            chain.push_back(widget);
    }
    return chain;
}

QString Names(const std::vector<QWidget*>& widgets)
{
    QStringList names;
    for (QWidget* w : widgets)
        names << Describe(w);
    return names.join(QStringLiteral(", "));
}

TEST(DialogKeys, TabOrderAndNames)
{
    NoPassword owner;
    struct Row {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> make;
        const char* tabOrder; // object names of the widgets Tab visits, in order
    } rows[] = {
        {"password", [&] { return std::make_unique<TGetPassword>(owner); },
         "NewPassword, StrongScheme, LegacyScheme, OkButton, CancelButton, ClearButton"},
        {"opening password", [] { return std::make_unique<TGetOpeningPassword>(); },
         "Pass, BitBtn1, BitBtn2"},
        {"date selector", [] { return std::make_unique<TDateSelector>(); },
         "Calendar, PrevYear, PrevMonth, DoCurrentDate, NextMonth, NextYear, OKButton, CancelButton"},
        {"paragraph", [] { return std::make_unique<TParagraphPropDlg>(); },
         "LeftIndent, RightIndent, FirstIndentCombo, SpaceBeforePts, SpaceAfterPts, LineHeightPts, ComboBox1, Okbutton, CancelButton"},
        {"print options", [] { return std::make_unique<TPrintOptions>(); },
         "PrintCurrentOnly, SavePdfButton, CancelButton"},
        {"save options", [] { return std::make_unique<TSaveOptions>(); },
         "PrintCurrentOnly, DirectoryListBox1, BrowseButton, FormatBox, OKButton, CancelButton"},
        {"look for", [] { return std::make_unique<TLookForAll>(); },
         "LookForText, BitBtn1, BitBtn2"},
        {"spelling", [] { return std::make_unique<TSpellCheckDialog>(); },
         "Word, ReplaceAs, WordList, GetNextWordButton, Replace, Addbutton, Cancel"},
        {"symbols", [] { return std::make_unique<TSymbolSelector>(); },
         "SymbolSets, SymbolList, CopyCharButton, OKButton"},
        {"pictures", [] { return std::make_unique<TImageBrowser>(); },
         "DriveComboBox1, DirectoryListBox1, FileListBox1, Panel1, SpinEdit1, KeepOriginalCheck, OKButton, Cancelbutton"},
        {"find", [] { return std::make_unique<TWPFindDialog>(); },
         "FindEdit, MatchCaseCheck, WholeWordCheck, UpButton, DownButton, FindNextButton, CloseButton"},
        {"replace", [] { return std::make_unique<TWPReplaceDialog>(); },
         "FindEdit, ReplaceEdit, MatchCaseCheck, WholeWordCheck, UpButton, DownButton, FindNextButton, ReplaceButton, ReplaceAllButton, CloseButton"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<QDialog> dialog = row.make();
        dialog->show();
        QCoreApplication::processEvents();
        std::vector<QWidget*> stops;
        for (QWidget* child : dialog->findChildren<QWidget*>())
            if (TakesTab(child, dialog.get()))
                stops.push_back(child);
        ASSERT_FALSE(stops.empty());
        const std::vector<QWidget*> chain = TabChain(dialog.get());
        EXPECT_EQ(Names(chain).toStdString(), row.tabOrder);
        // Nothing that takes the keyboard is left out of the walk.
        EXPECT_EQ(chain.size(), stops.size());

        EXPECT_FALSE(dialog->windowTitle().isEmpty());
        for (QWidget* stop : stops) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(stop);
            ASSERT_NE(face, nullptr);
            QString said = face->text(QAccessible::Name);
            // A list's name is its value on this desktop: what it is for comes from its label or
            // its description.
            if (qobject_cast<QComboBox*>(stop))
                said = face->text(QAccessible::Description) + stop->accessibleName();
            if (said.isEmpty())
                for (const auto& relation : face->relations(QAccessible::Label))
                    said += relation.first->text(QAccessible::Name);
            EXPECT_FALSE(said.trimmed().isEmpty()) << Describe(stop).toStdString() << " has no name";
        }
    }
}

} // namespace
} // namespace quillory
