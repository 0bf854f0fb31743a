// Small builders shared by the dialogs that place their labels at designed positions.
#pragma once

#include <QRect>
#include <QString>

#include <string>

class QLabel;
class QWidget;
#include <initializer_list>

namespace quillory {

// A label owned by `parent`, named for tests, at a fixed place.
QLabel* AddLabel(QWidget* parent, const char* name, const char* text, QRect place);
// The same for a paragraph of notice text: wrapped, set from the top left.
QLabel* AddWrappedLabel(QWidget* parent, const char* name, const char* text, QRect place);

// Tab visits the widgets in this order.
void ChainTabs(std::initializer_list<QWidget*> widgets);
// The label names the field for screen readers, and its '&' key moves to it.
void LabelFor(QLabel* label, QWidget* field);

// A folder as a notice names it: this system's separators, no trailing one, and a break
// allowed after each separator so that a long path wraps inside its label.
QString ShownFolderName(const std::string& folder);

} // namespace quillory
