// TMainScreen: importing entries of another diary program (the dialog does the work).
#include "app/forms/Main.h"

#include "app/forms/ImportDiary.h"
#include "platform/Error.h"
#include "platform/qt/ModalRunner.h"

namespace quillory {

void TMainScreen::ImportDiary1Click()
{
    if (!SaveButtonClick())
        return;
    DiaryKey key;
    try {
        key = SessionKey(DiaryPassword());
    } catch (const Error& error) {
        ShowError(error);
        return;
    }
    TImportDiary dialog(key, this);
    RunModal(dialog);
    if (dialog.Imported()) {
        // The day on screen may have gained or changed its entry.
        FindDateRecord();
        LoadRichText();
    }
}

} // namespace quillory
