// TFloatingPalette: the icon palette, a small stay-on-top tool window ("Icons") with a grid of
// the icons of one library, from which the user drags icons into the entry; its menu chooses
// the library.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QAction;
class QFileDialog;
class QMenu;
class QMenuBar;

namespace quillory {

class TIconListBox;

class TFloatingPalette : public QWidget {
    Q_OBJECT

public:
    // FormCreate: the designed window, the first standard library and the bonus sets found.
    explicit TFloatingPalette(QWidget* parent = nullptr);

    // Told when the window hides, so that the main window's toggle button follows.
    std::function<void()> OnHide;

    // Checks the menu item of a library and makes sure the grid shows icons: the library is
    // loaded when it exists, and one without icons gives way to the fallback.
    void ShowIconFile(const QString& name);

    void mnuActivitiesICLClick();
    void mnuEventsICLClick();
    void mnuHolidaysICLClick();
    void mnuMisc1ICLClick();
    void mnuMisc2ICLClick();
    void mnuBonusIconSetsClick();
    void DefaultMenuClick(QAction* item);
    void mnuOtherIconFileClick();

    QWidget* Panel1 = nullptr;
    TIconListBox* IconListBox = nullptr;
    QMenuBar* MainMenu = nullptr;
    QMenu* File = nullptr;
    QAction* mnuActivitiesICL = nullptr;
    QAction* mnuEventsICL = nullptr;
    QAction* mnuHolidaysICL = nullptr;
    QAction* mnuMisc1ICL = nullptr;
    QAction* mnuMisc2ICL = nullptr;
    QAction* mnuBonusIconSets = nullptr;  // a submenu once bonus sets are found
    QAction* mnuOtherIconFile = nullptr;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void FormCreate();
    void FillBonusIconSets();
    void ShowStandardLibrary(int which);
    // The file the user picks in the open dialog; empty when cancelled.
    QString PickIconFile();
    void LoadFallback();
};

} // namespace quillory
