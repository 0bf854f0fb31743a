// The editor control's clipboard: RTF (as office suites exchange it) and plain text out; RTF,
// then text, then a picture in.
#include "richtext/qt/RichText.h"

#include "platform/qt/QtText.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/rtf/RtfWriter.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>

namespace quillory {

namespace {

// Names under which RTF travels between programs; the first two are what we write.
const char* const kRtfMimeTypes[] = {
    "text/rtf",
    "application/rtf",
    "text/richtext",
    "application/x-qt-windows-mime;value=\"Rich Text Format\"",
};

std::string stripTrailingZeros(std::string bytes)
{
    while (!bytes.empty() && bytes.back() == '\0')
        bytes.pop_back();
    return bytes;
}

// Plain text for other programs: line ends as the platform writes them, no placeholder bytes.
QString plainTextOf(const std::string& utf8)
{
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
            continue;
        if (c == CharCode::Object || c == CharCode::ObjectSecond || c == CharCode::Reserved)
            continue;
        text += c == '\r' ? '\n' : char(c);
    }
    return TextToQString(text);
}

} // namespace

std::unique_ptr<QMimeData> TWPRichText::SelectionMimeData()
{
    if (!core_->HasSelection())
        return nullptr;
    bool doIt = true;
    if (OnBeforeCopyEvent)
        OnBeforeCopyEvent(*this, doIt);
    if (!doIt)
        return nullptr;

    const auto part = CopyRange(RtfText(), core_->SelStartPosition(), core_->SelLength());
    WriterOptions options;
    options.forClipboard = true;
    options.writeBitmapAsDib = WriteBitmapAsDib;
    const std::string rtf = stripTrailingZeros(WriteRtf(*part, options));
    auto data = std::make_unique<QMimeData>();
    const QByteArray rtfBytes(rtf.data(), qsizetype(rtf.size()));
    data->setData(QString::fromLatin1(kRtfMimeTypes[0]), rtfBytes);
    data->setData(QString::fromLatin1(kRtfMimeTypes[1]), rtfBytes);
    data->setText(plainTextOf(core_->SelectedText()));
    return data;
}

void TWPRichText::CopyToClipboard()
{
    if (auto data = SelectionMimeData())
        QGuiApplication::clipboard()->setMimeData(data.release());
}

void TWPRichText::CutToClipboard()
{
    auto data = SelectionMimeData();
    if (!data)
        return;
    QGuiApplication::clipboard()->setMimeData(data.release());
    core_->DeleteSelection();
    viewport()->update();
}

void TWPRichText::PasteFromClipboard()
{
    if (ReadOnly())
        return;
    if (const QMimeData* data = QGuiApplication::clipboard()->mimeData())
        InsertMimeData(*data);
    ensureCaretVisible();
    viewport()->update();
}

bool TWPRichText::InsertMimeData(const QMimeData& data)
{
    if (ReadOnly())
        return false;
    for (const char* type : kRtfMimeTypes) {
        const QString name = QString::fromLatin1(type);
        if (!data.hasFormat(name))
            continue;
        QByteArray bytes = data.data(name);
        if (const auto zero = bytes.indexOf('\0'); zero >= 0)
            bytes.truncate(zero);
        if (bytes.isEmpty())
            continue;
        if (OnBeforePasteEvent)
            OnBeforePasteEvent(*this);
        TWPRTFText pasted;
        const LoadOutcome outcome = LoadDocument(
            pasted, std::string_view(bytes.constData(), std::size_t(bytes.size())), TWPFormatSetting::FormatRTF);
        lastResult_ = outcome.result;
        return core_->InsertDocument(pasted);
    }
    if (data.hasText() && !data.text().isEmpty()) {
        // Every character of any script goes in.
        const std::string text = QStringToText(data.text());
        if (OnBeforePasteEvent)
            OnBeforePasteEvent(*this);
        std::string normalised;
        normalised.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                continue;
            normalised += c == '\n' ? '\r' : c;
        }
        return core_->InsertText(normalised);
    }
    if (data.hasImage()) {
        const QImage image = qvariant_cast<QImage>(data.imageData());
        return !image.isNull() && InsertGraphic(image) != 0;
    }
    return false;
}

int TWPRichText::InsertGraphic(const QImage& image)
{
    if (image.isNull())
        return 0;
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    // Bitmaps of entries have no transparency: a transparent picture is laid on white paper.
    QImage picture = image;
    if (image.hasAlphaChannel()) {
        picture = QImage(image.size(), QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.drawImage(0, 0, image);
    }
    if (!picture.save(&buffer, "BMP"))
        return 0;
    auto graphic = std::make_unique<TGraphic>();
    graphic->kind = GraphicKind::Dib;
    graphic->bytes.assign(bmp.constData(), std::size_t(bmp.size()));
    graphic->width = picture.width();
    graphic->height = picture.height();
    graphic->bitsPerPixel = picture.depth();
    const int dpiX = std::max(1, logicalDpiX()), dpiY = std::max(1, logicalDpiY());
    return InsertGraphic(std::move(graphic), picture.width() * TwipsPerInch / dpiX,
                         picture.height() * TwipsPerInch / dpiY);
}

int TWPRichText::InsertGraphic(std::unique_ptr<TGraphic> graphic, int widthTwips, int heightTwips)
{
    const int tag = core_->InsertGraphic(std::move(graphic), widthTwips, heightTwips);
    if (tag)
        ensureCaretVisible();
    return tag;
}

} // namespace quillory
