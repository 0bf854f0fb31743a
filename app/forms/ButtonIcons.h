// The pictures of the main window's command buttons: the icon theme's standard names where one
// fits, pictures of our own where none does.
#pragma once

#include <QIcon>
#include <QStringList>
#include <string_view>

namespace quillory {

// The theme names tried for a button, in order (empty for a button without a picture or with
// one of our own only).
QStringList ButtonIconNames(std::string_view buttonName);

// The picture of the button with this designer name: the first of its theme names that the icon
// theme has, else our own drawing; a null icon for a button without a picture.
QIcon ButtonIcon(std::string_view buttonName);

} // namespace quillory
