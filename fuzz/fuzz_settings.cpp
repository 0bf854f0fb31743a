// Arbitrary bytes as QL.INI: every key is read, the preferences are written back, and what was
// written must read back the same while the rest of the file reads as before.
#include "app/Settings.h"
#include "platform/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniFile ini = IniFile::FromText(text);
    const PreferenceContext context{"/diary/", WindowRect{10, 20, 810, 620}};
    const WindowRect screen{0, 0, 1024, 768};

    for (const PreferenceKey& key : kPreferenceKeys) {
        switch (key.kind) {
        case SettingKind::String:
            if (ini.ReadString(key.section, key.key, "").size() > IniFile::kMaxValueLength)
                std::abort();
            break;
        case SettingKind::Integer:
            ini.ReadInteger(key.section, key.key, 0);
            break;
        case SettingKind::Boolean:
            ini.ReadBool(key.section, key.key, false);
            break;
        }
    }
    const Preferences preferences = ReadPreferences(ini, context);
    const std::string section = PlacementSectionName("TMainScreen", 120);
    const FormPlacement placement = ReadFormPlacement(ini, section, false);
    PlaceOnScreen(placement, screen);

    WritePreferences(ini, preferences);
    const IniFile back = IniFile::FromText(ini.Text());
    if (!(ReadPreferences(back, context) == preferences))
        std::abort();
    if (!(ReadFormPlacement(back, section, false) == placement))
        std::abort();
    return 0;
}
