// TMainScreen: the "Spell Check" command, from the menu and from the toolbar's icon.
#include "app/forms/Main.h"

#include "app/forms/Spellchk.h"

namespace quillory {

namespace {
constexpr int kIconPressed = 6;
constexpr int kEditIconGroup = 768;
constexpr int kSpellCheckIcon = 8;
} // namespace

void TMainScreen::SpellCheck1Click()
{
    RunSpellCheck(WPRichText1, this);
}

void TMainScreen::WPToolBar2IconSelection(int typ, int group, int num)
{
    if (typ == kIconPressed && group == kEditIconGroup && num == kSpellCheckIcon)
        SpellCheck1Click();
}

} // namespace quillory
