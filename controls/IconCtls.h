// TIconListBox: a grid of the icons of one icon library, drawn by the program. Icons are
// extracted when first drawn (or all at loading, without caching) and can be dragged away.
#pragma once

#ifndef Q_MOC_RUN
#include "platform/IconExtraction.h"
#endif

#include <QImage>
#include <QListWidget>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace quillory {

class TIconListBox : public QListWidget {
    Q_OBJECT

public:
    // The MIME type of a dragged icon: the library's path, a newline, the icon's index.
    static constexpr const char* kIconMimeType = "application/x-quillory-icon";

    explicit TIconListBox(QWidget* parent = nullptr);

    // The library shown. Setting a different name reloads the list and fires OnFileChange.
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& name);
    // When set, the control is enabled only while FileName names an existing file.
    bool AutoDisable() const noexcept { return autoDisable_; }
    void SetAutoDisable(bool on);
    // When set, icons are extracted as they are first drawn; otherwise all at loading.
    bool EnableCaching() const noexcept { return enableCaching_; }
    void SetEnableCaching(bool on) { enableCaching_ = on; }
    // Icons in the file; -1 while no file is loaded.
    int NumberOfIcons() const noexcept { return numberOfIcons_; }
    // Columns and visible rows; values below 1 are ignored. Setting either sizes the list to
    // show that many whole cells above its scroll bar.
    int XIcons() const noexcept { return xIcons_; }
    void SetXIcons(int columns);
    int YIcons() const noexcept { return yIcons_; }
    void SetYIcons(int rows);
    QString Version() const { return QStringLiteral("TIconListBox v1.10"); }
    void SetVersion(const QString&) {}  // a fixed text

    std::function<void(TIconListBox&)> OnFileChange;

    // The icon of an item, extracted and kept when it is not yet; null when it has none.
    QImage Icon(int index);
    // How many items hold their icon (for seeing the caching at work).
    int CachedIcons() const;

    static int ItemHeight();
    static int ColumnWidth();

protected:
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void LoadFile();
    void Resize();

    QString fileName_;
    bool autoDisable_ = true;
    bool enableCaching_ = true;
    int numberOfIcons_ = -1;
    int xIcons_ = 4;
    int yIcons_ = 1;
    IconLibrary library_;
    std::vector<std::optional<QImage>> icons_;  // the item's icon, once extracted
};

} // namespace quillory
