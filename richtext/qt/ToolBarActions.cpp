// What the toolbar's icons and lists do to the attached editor.
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtText.h"
#include "richtext/qt/ToolBar.h"
#include "richtext/qt/ToolBridge.h"
#include "richtext/tools/Messages.h"
#include "richtext/tools/SelectionFormat.h"

#include <QComboBox>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolButton>

namespace quillory {

namespace {

namespace FileResult {
constexpr int Ok = 0;
constexpr int Failed = 7;
constexpr int Cancelled = 9;
} // namespace FileResult

// The style bit of character icons 2-8.
std::uint8_t styleBit(ToolIconId id)
{
    switch (id) {
    case ToolIconId::SelBold: return AttrStyle::Bold;
    case ToolIconId::SelItalic: return AttrStyle::Italic;
    case ToolIconId::SelUnder: return AttrStyle::Underline;
    case ToolIconId::SelHyperLink: return AttrStyle::Hyperlink;
    case ToolIconId::SelStrikeOut: return AttrStyle::StrikeOut;
    case ToolIconId::SelSuper: return AttrStyle::Superscript;
    case ToolIconId::SelSub: return AttrStyle::Subscript;
    default: return 0;
    }
}

// "Name|*.EXT|Name|*.EXT" as Qt writes file-dialog filters.
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return filters.join(QStringLiteral(";;"));
}

QString fileFilter(const TWPRichText& editor)
{
    const auto language = editor.Language() == TWPToolLanguage::twpGerman ? MessageLanguage::German
                                                                           : MessageLanguage::English;
    const std::string_view text = WPMessage(WPMsg::FileFilter, language);
    return qtFilter(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

// The name picked in a file dialog; empty when it was cancelled.
QString askFileName(TWPRichText& editor, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(&editor);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(fileFilter(editor));
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

// A file error has no caller to go to from a toolbar click: it is shown as the error box shows
// it, and the command fails.
int reportFailure(const std::exception& error)
{
    ShowMessageBox(QString::fromLocal8Bit(error.what()), QStringLiteral("Error"), MessageButtons::Ok,
                   MessageIcon::Error);
    return FileResult::Failed;
}

// Shows a busy text on the status bar while it lives.
class BusyText {
public:
    BusyText(TWPRichText& editor, int message) : tools_(TWPRichTextSetMode::Of(editor)) { tools_.SetStatusText(message); }
    ~BusyText() { tools_.SetStatusText(WPMsg::Ready); }
    BusyText(const BusyText&) = delete;
    BusyText& operator=(const BusyText&) = delete;

private:
    TWPRichTextSetMode& tools_;
};

int saveAs(TWPRichText& editor, const QString& name)
{
    if (name.isEmpty())
        return FileResult::Cancelled;
    const BusyText busy(editor, WPMsg::Writing);
    try {
        return editor.SaveToFile(name.toStdString()) ? FileResult::Ok : FileResult::Failed;
    } catch (const std::exception& error) {
        return reportFailure(error);
    }
}

int load(TWPRichText& editor, const QString& name)
{
    const BusyText busy(editor, WPMsg::Reading);
    try {
        return editor.LoadFromFile(name.toStdString()) ? FileResult::Ok : FileResult::Failed;
    } catch (const std::exception& error) {
        return reportFailure(error);
    }
}

} // namespace

void TWPToolBar::IconSelection(ToolIconId id, int typ)
{
    const ToolIconInfo& info = ToolIcon(id);
    if (targetEditor()) {
        switch (info.group) {
        case IconGroup::Character:
            characterAction(id, typ);
            break;
        case IconGroup::Alignment:
            if (typ == IconTyp::Pressed)
                alignmentAction(id);
            break;
        case IconGroup::Edit:
            editAction(id);
            break;
        case IconGroup::File:
        case IconGroup::Print:
            fileAction(id);
            break;
        default:
            break;
        }
    }
    fireSelection(typ, QString(), info.group, info.number, 0);
}

void TWPToolBar::characterAction(ToolIconId id, int typ)
{
    TWPRichText& editor = *targetEditor();
    AttrChange change;
    if (typ == IconTyp::Released) {
        // A released style icon takes its style away; so does a released RTF-code icon, which
        // could not be switched off otherwise.
        if (const std::uint8_t bit = styleBit(id))
            change = [bit](TAttr& a) { a.style &= std::uint8_t(~bit); };
        else if (id == ToolIconId::SelRTFCode)
            change = [](TAttr& a) { a.flags &= std::uint8_t(~AttrFlag::RtfCode); };
    } else if (id == ToolIconId::SelNormal) {
        change = [](TAttr& a) { a.style = 0; };
    } else if (id == ToolIconId::SelSuper) {
        SetIconDown(ToolIconId::SelSub, false);
        change = [](TAttr& a) { a.style = std::uint8_t((a.style & ~AttrStyle::Subscript) | AttrStyle::Superscript); };
    } else if (id == ToolIconId::SelSub) {
        SetIconDown(ToolIconId::SelSuper, false);
        change = [](TAttr& a) { a.style = std::uint8_t((a.style & ~AttrStyle::Superscript) | AttrStyle::Subscript); };
    } else if (id == ToolIconId::SelHidden) {
        // Every character takes the opposite of what the insertion attributes had.
        const bool hide = !editor.GetCurrentAttr().hasFlag(AttrFlag::Hidden);
        change = [hide](TAttr& a) {
            a.flags = hide ? std::uint8_t(a.flags | AttrFlag::Hidden) : std::uint8_t(a.flags & ~AttrFlag::Hidden);
        };
    } else if (id == ToolIconId::SelRTFCode) {
        change = [](TAttr& a) { a.flags |= AttrFlag::RtfCode; };
    } else if (const std::uint8_t bit = styleBit(id)) {
        change = [bit](TAttr& a) { a.style |= bit; };
    }
    if (change && ChangeCharacterAttributes(editor.core(), change))
        editor.Changed();
    else
        TWPRichTextSetMode::Of(editor).Update(); // a refused change shows the old state again
}

void TWPToolBar::alignmentAction(ToolIconId id)
{
    TWPRichText& editor = *targetEditor();
    const Alignment alignment = id == ToolIconId::SelRight ? Alignment::Right
        : id == ToolIconId::SelBlock                       ? Alignment::Justified
        : id == ToolIconId::SelCenter                      ? Alignment::Center
                                                           : Alignment::Left;
    if (SetAlignment(editor.core(), alignment))
        editor.Changed();
    else
        TWPRichTextSetMode::Of(editor).Update();
}

void TWPToolBar::editAction(ToolIconId id)
{
    TWPRichText& editor = *targetEditor();
    switch (id) {
    case ToolIconId::SelCopy:
        editor.CopyToClipboard();
        break;
    case ToolIconId::SelCut:
        if (editor.SelLength() > 0 && !editor.ReadOnly()) {
            editor.CutToClipboard();
            editor.Changed();
        }
        break;
    case ToolIconId::SelPaste:
        if (!editor.ReadOnly()) {
            editor.PasteFromClipboard();
            editor.Changed();
        }
        break;
    case ToolIconId::SelSelAll:
        editor.SelectAll();
        break;
    case ToolIconId::SelHideSel:
        editor.HideSelection();
        break;
    case ToolIconId::SelFind:
        editor.FindDialog();
        break;
    case ToolIconId::SelReplace:
        if (!editor.ReadOnly())
            editor.ReplaceDialog();
        break;
    case ToolIconId::SelSpellCheck:
        if (!editor.ReadOnly()) {
            TWPRichTextSetMode& tools = TWPRichTextSetMode::Of(editor);
            if (tools.StartSpellCheck)
                tools.StartSpellCheck(editor);
        }
        break;
    default:
        break;
    }
}

void TWPToolBar::fileAction(ToolIconId id)
{
    TWPRichText& editor = *targetEditor();
    switch (id) {
    case ToolIconId::SelOpen: {
        if (editor.ReadOnly())
            break;
        const QString name = askFileName(editor, QFileDialog::AcceptOpen);
        if (name.isEmpty()) {
            lastFileResult_ = FileResult::Cancelled;
            break;
        }
        editor.Clear();
        lastFileResult_ = load(editor, name);
        break;
    }
    case ToolIconId::SelSave:
        lastFileResult_ = saveAs(editor, askFileName(editor, QFileDialog::AcceptSave));
        break;
    case ToolIconId::SelClose: {
        // The document is emptied only when it was saved: a failed save keeps the text.
        const std::string& remembered = editor.FileName();
        lastFileResult_ = remembered.empty() ? saveAs(editor, askFileName(editor, QFileDialog::AcceptSave))
                                             : saveAs(editor, QString::fromStdString(remembered));
        if (lastFileResult_ == FileResult::Ok)
            editor.Clear();
        break;
    }
    case ToolIconId::SelPrint:
        editor.Print(0, 16777215);
        break;
    case ToolIconId::SelPrintSetup: {
        QPrinter printer;
        QPrintDialog dialog(&printer, &editor);
        RunModal(dialog);
        break;
    }
    default:
        break;
    }
    TWPRichTextSetMode::Of(editor).Update();
}

void TWPToolBar::listAction(ToolListId id, int value)
{
    TWPRichText* editor = targetEditor();
    if (!editor || editor->ReadOnly()) {
        if (editor)
            TWPRichTextSetMode::Of(*editor).Update();
        return;
    }
    AttrChange change;
    switch (id) {
    case ToolListId::SelFontName: {
        const QComboBox* box = ListBox(id);
        const std::string name = box ? QStringToText(box->itemText(value)) : std::string();
        if (name.empty())
            break;
        const auto font = std::uint8_t(editor->FontIndex(name));
        change = [font](TAttr& a) { a.font = font; };
        break;
    }
    case ToolListId::SelFontSize:
        if (value > 0)
            change = [size = std::uint8_t(std::min(value, 255))](TAttr& a) { a.size = size; };
        break;
    case ToolListId::SelFontColor:
        change = [value](TAttr& a) { a.setTextColor(value); };
        break;
    case ToolListId::SelBackgroundColor:
        change = [value](TAttr& a) { a.setBackColor(value); };
        break;
    default:
        break;
    }
    if (change && ChangeCharacterAttributes(editor->core(), change))
        editor->Changed();
    else
        TWPRichTextSetMode::Of(*editor).Update();
}

} // namespace quillory
