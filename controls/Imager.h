// TSmartImage: an image control that loads picture files of many types: Qt's image readers for
// most, readers of our own for PCX and TGA.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace quillory {

// The file types by the text after the last dot, in capitals; 0 for anything else.
enum class SmartImageType { Other = 0, Jpg = 1, Gif = 2, Jif = 3, Bmp = 4, Dib = 5, Rle = 6, Tga = 7, Pcx = 8,
                            Png = 9, WebP = 10, Jpeg = 11 };
SmartImageType SmartImageTypeOf(const QString& fileName);

// The Qt image format a type needs, empty for the types read without a plug-in (our own
// readers, BMP). MissingImagePlugin says whether that format is absent from `supported`
// (QImageReader::supportedImageFormats() by default).
QByteArray ImagePluginFormat(SmartImageType type);
bool MissingImagePlugin(SmartImageType type, const QList<QByteArray>& supported);

// Shown (task-modal warning) when a picture needs an image plug-in that is not installed.
inline constexpr const char* kImageLibraryMissing = "A required image library was not found.";
inline constexpr const char* kImageLibraryCaption = "Error Starting the image library";

class TSmartImage : public QWidget {
    Q_OBJECT

public:
    explicit TSmartImage(QWidget* parent = nullptr);

    QImage Picture;
    bool AutoSize = false;
    bool Center = false;
    bool Stretch = false;
    bool MaintainAspect = true;
    bool Transparent = false;

    // Reads the file into Picture; false (Picture empty) when it cannot be read. The file's own
    // bytes stay in FileBytes for pictures worth keeping in their encoded form. A picture whose
    // type needs a missing image plug-in shows the warning above.
    bool LoadFromFile(const QString& fileName);
    QByteArray FileBytes;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Reads a picture file as TSmartImage does, without a widget or a warning: PCX and TGA through
// our readers, everything else through QImageReader (turned upright as its camera recorded).
QImage ReadPictureFile(const QString& fileName, const QByteArray& bytes);

} // namespace quillory
