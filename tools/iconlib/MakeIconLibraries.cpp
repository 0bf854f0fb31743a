// Build-time generator of the icon libraries that ship with the program: draws each emoji of
// ShippedIconSets() with Debian's colour emoji font at 32 x 32 (and 16 x 16) and writes the
// libraries under the output folder.
//
// usage: make-icon-libraries OUTDIR
//
// The libraries are 32-bit icon libraries (resource-only PE DLLs): the .icl kind that icon
// editors and the shell of the diary's first home read and write today, holding true-colour
// images with an alpha channel, which the 16-bit kind was never meant for.
#include "tools/iconlib/IconSets.h"
#include "tools/iconlib/PeIconLibrary.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace quillory {
namespace {

constexpr int kCanvas = 160;  // the emoji is drawn large, then scaled down smoothly
const char* const kEmojiFont = "Noto Color Emoji";

// The emoji's drawn pixels, cut to their bounds; null when the font drew nothing.
QImage DrawEmoji(std::string_view emoji)
{
    QImage canvas(kCanvas, kCanvas, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        QFont font(QString::fromLatin1(kEmojiFont));
        font.setPixelSize(kCanvas * 3 / 4);
        painter.setFont(font);
        painter.drawText(canvas.rect(), Qt::AlignCenter, QString::fromUtf8(emoji.data(), qsizetype(emoji.size())));
    }
    QRect bounds;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            if (qAlpha(row[x]) > 8)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds.isEmpty() ? QImage() : canvas.copy(bounds);
}

// The emoji centred in a square of `size` pixels, with a pixel of margin.
QImage IconOfSize(const QImage& drawn, int size)
{
    const QImage scaled = drawn.scaled(size - 2, size - 2, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    return icon;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

// A 32-bit icon image: the info header (height counting the mask too), the pixels bottom-up
// in blue, green, red, alpha, then the AND mask that marks the transparent pixels for readers
// that ignore alpha.
LibraryImage IconImageOf(const QImage& icon)
{
    const QImage argb = icon.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width(), h = argb.height();
    const int maskRow = (w + 31) / 32 * 4;
    LibraryImage image{w, h, 32, {}};
    std::vector<std::uint8_t>& out = image.bytes;
    Put32(out, 40);
    Put32(out, std::uint32_t(w));
    Put32(out, std::uint32_t(2 * h));
    out.push_back(1), out.push_back(0);
    out.push_back(32), out.push_back(0);
    Put32(out, 0);
    Put32(out, std::uint32_t(w * h * 4 + maskRow * h));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.push_back(std::uint8_t(qBlue(row[x])));
            out.push_back(std::uint8_t(qGreen(row[x])));
            out.push_back(std::uint8_t(qRed(row[x])));
            out.push_back(std::uint8_t(qAlpha(row[x])));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::vector<std::uint8_t> mask(std::size_t(maskRow), 0);
        for (int x = 0; x < w; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        }
        out.insert(out.end(), mask.begin(), mask.end());
    }
    return image;
}

int Generate(const std::filesystem::path& outFolder)
{
    if (!QFontDatabase::families().contains(QString::fromLatin1(kEmojiFont))) {
        std::fprintf(stderr, "make-icon-libraries: the font \"%s\" is not installed (fonts-noto-color-emoji)\n",
                     kEmojiFont);
        return 1;
    }
    for (const IconSet& set : ShippedIconSets()) {
        std::vector<LibraryIcon> icons;
        for (std::string_view emoji : set.emoji) {
            const QImage drawn = DrawEmoji(emoji);
            if (drawn.isNull()) {
                std::fprintf(stderr, "make-icon-libraries: %.*s: the font draws nothing for \"%.*s\"\n",
                             int(set.file.size()), set.file.data(), int(emoji.size()), emoji.data());
                return 1;
            }
            icons.push_back({IconImageOf(IconOfSize(drawn, 32)), IconImageOf(IconOfSize(drawn, 16))});
        }
        const std::vector<std::uint8_t> bytes = WritePeIconLibrary(icons);
        const std::filesystem::path path = outFolder / std::filesystem::path(std::string(set.file));
        std::filesystem::create_directories(path.parent_path());
        // Written beside and renamed, so that an interrupted build leaves no torn library.
        const std::filesystem::path partial = path.string() + ".partial";
        {
            std::ofstream file(partial, std::ios::binary | std::ios::trunc);
            file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            if (!file.flush()) {
                std::fprintf(stderr, "make-icon-libraries: cannot write %s\n", partial.string().c_str());
                return 1;
            }
        }
        std::filesystem::rename(partial, path);
    }
    return 0;
}

} // namespace
} // namespace quillory

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icon-libraries OUTDIR\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return quillory::Generate(argv[1]);
}
