// The page layout of the main window.
#include "app/MainLayout.h"

namespace quillory {

PageLayout LayOutPage(int leftEdge, int rightEdge, int width, int height) noexcept
{
    PageLayout layout;
    const int left = leftEdge + 15;
    const int textWidth = width - leftEdge - rightEdge - 20;
    layout.dateLabel = {left, 8, textWidth, 20};
    layout.topLine = {left, 28, textWidth, 1};
    layout.bottomLine = {left, height - 20, textWidth, 1};
    constexpr int editorTop = 35;
    layout.editor = {left, editorTop, textWidth, height - editorTop - 22};
    return layout;
}

} // namespace quillory
