// The editor control's find and replace commands: both open the dialog shared by all editors.
#include "richtext/qt/FindDialog.h"
#include "richtext/qt/ReplaceDialog.h"
#include "richtext/qt/RichText.h"

#include <QRadioButton>

namespace quillory {

void TWPRichText::FindDialog()
{
    TWPFindDialog* dialog = TWPFindDialog::Shared(*this);
    dialog->DownButton->setChecked(true);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TWPRichText::ReplaceDialog()
{
    if (ReadOnly())
        return;
    TWPReplaceDialog* dialog = TWPReplaceDialog::Shared(*this);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace quillory
