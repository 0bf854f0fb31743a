// Metafiles from entries and other writers' RTF: any bytes are played into a small image or
// refused, without reading outside them or running away.
#include "richtext/qt/MetafilePlayer.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <iterator>
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
    // Every input at a thumbnail's size, and at one more place an entry gives pictures, chosen by
    // the input's length: whether a mapping can be drawn depends on the place as much as the bytes.
    static const QSize kPlaces[] = {{100, 100}, {640, 480}, {1600, 1200}, {1600, 4}};
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const QSize place : {QSize(64, 48), kPlaces[size % std::size(kPlaces)]}) {
        const QImage image = quillory::PlayMetafile(bytes, place);
        if (!image.isNull() && image.size() != place)
            std::abort();
    }
    return 0;
}
