// The program's name and version as the about box shows them.
#pragma once

namespace quillory {

inline constexpr const char* kProgramName = "Quillory!";
// The build passes the project version from CMakeLists.txt.
inline constexpr const char* kProgramVersion = QUILLORY_VERSION;

} // namespace quillory
