// The offscreen Qt application of the commands that paint.
#include "tools/cli/full/OffscreenApplication.h"

namespace quillory::cli {

std::unique_ptr<QGuiApplication> OffscreenApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // QGuiApplication keeps references to argc and argv for its whole life.
    static int argc = 1;
    static char name[] = "quillory-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace quillory::cli
