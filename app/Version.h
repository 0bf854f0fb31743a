// The program's name and version as the about box shows them.
#pragma once

namespace quillory {

inline constexpr const char* kProgramName = "Quillory!";
// Kept equal to the project version in CMakeLists.txt.
inline constexpr const char* kProgramVersion = "0.1.0";

} // namespace quillory
