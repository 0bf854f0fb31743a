// Loading and saving the diary's preferences, and the main window's placement rules.
#include "app/Settings.h"

#include "app/Crypt.h"
#include "app/DiarySecurity.h"
#include "app/IconPalette.h"
#include "platform/ProgramFolder.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace quillory {

namespace {

int ParseDefault(std::string_view text)
{
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

int DefaultInteger(Preference id, const PreferenceContext& context)
{
    return ParseDefault(DefaultText(KeyOf(id), context));
}

std::string ReadString(const IniFile& ini, Preference id, const PreferenceContext& context)
{
    const PreferenceKey& key = KeyOf(id);
    return ini.ReadString(key.section, key.key, DefaultText(key, context));
}

int ReadInteger(const IniFile& ini, Preference id, const PreferenceContext& context)
{
    const PreferenceKey& key = KeyOf(id);
    return ini.ReadInteger(key.section, key.key, DefaultInteger(id, context));
}

bool ReadBool(const IniFile& ini, Preference id, const PreferenceContext& context)
{
    const PreferenceKey& key = KeyOf(id);
    return ini.ReadBool(key.section, key.key, DefaultInteger(id, context) != 0);
}

void Write(IniFile& ini, Preference id, std::string_view value)
{
    const PreferenceKey& key = KeyOf(id);
    ini.WriteString(key.section, key.key, value);
}

void Write(IniFile& ini, Preference id, int value)
{
    const PreferenceKey& key = KeyOf(id);
    ini.WriteInteger(key.section, key.key, value);
}

void Write(IniFile& ini, Preference id, bool value)
{
    const PreferenceKey& key = KeyOf(id);
    ini.WriteBool(key.section, key.key, value);
}

constexpr std::string_view kPlacementKeys[] = {"Left", "Top", "Right", "Bottom"};

} // namespace

const PreferenceKey& KeyOf(Preference id)
{
    for (const PreferenceKey& key : kPreferenceKeys) {
        if (key.id == id)
            return key;
    }
    return kPreferenceKeys[0];  // not reached: the table names every preference
}

std::string DefaultText(const PreferenceKey& key, const PreferenceContext& context)
{
    switch (key.base) {
    case DefaultBase::None:
        break;
    case DefaultBase::ProgramFolder:
        return context.programFolder + std::string(key.defaultText);
    case DefaultBase::MainWindowTop:
        return std::to_string(context.mainWindow.Top + ParseDefault(key.defaultText));
    case DefaultBase::MainWindowRight:
        return std::to_string(context.mainWindow.Right + ParseDefault(key.defaultText));
    }
    return std::string(key.defaultText);
}

std::string StoredPassword(const IniFile& ini)
{
    // A strong diary stores no password: the one in memory is the one its key was derived from.
    if (ReadDiarySecurity(ini).scheme == Scheme::Strong)
        return SessionStrongPassword().value_or(std::string());
    const PreferenceKey& key = KeyOf(Preference::Password);
    const std::string stored = ini.ReadString(key.section, key.key, "");
    return stored.empty() ? std::string() : Decryptstring(stored);
}

Preferences ReadPreferences(const IniFile& ini, const PreferenceContext& context)
{
    Preferences p;
    p.DiaryPassword = StoredPassword(ini);
    p.DefaultFontName = ReadString(ini, Preference::FontName, context);
    p.DefaultFontSize = ReadInteger(ini, Preference::FontSize, context);
    p.DefaultFontBold = ReadBool(ini, Preference::FontBold, context);
    p.DefaultFontItalic = ReadBool(ini, Preference::FontItalic, context);
    p.DefaultFontUnderline = ReadBool(ini, Preference::FontUnderline, context);
    p.DefaultFontColor = ReadInteger(ini, Preference::FontColor, context);
    p.ShowOpeningScreen = ReadBool(ini, Preference::ShowOpeningScreen, context);
    p.DarkPage = ReadBool(ini, Preference::DarkPage, context);
    p.IconsFile = IconLibraryFromStored(ReadString(ini, Preference::IconsFile, context), context.programFolder);
    p.IconsVisible = ReadBool(ini, Preference::IconsVisible, context);
    p.IconsTop = ReadInteger(ini, Preference::IconsTop, context);
    p.IconsLeft = ReadInteger(ini, Preference::IconsLeft, context);
    return p;
}

void WritePreferences(IniFile& ini, const Preferences& p, std::string_view programFolder)
{
    // Never the password in plain: an empty value stands for "no password". A strong diary
    // keeps none at all.
    const bool keep = !p.DiaryPassword.empty() && ReadDiarySecurity(ini).scheme != Scheme::Strong;
    Write(ini, Preference::Password, keep ? EncryptString(p.DiaryPassword) : std::string());
    Write(ini, Preference::FontName, p.DefaultFontName);
    Write(ini, Preference::FontSize, p.DefaultFontSize);
    Write(ini, Preference::FontBold, p.DefaultFontBold);
    Write(ini, Preference::FontItalic, p.DefaultFontItalic);
    Write(ini, Preference::FontUnderline, p.DefaultFontUnderline);
    Write(ini, Preference::FontColor, p.DefaultFontColor);
    Write(ini, Preference::ShowOpeningScreen, p.ShowOpeningScreen);
    Write(ini, Preference::DarkPage, p.DarkPage);
    Write(ini, Preference::IconsVisible, p.IconsVisible);
    Write(ini, Preference::IconsFile, StoredIconLibrary(p.IconsFile, programFolder));
    Write(ini, Preference::IconsTop, p.IconsTop);
    Write(ini, Preference::IconsLeft, p.IconsLeft);
}

Preferences LoadPreferences(const WindowRect& mainWindow)
{
    const IniFile ini(SettingsFileName());
    return ReadPreferences(ini, {DataFolder(), mainWindow});
}

void SavePreferences(const Preferences& preferences)
{
    // Read first, so that what this program does not own in the file stays as it is.
    IniFile ini(SettingsFileName());
    WritePreferences(ini, preferences, DataFolder());
    ini.UpdateFile();
}

std::string PlacementSectionName(std::string_view className, int logicalDpi)
{
    std::string name = std::string(className) + "_Placement";
    if (logicalDpi > 96)
        name += std::to_string(logicalDpi);
    return name;
}

FormPlacement ReadFormPlacement(const IniFile& ini, std::string_view section, bool maximizedNow)
{
    FormPlacement placement;
    int* edges[] = {&placement.normal.Left, &placement.normal.Top, &placement.normal.Right,
                    &placement.normal.Bottom};
    for (std::size_t i = 0; i < std::size(kPlacementKeys); ++i)
        *edges[i] = ini.ReadInteger(section, kPlacementKeys[i], 0);
    placement.maximized = ini.ReadBool(section, "Maximized", maximizedNow);
    return placement;
}

void WriteFormPlacement(IniFile& ini, std::string_view section, const FormPlacement& placement)
{
    const int edges[] = {placement.normal.Left, placement.normal.Top, placement.normal.Right,
                         placement.normal.Bottom};
    for (std::size_t i = 0; i < std::size(kPlacementKeys); ++i)
        ini.WriteInteger(section, kPlacementKeys[i], edges[i]);
    ini.WriteBool(section, "Maximized", placement.maximized);
}

FormPlacement LoadFormPlacement(std::string_view className, int logicalDpi, bool maximizedNow)
{
    return ReadFormPlacement(IniFile(SettingsFileName()), PlacementSectionName(className, logicalDpi), maximizedNow);
}

void StoreFormPlacement(std::string_view className, int logicalDpi, const FormPlacement& placement)
{
    IniFile ini(SettingsFileName());
    WriteFormPlacement(ini, PlacementSectionName(className, logicalDpi), placement);
    ini.UpdateFile();
}

PlacementDecision PlaceOnScreen(const FormPlacement& stored, const WindowRect& screen)
{
    PlacementDecision decision;
    decision.maximize = stored.maximized;
    // 64-bit arithmetic: the stored numbers can be anything a file holds.
    long long left = stored.normal.Left, top = stored.normal.Top;
    long long right = stored.normal.Right, bottom = stored.normal.Bottom;
    if (bottom == 0 || right <= left || bottom <= top)
        return decision;

    // Each move keeps the size.
    if (right > screen.Right) {
        left -= right - screen.Right;
        right = screen.Right;
    }
    if (left < screen.Left) {
        right += screen.Left - left + 1;
        left = screen.Left + 1;
    }
    if (bottom > screen.Bottom) {
        top -= bottom - screen.Bottom;
        bottom = screen.Bottom;
    }
    if (top < screen.Top) {
        bottom += screen.Top - top + 1;
        top = screen.Top + 1;
    }
    auto clamp = [](long long value) {
        return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
    };
    decision.bounds = WindowRect{clamp(left), clamp(top), clamp(right), clamp(bottom)};
    return decision;
}

} // namespace quillory
