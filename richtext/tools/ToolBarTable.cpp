// The toolbar's icon and list table.
#include "richtext/tools/ToolBarTable.h"

#include <array>

namespace quillory {

namespace {

using enum ToolIconId;
using K = IconSetKind;
namespace G = IconGroup;

// Hidden and RTF code have no hint key of their own in forms; they get one here so that every
// icon can be named in a hint list.
constexpr std::array kIcons{
    ToolIconInfo{SelNormal, "SelNormal", K::Status, G::Character, 1, true, "WPI_Normal", "Normal", "Normal"},
    ToolIconInfo{SelBold, "SelBold", K::Status, G::Character, 2, true, "WPI_Bold", "Bold", "Fett"},
    ToolIconInfo{SelItalic, "SelItalic", K::Status, G::Character, 3, true, "WPI_Italic", "Italic", "Kursiv"},
    ToolIconInfo{SelUnder, "SelUnder", K::Status, G::Character, 4, true, "WPI_Under", "Underline", "Unterstrichen"},
    ToolIconInfo{SelHyperLink, "SelHyperLink", K::Status, G::Character, 5, true, "WPI_Hyperlink", "Hyperlink", "Hyperlink"},
    ToolIconInfo{SelStrikeOut, "SelStrikeOut", K::Status, G::Character, 6, true, "WPI_StrikeOut", "StrikeOut", "Durchgestrichen"},
    ToolIconInfo{SelSuper, "SelSuper", K::Status, G::Character, 7, true, "WPI_Super", "Super", "Hochgestellt"},
    ToolIconInfo{SelSub, "SelSub", K::Status, G::Character, 8, true, "WPI_Sub", "Sub", "Tiefgestellt"},
    ToolIconInfo{SelHidden, "SelHidden", K::Status, G::Character, 9, true, "WPI_Hidden", "Hidden", "Verborgen"},
    ToolIconInfo{SelRTFCode, "SelRTFCode", K::Status, G::Character, 19, true, "WPI_RTFCode", "RTF Code", "RTF-Code"},
    ToolIconInfo{SelLeft, "SelLeft", K::Status, G::Alignment, 1, true, "WPI_Left", "Left Justified", "Linksbündig"},
    ToolIconInfo{SelRight, "SelRight", K::Status, G::Alignment, 2, true, "WPI_Right", "Right Justified", "Rechtsbündig"},
    ToolIconInfo{SelBlock, "SelBlock", K::Status, G::Alignment, 3, true, "WPI_Justified", "Justified", "Blocksatz"},
    ToolIconInfo{SelCenter, "SelCenter", K::Status, G::Alignment, 4, true, "WPI_Center", "Centered", "Zentriert"},

    ToolIconInfo{SelCopy, "SelCopy", K::Edit, G::Edit, 1, false, "WPI_Copy", "Copy", "Kopieren"},
    ToolIconInfo{SelCut, "SelCut", K::Edit, G::Edit, 2, false, "WPI_Cut", "Cut", "Ausschneiden"},
    ToolIconInfo{SelPaste, "SelPaste", K::Edit, G::Edit, 3, false, "WPI_Paste", "Paste", "Einfügen"},
    ToolIconInfo{SelSelAll, "SelSelAll", K::Edit, G::Edit, 4, false, "WPI_SelAll", "Select All", "Alles markieren"},
    ToolIconInfo{SelHideSel, "SelHideSel", K::Edit, G::Edit, 5, false, "WPI_HideSel", "Hide Selection", "Markierung aufheben"},
    ToolIconInfo{SelFind, "SelFind", K::Edit, G::Edit, 6, false, "WPI_Find", "Find", "Suchen"},
    ToolIconInfo{SelReplace, "SelReplace", K::Edit, G::Edit, 7, false, "WPI_Replace", "Find and Replace", "Suchen und Ersetzen"},
    ToolIconInfo{SelSpellCheck, "SelSpellCheck", K::Edit, G::Edit, 8, false, "WPI_Spell", "Spell Check", "Rechtschreibprüfung"},

    ToolIconInfo{SelExit, "SelExit", K::Action, G::File, 1, false, "WPI_Exit", "Exit", "Beenden"},
    ToolIconInfo{SelNew, "SelNew", K::Action, G::File, 2, false, "WPI_New", "New", "Neu"},
    ToolIconInfo{SelOpen, "SelOpen", K::Action, G::File, 3, false, "WPI_Open", "Open", "Öffnen"},
    ToolIconInfo{SelSave, "SelSave", K::Action, G::File, 4, false, "WPI_Save", "Save", "Speichern"},
    ToolIconInfo{SelClose, "SelClose", K::Action, G::File, 5, false, "WPI_Close", "Close", "Schließen"},
    ToolIconInfo{SelPrint, "SelPrint", K::Action, G::Print, 1, false, "WPI_Print", "Print", "Drucken"},
    ToolIconInfo{SelPrintSetup, "SelPrintSetup", K::Action, G::Print, 2, false, "WPI_PrintSetup", "PrintSetup", "Druckereinrichtung"},

    ToolIconInfo{SelToStart, "SelToStart", K::Database, G::Database, 1, false, "WPI_ToStart", "ToStart", "Zum Anfang"},
    ToolIconInfo{SelNext, "SelNext", K::Database, G::Database, 2, false, "WPI_Next", "Next", "Nächster"},
    ToolIconInfo{SelPrev, "SelPrev", K::Database, G::Database, 3, false, "WPI_Prev", "Prev", "Vorheriger"},
    ToolIconInfo{SelToEnd, "SelToEnd", K::Database, G::Database, 4, false, "WPI_ToEnd", "ToEnd", "Zum Ende"},
    ToolIconInfo{SelEdit, "SelEdit", K::Database, G::Database, 5, false, "WPI_Edit", "Edit", "Bearbeiten"},
    ToolIconInfo{SelAdd, "SelAdd", K::Database, G::Database, 6, false, "WPI_Add", "Add", "Hinzufügen"},
    ToolIconInfo{SelDel, "SelDel", K::Database, G::Database, 7, false, "WPI_Del", "Del", "Löschen"},
    ToolIconInfo{SelCancel, "SelCancel", K::Database, G::Database, 8, false, "WPI_Cancel", "Cancel", "Abbrechen"},
    ToolIconInfo{SelPost, "SelPost", K::Database, G::Database, 9, false, "WPI_Post", "Post", "Übernehmen"},
};

constexpr bool iconsInEnumOrder()
{
    for (std::size_t i = 0; i < kIcons.size(); ++i)
        if (std::size_t(kIcons[i].id) != i)
            return false;
    return kIcons.size() <= 64;
}
static_assert(iconsInEnumOrder(), "the icon table is indexed by ToolIconId");

using enum ToolListId;
constexpr std::array kLists{
    ToolListInfo{SelFontName, "SelFontName", 1, "WPI_FontName", "Font", "Schriftart"},
    ToolListInfo{SelFontSize, "SelFontSize", 2, "WPI_FontSize", "Font Size", "Schriftgröße"},
    ToolListInfo{SelFontColor, "SelFontColor", 3, "WPI_FontColor", "Text Color", "Textfarbe"},
    ToolListInfo{SelBackgroundColor, "SelBackgroundColor", 4, "WPI_BackgroundColor", "Background Color", "Hintergrundfarbe"},
    ToolListInfo{SelStyle, "SelStyle", 5, "WPI_Style", "Style", "Formatvorlage"},
    ToolListInfo{SelParColor, "SelParColor", 6, "WPI_ParColor", "Paragraph Color", "Absatzfarbe"},
};

constexpr std::array<std::string_view, 15> kColorNames{
    "Black", "Red", "Green", "Blue", "Yellow", "Fuchsia", "Purple", "Maroon",
    "Lime", "Aqua", "Teal", "Navy", "White", "Silver", "Gray"};
constexpr std::array<std::string_view, 15> kColorNamesGerman{
    "Schwarz", "Rot", "Grün", "Blau", "Gelb", "Fuchsie", "Purpur", "Kastanienbraun",
    "Hellgrün", "Aquamarin", "Blaugrün", "Marineblau", "Weiß", "Silber", "Grau"};

} // namespace

std::span<const ToolIconInfo> ToolIcons() noexcept
{
    return kIcons;
}

const ToolIconInfo& ToolIcon(ToolIconId id) noexcept
{
    return kIcons[std::size_t(id)];
}

const ToolIconInfo* FindToolIcon(int group, int number) noexcept
{
    for (const ToolIconInfo& icon : kIcons)
        if (icon.group == group && icon.number == number)
            return &icon;
    return nullptr;
}

std::span<const ToolListInfo> ToolLists() noexcept
{
    return kLists;
}

const ToolListInfo& ToolList(ToolListId id) noexcept
{
    return kLists[std::size_t(id)];
}

std::string_view ColorName(int index, bool german) noexcept
{
    if (index < 0 || index >= int(kColorNames.size()))
        return {};
    return german ? kColorNamesGerman[std::size_t(index)] : kColorNames[std::size_t(index)];
}

} // namespace quillory
