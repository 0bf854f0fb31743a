// The main window's designed metrics and the rule that lays the entry out on the ring-binder
// page whenever the window changes size.
#pragma once

#include "platform/TranslationMark.h"

#include <array>
#include <string_view>

namespace quillory {

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    constexpr bool operator==(const PixelRect&) const noexcept = default;
};

// Client area as designed at 96 dots per inch, and the bands above and below the page.
inline constexpr int kMainClientWidth = 622;
inline constexpr int kMainClientHeight = 402;
inline constexpr int kToolBarHeight = 52;
inline constexpr int kRulerHeight = 15;
inline constexpr int kActionPanelHeight = 39;

// Where the date, the two rules and the editor sit on a page of `width` x `height` whose ring
// picture takes `leftEdge` pixels and whose right margin is `rightEdge`. The editor takes the
// date's left and width; the bottom rule sits 20 pixels above the page's bottom edge.
struct PageLayout {
    PixelRect dateLabel;
    PixelRect topLine;
    PixelRect bottomLine;
    PixelRect editor;
    constexpr bool operator==(const PageLayout&) const noexcept = default;
};
PageLayout LayOutPage(int leftEdge, int rightEdge, int width, int height) noexcept;

// The command buttons of the bottom panel, left to right. All are 29 pixels high, 4 from the top.
enum class GlyphSide { None, Left, Right };
struct ActionButtonDesign {
    std::string_view name;
    std::string_view caption;  // '&' marks the mnemonic
    std::string_view hint;
    int left;
    int width;
    GlyphSide glyph;
    bool startsHidden;
};
inline constexpr int kActionButtonTop = 4;
inline constexpr int kActionButtonHeight = 29;
// Save and Hide carry no mnemonic: Alt+S is Spell Check's shortcut and Alt+I opens the Find menu,
// and a key claimed twice does nothing at all. The menu's keys win; Save has Ctrl+S.
inline constexpr std::array<ActionButtonDesign, 10> kActionButtons{{
    {"SaveButton", QY_TRANSLATE_NOOP("MainScreen", "Save"), QY_TRANSLATE_NOOP("MainScreen", "Save this entry (Ctrl+S)"), 9, 65, GlyphSide::Left, true},
    {"CancelButton", QY_TRANSLATE_NOOP("MainScreen", "&Cancel"), "", 78, 66, GlyphSide::Left, true},
    {"FirstButton", QY_TRANSLATE_NOOP("MainScreen", "Fi&rst"), "", 155, 48, GlyphSide::Left, false},
    {"PriorButton", QY_TRANSLATE_NOOP("MainScreen", "&Prev"), "", 208, 48, GlyphSide::Left, false},
    {"BitBtn1", QY_TRANSLATE_NOOP("MainScreen", "Today"), "", 261, 48, GlyphSide::None, false},
    {"Nextbutton", QY_TRANSLATE_NOOP("MainScreen", "&Next"), "", 314, 48, GlyphSide::Right, false},
    {"LastButton", QY_TRANSLATE_NOOP("MainScreen", "&Last"), "", 367, 48, GlyphSide::Right, false},
    {"CalendarButton", "", QY_TRANSLATE_NOOP("MainScreen", "Select a date"), 418, 29, GlyphSide::Left, false},
    {"Hidebutton", QY_TRANSLATE_NOOP("MainScreen", "Hide"), "", 474, 58, GlyphSide::Right, false},
    {"ExplorerButton1", QY_TRANSLATE_NOOP("MainScreen", "E&xit"), "", 537, 63, GlyphSide::Right, false},
}};

// The tool buttons that creation moves into the toolbar, in order, with 3-pixel gaps between.
struct ToolButtonDesign {
    std::string_view name;
    std::string_view caption;
    std::string_view hint;  // empty: set at creation
    int width;
};
inline constexpr int kToolButtonHeight = 20;
inline constexpr int kToolGapWidth = 3;
inline constexpr std::array<ToolButtonDesign, 8> kToolButtons{{
    {"Deletebutton", "", QY_TRANSLATE_NOOP("MainScreen", "Delete current entry"), 20},
    {"DocPageBreakButton", "", QY_TRANSLATE_NOOP("MainScreen", "Insert Page Break"), 20},
    {"ParagraphSetupButton", "", QY_TRANSLATE_NOOP("MainScreen", "Paragraph properties"), 20},
    {"DocWordWrapButton", "", "", 20},
    {"Printbutton", "", QY_TRANSLATE_NOOP("MainScreen", "Print diary entries"), 20},
    {"PasteGraphicButton", "", QY_TRANSLATE_NOOP("MainScreen", "Paste an image into the text"), 20},
    {"SymbolSelectorButton", "", QY_TRANSLATE_NOOP("MainScreen", "Paste a symbol into the text"), 20},
    {"ShowHideIconTool", QY_TRANSLATE_NOOP("MainScreen", "Show Icon Tool"), QY_TRANSLATE_NOOP("MainScreen", "Show/hide the icon palette"), 96},
}};

// The hint of the word-wrap button says what pressing it will do.
constexpr std::string_view WordWrapHint(bool wrapping) noexcept
{
    return wrapping ? QY_TRANSLATE_NOOP("MainScreen", "Toggle word wrap off")
                    : QY_TRANSLATE_NOOP("MainScreen", "Toggle word wrap on");
}

} // namespace quillory
