// TMainScreen: undo and redo, the style keys, the paragraph dialog and the help.
#include "app/forms/Main.h"

#include "app/HelpPages.h"
#include "app/forms/Help.h"
#include "app/forms/Parprop.h"
#include "platform/qt/CenterForm.h"
#include "platform/qt/ModalRunner.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/ToolBar.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace quillory {

void TMainScreen::CreateEditingActions(QMenu* edit, QAction* before)
{
    Undo1 = new QAction(tr("&Undo"), this);
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo1 = new QAction(tr("&Redo"), this);
    Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* action : {Undo1, Redo1})
        action->setShortcutContext(Qt::WindowShortcut);
    edit->insertActions(before, {Undo1, Redo1});
    edit->insertSeparator(before);
    connect(Undo1, &QAction::triggered, this, &TMainScreen::Undo1Click);
    connect(Redo1, &QAction::triggered, this, &TMainScreen::Redo1Click);
    // The items show whether there is something to undo or redo; their keys always work.
    connect(edit, &QMenu::aboutToShow, this, [this] {
        Undo1->setEnabled(WPRichText1->CanUndo());
        Redo1->setEnabled(WPRichText1->CanRedo());
    });
    connect(edit, &QMenu::aboutToHide, this, [this] {
        Undo1->setEnabled(true);
        Redo1->setEnabled(true);
    });

    // The style keys press the toolbar's icons, so they do exactly what a click there does and
    // mark the entry changed the same way.
    const auto styleKey = [this](Qt::Key key, ToolIconId icon) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(Qt::CTRL | key));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, icon] {
            if (QToolButton* button = WPToolBar2->IconButton(icon); button && button->isEnabled())
                button->click();
        });
        return action;
    };
    BoldKey = styleKey(Qt::Key_B, ToolIconId::SelBold);
    ItalicKey = styleKey(Qt::Key_I, ToolIconId::SelItalic);
    UnderlineKey = styleKey(Qt::Key_U, ToolIconId::SelUnder);
}

void TMainScreen::Undo1Click()
{
    WPRichText1->Undo();
}

void TMainScreen::Redo1Click()
{
    WPRichText1->Redo();
}

void TMainScreen::ParagraphSetupButtonClick()
{
    TParagraphPropDlg dialog(this);
    dialog.Editor = WPRichText1;
    CenterForm(dialog);
    RunModal(dialog);
}

void TMainScreen::Contents1Click()
{
    ShowHelpTopic(kHelpContentsTopic, this);
}

} // namespace quillory
