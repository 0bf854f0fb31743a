// The main window's picture and symbol buttons: the image browser and the symbol selector, and
// what their choice puts into the entry.
#include "app/forms/Main.h"

#include "app/forms/Imageb.h"
#include "app/forms/PictureForEntry.h"
#include "app/forms/SymbolFontLoading.h"
#include "app/forms/symsel.h"
#include "platform/qt/CenterForm.h"
#include "platform/qt/ModalRunner.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/ToolBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QSpinBox>

namespace quillory {

void TMainScreen::PasteGraphicButtonClick()
{
    TImageBrowser dialog(this);
    CenterForm(dialog);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    PictureForEntry picture = MakePictureForEntry(
        dialog.Image2->Picture, dialog.SelectedBytes(), SmartImageTypeOf(dialog.SelectedFile()),
        dialog.SpinEdit1->value(), WPRichText1->RtfText().header().usableWidthTwips(),
        dialog.KeepOriginalCheck->isChecked());
    if (!picture.graphic)
        return; // an unreadable file leaves nothing to insert
    WPRichText1->InsertGraphic(std::move(picture.graphic), picture.widthTwips, picture.heightTwips);
    WPRichText1->Changed();
}

void TMainScreen::UseSymbolFonts()
{
    const QStringList added = EnsureSymbolFonts();
    if (added.isEmpty())
        return;
    if (QComboBox* names = WPToolBar2->ListBox(ToolListId::SelFontName))
        AddToFontList(*names, added);
}

void TMainScreen::SymbolSelectorButtonClick()
{
    UseSymbolFonts();
    TSymbolSelector dialog(this);
    if (!dialog.NoSymbolFonts()) {
        CenterForm(dialog);
        if (RunModal(dialog) == QDialog::Accepted && !dialog.SymbolChar.empty()) {
            // The font is recorded as a symbol font, so that its bytes are drawn as its own
            // glyphs and written with the symbol character set.
            const std::string font = dialog.SymbolFont.toStdString();
            WPRichText1->RtfText().header().addFont(font, 0x02, 2);
            TAttr attr = WPRichText1->GetCurrentAttr();
            attr.font = std::uint8_t(WPRichText1->FontIndex(font));
            WPRichText1->SetCurrentAttr(attr);
            WPRichText1->InsertText(std::string_view(dialog.SymbolChar));
            WPRichText1->ReformatAndRepaint();
            QCoreApplication::processEvents();
        }
    }
}

} // namespace quillory
