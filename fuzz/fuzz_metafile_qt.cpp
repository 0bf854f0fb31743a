// Metafiles from entries and other writers' RTF: any bytes are played into a small image or
// refused, without reading outside them or running away.
#include "richtext/qt/MetafilePlayer.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Text records need fonts, and fonts need an application.
    static std::unique_ptr<QGuiApplication> application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_metafile_qt";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
    const QImage image = quillory::PlayMetafile(std::string_view(reinterpret_cast<const char*>(data), size), QSize(64, 48));
    if (!image.isNull() && image.size() != QSize(64, 48))
        std::abort();
    return 0;
}
