// Writes a 32-bit icon library: a DLL that holds nothing but icon resources, one icon group
// per icon, which the program's palette and other icon tools read alike.
#pragma once

#include <cstdint>
#include <vector>

namespace quillory {

struct LibraryImage {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    std::vector<std::uint8_t> bytes;  // the image as an icon holds it (DIB with mask, or PNG)
};

// One group per element, its images in the order given.
using LibraryIcon = std::vector<LibraryImage>;

std::vector<std::uint8_t> WritePeIconLibrary(const std::vector<LibraryIcon>& icons);

} // namespace quillory
