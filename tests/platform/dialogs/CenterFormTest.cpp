// Where CenterForm puts a dialog (the offscreen screen is 800 x 800).
#include "platform/qt/CenterForm.h"

#include <QDialog>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace quillory;

namespace quillory {
// Stands in for the main window, found by its class name.
class TMainScreen : public QWidget {
    Q_OBJECT
};
} // namespace quillory

namespace {

std::unique_ptr<QDialog> Dialog(int width, int height)
{
    auto dialog = std::make_unique<QDialog>();
    dialog->resize(width, height);
    return dialog;
}

} // namespace

TEST(CenterForm, WithoutAMainWindowOnTheScreen)
{
    auto dialog = Dialog(201, 101);
    CenterForm(*dialog);
    EXPECT_EQ(dialog->pos(), QPoint(299, 349));  // halves truncated
}

TEST(CenterForm, OverTheMainWindowEvenWhenThatIsPartlyOffScreen)
{
    TMainScreen main;
    main.setGeometry(100, 50, 400, 300);
    auto dialog = Dialog(200, 100);
    CenterForm(*dialog);
    EXPECT_EQ(dialog->pos(), QPoint(200, 150));

    main.setGeometry(-300, -200, 400, 300);
    CenterForm(*dialog);
    EXPECT_EQ(dialog->pos(), QPoint(-200, -100));
}

TEST(CenterForm, OnTheScreenWhenTheMainWindowIsMaximizedOrIsTheForm)
{
    TMainScreen main;
    main.setGeometry(100, 50, 400, 300);
    CenterForm(main);
    EXPECT_EQ(main.pos(), QPoint(200, 250));

    main.setWindowState(Qt::WindowMaximized);
    auto dialog = Dialog(200, 100);
    CenterForm(*dialog);
    EXPECT_EQ(dialog->pos(), QPoint(300, 350));
}

TEST(CenterForm, AMaximizableFormGetsTheSystemMenu)
{
    auto dialog = Dialog(100, 100);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowMaximizeButtonHint);
    CenterForm(*dialog);
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowSystemMenuHint);

    auto plain = Dialog(100, 100);
    plain->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint);
    CenterForm(*plain);
    EXPECT_FALSE(plain->windowFlags() & Qt::WindowSystemMenuHint);
}

#include "CenterFormTest.moc"
