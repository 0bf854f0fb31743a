// Placing a dialog before it is shown: over the main window, or on the screen.
#pragma once

class QWidget;

namespace quillory {

// Centres `form` on the screen when it is the main window (class TMainScreen), when the main
// window is maximized, or when there is no main window yet; otherwise centres it over the main
// window, also when that puts part of it off the screen. A form with a maximize button also
// gets the system menu.
void CenterForm(QWidget& form);

// The main window (the top-level widget of class TMainScreen), or null before it exists.
QWidget* FindMainForm();

} // namespace quillory
