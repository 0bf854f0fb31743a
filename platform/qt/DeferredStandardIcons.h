// The style's standard icons (the OK button's tick, the menu bar's overflow arrow) read from their
// files when first drawn rather than when a widget asks for them: reading the first such file
// makes Qt load every image-format plug-in to learn its format, which a window that only
// creates those widgets (the menu bar's hidden overflow button) need not wait for.
#pragma once

class QStyle;

namespace quillory {

// A style that behaves as `base` (taken over) in everything but the standard icons, which it
// hands out unread. Set it with QApplication::setStyle.
QStyle* StyleWithDeferredStandardIcons(QStyle* base);

} // namespace quillory
