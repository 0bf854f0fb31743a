// Draws the application icon from its drawing (an SVG file) at the sizes of the desktop's
// hicolor icon theme: OUT/NxN/apps/quillory.png, for the install rules.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: make-app-icons DRAWING.svg OUTDIR\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString drawing = QString::fromLocal8Bit(argv[1]);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImageReader reader(drawing, "svg");
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        if (image.isNull()) {
            std::fprintf(stderr, "make-app-icons: cannot draw %s: %s\n", argv[1],
                         qPrintable(reader.errorString()));
            return 1;
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!out.mkpath(folder) || !image.save(out.filePath(folder + QStringLiteral("/quillory.png")))) {
            std::fprintf(stderr, "make-app-icons: cannot write %s\n", qPrintable(out.filePath(folder)));
            return 1;
        }
    }
    return 0;
}
