// The style whose standard icons are read when first drawn: the same pictures as its base's.
#include "platform/qt/DeferredStandardIcons.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(DeferredStandardIconsTest, TheIconsAreTheBaseStylesOnceDrawn)
{
    std::unique_ptr<QStyle> base(QStyleFactory::create(QStringLiteral("Fusion")));
    std::unique_ptr<QStyle> deferred(quillory::StyleWithDeferredStandardIcons(QStyleFactory::create(QStringLiteral("Fusion"))));
    for (const auto which : {QStyle::SP_DialogOkButton, QStyle::SP_DialogCancelButton, QStyle::SP_ToolBarHorizontalExtensionButton,
                             QStyle::SP_MessageBoxWarning}) {
        SCOPED_TRACE(int(which));
        const QIcon icon = deferred->standardIcon(which);
        EXPECT_FALSE(icon.isNull());
        const QImage drawn = icon.pixmap(16, 16).toImage();
        EXPECT_FALSE(drawn.isNull());
        EXPECT_EQ(drawn, base->standardIcon(which).pixmap(16, 16).toImage());
        const QIcon copy = icon;  // a copy shares what was read
        EXPECT_EQ(copy.pixmap(32, 32).toImage(), base->standardIcon(which).pixmap(32, 32).toImage());
    }
}

} // namespace
