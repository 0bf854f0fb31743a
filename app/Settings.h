// The diary's settings in QL.INI: the table of keys with their defaults, loading and saving
// the preferences record, and the rules that put the main window back where it was.
#pragma once

#include "platform/IniFile.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillory {

// A window's frame in screen pixels; Right = Left + width, Bottom = Top + height.
struct WindowRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const noexcept { return Right - Left; }
    constexpr int Height() const noexcept { return Bottom - Top; }
    constexpr bool operator==(const WindowRect&) const noexcept = default;
};

enum class SettingKind { String, Integer, Boolean };

// What a key's default is counted from; the table's default text is added to it (a path
// appended, a number added).
enum class DefaultBase {
    None,
    ProgramFolder,     // the data folder (DataFolder()), with its trailing '/'
    MainWindowTop,     // the main window's top edge when the settings are read
    MainWindowRight,   // its left edge plus its width
};

enum class Preference {
    Password,
    FontName,
    FontSize,
    FontBold,
    FontItalic,
    FontUnderline,
    FontColor,
    ShowOpeningScreen,
    DarkPage,
    IconsVisible,
    IconsFile,
    IconsTop,
    IconsLeft,
};

struct PreferenceKey {
    Preference id;
    std::string_view section;
    std::string_view key;
    SettingKind kind;
    DefaultBase base;
    std::string_view defaultText;
};

// Every key that LoadPreferences reads and SavePreferences writes, in the order they are
// written. Booleans default to "1" or "0".
inline constexpr PreferenceKey kPreferenceKeys[] = {
    {Preference::Password, "Security", "Password", SettingKind::String, DefaultBase::None, ""},
    {Preference::FontName, "Default Font", "Name", SettingKind::String, DefaultBase::None, "Arial"},
    {Preference::FontSize, "Default Font", "Size", SettingKind::Integer, DefaultBase::None, "10"},
    {Preference::FontBold, "Default Font", "Bold", SettingKind::Boolean, DefaultBase::None, "0"},
    {Preference::FontItalic, "Default Font", "Italic", SettingKind::Boolean, DefaultBase::None, "0"},
    {Preference::FontUnderline, "Default Font", "Underline", SettingKind::Boolean, DefaultBase::None, "0"},
    {Preference::FontColor, "Default Font", "Color", SettingKind::Integer, DefaultBase::None, "0"},
    {Preference::ShowOpeningScreen, "Opening Screen", "show", SettingKind::Boolean, DefaultBase::None, "1"},
    // The page shown dark with light text; the entries keep their own colours.
    {Preference::DarkPage, "Display", "DarkPage", SettingKind::Boolean, DefaultBase::None, "0"},
    {Preference::IconsVisible, "Icons", "Visible", SettingKind::Boolean, DefaultBase::None, "0"},
    {Preference::IconsFile, "Icons", "File", SettingKind::String, DefaultBase::ProgramFolder, "ICONS/MISC1.ICL"},
    {Preference::IconsTop, "Icons", "Top", SettingKind::Integer, DefaultBase::MainWindowTop, "100"},
    {Preference::IconsLeft, "Icons", "Left", SettingKind::Integer, DefaultBase::MainWindowRight, "-200"},
};

const PreferenceKey& KeyOf(Preference id);

// What the defaults are counted from.
struct PreferenceContext {
    std::string programFolder;  // with its trailing '/'
    WindowRect mainWindow;      // the main window's frame at the time of reading
};

// The default of one key as text (an integer or Boolean in decimal).
std::string DefaultText(const PreferenceKey& key, const PreferenceContext& context);

// The main window's working state that lives in the settings file.
struct Preferences {
    std::string DiaryPassword;  // plain; empty = no password. Stored scrambled.
    std::string DefaultFontName;
    int DefaultFontSize = 10;   // points
    bool DefaultFontBold = false;
    bool DefaultFontItalic = false;
    bool DefaultFontUnderline = false;
    int DefaultFontColor = 0;   // red in the low byte, green in the second, blue in the third
    bool ShowOpeningScreen = true;
    bool DarkPage = false;
    std::string IconsFile;
    bool IconsVisible = false;
    int IconsTop = 0;
    int IconsLeft = 0;

    bool operator==(const Preferences&) const = default;
};

// The diary password kept in "Security"/"Password", unscrambled; empty when there is none. A
// strong diary keeps none: its password is the one this run's key was derived from, if any.
std::string StoredPassword(const IniFile& ini);

Preferences ReadPreferences(const IniFile& ini, const PreferenceContext& context);
// Sets every key in `ini`; nothing is written to disk. The icon library is stored relative to
// `programFolder` when it lies inside it, so that it survives moving the folder; a relative
// "Icons"/"File" is read from the data folder of the context.
void WritePreferences(IniFile& ini, const Preferences& preferences, std::string_view programFolder = {});

// Read from / written to the settings file of the diary folder. A missing or unreadable file
// gives every default. Saving replaces the file whole, or raises "Unable to write to %s" and
// leaves it as it was.
Preferences LoadPreferences(const WindowRect& mainWindow);
void SavePreferences(const Preferences& preferences);

// --- Window placement -----------------------------------------------------------------------

// "TMainScreen_Placement" at 96 dots per inch or less; "TMainScreen_Placement120" at 120. Each
// resolution keeps its own placement.
std::string PlacementSectionName(std::string_view className, int logicalDpi);

struct FormPlacement {
    WindowRect normal;  // the restored (not maximized) frame
    bool maximized = false;

    bool operator==(const FormPlacement&) const = default;
};

// Missing coordinates read as 0; a missing "Maximized" as the window's present state.
FormPlacement ReadFormPlacement(const IniFile& ini, std::string_view section, bool maximizedNow);
void WriteFormPlacement(IniFile& ini, std::string_view section, const FormPlacement& placement);

// The same through the settings file of the diary folder, for a window class at a screen
// resolution. Storing replaces the file whole, or raises "Unable to write to %s".
FormPlacement LoadFormPlacement(std::string_view className, int logicalDpi, bool maximizedNow);
void StoreFormPlacement(std::string_view className, int logicalDpi, const FormPlacement& placement);

struct PlacementDecision {
    // The frame to give the window, or nothing when none is stored and the window is to be
    // centred on the screen instead.
    std::optional<WindowRect> bounds;
    bool maximize = false;

    bool operator==(const PlacementDecision&) const = default;
};

// Where a stored placement puts the window on `screen`. Bottom 0 means nothing is stored, and
// so does a frame without width or height (a hand-edited file), which would hide the window. A
// frame beyond the right or bottom edge is moved back (its right or bottom edge then on the
// screen's edge), and one beyond the left or top edge is moved to one pixel inside it; the
// size never changes.
PlacementDecision PlaceOnScreen(const FormPlacement& stored, const WindowRect& screen);

} // namespace quillory
