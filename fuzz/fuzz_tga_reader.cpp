// TGA files the user picks in the image browser: any bytes give a picture of the size its
// header names, or nothing, without reading outside the file.
#include "platform/RasterReaders.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (const auto image = quillory::ReadTga(std::span(data, size))) {
        if (image->width <= 0 || image->height <= 0
            || image->pixels.size() != std::size_t(image->width) * std::size_t(image->height))
            std::abort();
    }
    return 0;
}
