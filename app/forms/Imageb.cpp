// The image browser: drives, folders and picture files on the left, the preview on the right,
// the scale below it. The main window inserts what it previews (MainPictures.cpp).
#include "app/forms/Imageb.h"

#include "app/forms/FormParts.h"
#include "platform/qt/MessageBoxes.h"
#include "richtext/qt/MetafilePlayer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>

namespace quillory {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr qint64 kMaxMetafile = 64LL << 20;

// An icon drawn into a bitmap of its own size, on white paper as entries have.
QImage IconAsBitmap(const QString& fileName)
{
    QImageReader reader(fileName);
    const QImage icon = reader.read();
    if (icon.isNull())
        return {};
    QImage bitmap(icon.size(), QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    QPainter painter(&bitmap);
    painter.drawImage(0, 0, icon);
    return bitmap;
}

} // namespace

TImageBrowser::TImageBrowser(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ImageBrowser"));
    setWindowTitle(tr("Load Image File  "));
    setWindowIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(579, 362);

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setAccessibleName(tr("Place"));
    DriveComboBox1->setAccessibleDescription(tr("Place"));
    DriveComboBox1->setGeometry(8, 8, 185, 22);
    DriveComboBox1->addItem(QDir::homePath(), QDir::homePath());
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && DriveComboBox1->findData(volume.rootPath()) < 0)
            DriveComboBox1->addItem(volume.rootPath(), volume.rootPath());
    connect(DriveComboBox1, &QComboBox::activated, this,
            [this](int index) { SetFolder(DriveComboBox1->itemData(index).toString()); });

    DirectoryListBox1 = new QListWidget(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setAccessibleName(tr("Folders"));
    DirectoryListBox1->setGeometry(8, 34, 185, 140);
    connect(DirectoryListBox1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { SetFolder(item->data(kPathRole).toString()); });

    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setAccessibleName(tr("Pictures"));
    FileListBox1->setGeometry(8, 180, 185, 142);
    connect(FileListBox1, &QListWidget::currentRowChanged, this, [this] { FileListBox1Change(); });
    connect(FileListBox1, &QListWidget::itemActivated, this, [this] { OKButtonClick(); });

    // The accepted types, spaced so that the list wraps onto a second line.
    Panel3 = AddLabel(this, "Panel3", "", {8, 326, 375, 30});
    Panel3->setText(QString::fromLatin1(kImageFileMask).replace(QLatin1Char(';'), QLatin1String("; ")));
    Panel3->setWordWrap(true);
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    Panel1 = new QScrollArea(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAccessibleName(tr("Preview"));
    Panel1->setGeometry(203, 8, 368, 284);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setBackgroundRole(QPalette::Base);
    Image1 = new TSmartImage;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->AutoSize = true;
    Panel1->setWidget(Image1);
    Image2 = new TSmartImage(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->hide();
    SmartImage1 = new TSmartImage(this);
    SmartImage1->setObjectName(QStringLiteral("SmartImage1"));
    SmartImage1->hide();

    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setAccessibleName(tr("Size in percent"));
    SpinEdit1->setGeometry(203, 298, 60, 22);
    SpinEdit1->setRange(25, 200);
    SpinEdit1->setSingleStep(5);
    SpinEdit1->setValue(100);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this] { SpinEdit1Change(); });
    Label1 = AddLabel(this, "Label1", "percent", {268, 301, 60, 16});

    KeepOriginalCheck = new QCheckBox(tr("Keep all pixels of a large photo"), this);
    KeepOriginalCheck->setObjectName(QStringLiteral("KeepOriginalCheck"));
    KeepOriginalCheck->setToolTip(QStringLiteral("A photo wider than the page is shown at the page's width; "
                                                 "without this, only the pixels that width needs are kept"));
    KeepOriginalCheck->setGeometry(335, 300, 236, 18);

    OKButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Ok"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setGeometry(390, 326, 85, 30);
    connect(OKButton, &QPushButton::clicked, this, &TImageBrowser::OKButtonClick);
    Cancelbutton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    Cancelbutton->setObjectName(QStringLiteral("Cancelbutton"));
    Cancelbutton->setGeometry(486, 326, 85, 30);
    connect(Cancelbutton, &QPushButton::clicked, this, &TImageBrowser::CancelbuttonClick);

    SetFolder(QDir::homePath());
    FileListBox1->setFocus();
}

void TImageBrowser::SetFolder(const QString& folder)
{
    folder_ = QDir(folder).absolutePath();
    FillFolders();
    FillFiles();
}

// The folder's ancestors from the root down, indented as a tree, then its subfolders.
void TImageBrowser::FillFolders()
{
    DirectoryListBox1->clear();
    QStringList chain;
    for (QDir dir(folder_);; ) {
        chain.prepend(dir.absolutePath());
        if (!dir.cdUp())
            break;
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, DirectoryListBox1);
        item->setData(kPathRole, path);
        item->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
        ++depth;
    }
    DirectoryListBox1->setCurrentRow(DirectoryListBox1->count() - 1);
    const QDir dir(folder_);
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub, DirectoryListBox1);
        item->setData(kPathRole, dir.filePath(sub));
        item->setIcon(style()->standardIcon(QStyle::SP_DirClosedIcon));
    }
}

void TImageBrowser::FillFiles()
{
    const QSignalBlocker quiet(FileListBox1);
    FileListBox1->clear();
    // Names are matched without regard to case, as on the systems these files come from.
    const QStringList patterns = QString::fromLatin1(kImageFileMask).split(QLatin1Char(';'));
    const QDir dir(folder_);
    for (const QString& name : dir.entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase))
        FileListBox1->addItem(name);
    FileListBox1->setCurrentRow(-1);
    Image1->Picture = Image2->Picture = QImage();
    Image1->resize(0, 0);
    bytes_.clear();
}

bool TImageBrowser::SelectFile(const QString& name)
{
    for (int row = 0; row < FileListBox1->count(); ++row) {
        if (FileListBox1->item(row)->text().compare(name, Qt::CaseInsensitive) == 0) {
            FileListBox1->setCurrentRow(row);
            return true;
        }
    }
    return false;
}

QString TImageBrowser::SelectedFile() const
{
    const QListWidgetItem* item = FileListBox1->currentItem();
    return item && FileListBox1->currentRow() >= 0 ? QDir(folder_).filePath(item->text()) : QString();
}

void TImageBrowser::FileListBox1Change()
{
    Loading = true;
    const QString name = SelectedFile();
    if (name.isEmpty()) {
        Loading = false;
        return;
    }
    const QString extension = QLatin1Char('.') + QFileInfo(name).suffix().toUpper();
    QImage picture;
    bytes_.clear();
    if (extension == QLatin1String(".BMP")) {
        QImageReader reader(name);
        picture = reader.read();
        if (picture.isNull())
            ShowMessageBox(QStringLiteral("Error loading file!"), QStringLiteral("Error"), MessageButtons::Ok,
                           MessageIcon::Error);
    } else if (extension == QLatin1String(".WMF")) {
        // Drawn by our own player at the size its header names; kept as the metafile it is.
        QFile file(name);
        if (file.size() <= kMaxMetafile && file.open(QIODevice::ReadOnly))
            bytes_ = file.readAll();
        const std::string_view view(bytes_.constData(), std::size_t(bytes_.size()));
        picture = PlayMetafile(view, MetafilePixelSize(view, 96));
        if (picture.isNull()) {
            bytes_.clear();
            ShowMessageBox(QStringLiteral("Error loading file!"), QStringLiteral("Error"), MessageButtons::Ok,
                           MessageIcon::Error);
        }
    } else if (extension == QLatin1String(".ICO")) {
        picture = IconAsBitmap(name);
        QCoreApplication::processEvents();
    } else {
        SmartImage1->LoadFromFile(name);
        QCoreApplication::processEvents();
        picture = SmartImage1->Picture;
        bytes_ = SmartImage1->FileBytes;
    }
    Image1->Picture = picture;
    Image1->resize(picture.size());
    Image2->Picture = picture;
    {
        // The scale goes back to 100 percent; the preview is already the unscaled picture.
        const QSignalBlocker quiet(SpinEdit1);
        SpinEdit1->setValue(100);
    }
    Image1->update();
    Loading = false;
}

// The preview rebuilt from the unscaled picture, so that scaling down and up again loses nothing.
void TImageBrowser::SpinEdit1Change()
{
    const QImage& unscaled = Image2->Picture;
    if (unscaled.isNull())
        return;
    const double factor = SpinEdit1->value() * 0.01;
    const QSize size(std::max(1, int(unscaled.width() * factor)), std::max(1, int(unscaled.height() * factor)));
    Image1->Picture = unscaled.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Image1->resize(size);
    Image1->update();
}

void TImageBrowser::OKButtonClick()
{
    if (!SelectedFile().isEmpty())
        accept();
}

void TImageBrowser::CancelbuttonClick()
{
    reject();
}

} // namespace quillory
