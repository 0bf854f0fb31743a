// The diary's start-up: until the main window exists, a plain window saying so.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Quillory — the diary is being built."));
    window.setWindowTitle(QStringLiteral("Quillory!"));
    window.setMinimumSize(480, 200);
    window.setAlignment(Qt::AlignCenter);
    window.show();
    return app.exec();
}
