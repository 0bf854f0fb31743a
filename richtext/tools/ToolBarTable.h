// The toolbar's icons and lists as data: group and number of each icon, which selection property
// offers it, its hint key and its hint texts in English and German.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace quillory {

// Icon groups; the group and the number inside it identify an icon in the selection event.
namespace IconGroup {
inline constexpr int Character = 256;
inline constexpr int Alignment = 512;
inline constexpr int Edit = 768;
inline constexpr int File = 1024;
inline constexpr int Print = 1280;
inline constexpr int Database = 1536;
} // namespace IconGroup

// What the selection event says happened to an icon or a list.
namespace IconTyp {
inline constexpr int ListChosen = 1; // an entry of a drop-down list was chosen
inline constexpr int Pressed = 6;
inline constexpr int Released = 7;
} // namespace IconTyp

enum class ToolIconId : std::uint8_t {
    // status icons: character styles and alignment
    SelNormal, SelBold, SelItalic, SelUnder, SelHyperLink, SelStrikeOut, SelSuper, SelSub, SelHidden,
    SelRTFCode, SelLeft, SelRight, SelBlock, SelCenter,
    // edit icons
    SelCopy, SelCut, SelPaste, SelSelAll, SelHideSel, SelFind, SelReplace, SelSpellCheck,
    // action icons: file and print
    SelExit, SelNew, SelOpen, SelSave, SelClose, SelPrint, SelPrintSetup,
    // database icons, passed to the selection event only
    SelToStart, SelNext, SelPrev, SelToEnd, SelEdit, SelAdd, SelDel, SelCancel, SelPost,
};

// The selection property that offers an icon.
enum class IconSetKind : std::uint8_t { Status, Edit, Action, Database };

struct ToolIconInfo {
    ToolIconId id;
    std::string_view name; // also the button's object name
    IconSetKind set;
    int group;
    int number;
    bool toggles;          // stays down until pressed again (character styles, alignment)
    std::string_view hintKey;
    std::string_view english;
    std::string_view german; // UTF-8
};

std::span<const ToolIconInfo> ToolIcons() noexcept;
const ToolIconInfo& ToolIcon(ToolIconId id) noexcept;
// Null when no icon has this group and number.
const ToolIconInfo* FindToolIcon(int group, int number) noexcept;

enum class ToolListId : std::uint8_t { SelFontName, SelFontSize, SelFontColor, SelBackgroundColor, SelStyle, SelParColor };

struct ToolListInfo {
    ToolListId id;
    std::string_view name;
    int number; // the number the display update uses
    std::string_view hintKey;
    std::string_view english;
    std::string_view german;
};

std::span<const ToolListInfo> ToolLists() noexcept;
const ToolListInfo& ToolList(ToolListId id) noexcept;

// A set of icons or lists, one bit per enumerator.
template <typename Id>
class ToolSet {
public:
    constexpr ToolSet() = default;
    constexpr ToolSet(std::initializer_list<Id> ids)
    {
        for (Id id : ids)
            bits_ |= bit(id);
    }
    constexpr bool contains(Id id) const noexcept { return (bits_ & bit(id)) != 0; }
    constexpr bool empty() const noexcept { return bits_ == 0; }
    friend constexpr bool operator==(ToolSet, ToolSet) = default;

private:
    static constexpr std::uint64_t bit(Id id) noexcept { return std::uint64_t(1) << unsigned(id); }
    std::uint64_t bits_ = 0;
};

using ToolIconSet = ToolSet<ToolIconId>;
using ToolListSet = ToolSet<ToolListId>;

// Names of the first 15 entries of the default colour table, for the colour lists.
std::string_view ColorName(int index, bool german) noexcept;

} // namespace quillory
