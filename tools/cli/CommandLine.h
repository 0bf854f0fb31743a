// The command line quillory-cli was started with, kept for the commands that hand their work
// over to the full part (FullPart.cpp) with the very same words.
#pragma once

namespace quillory::cli {

// Keeps main's argv (which lives as long as the process); called once, first thing.
void KeepCommandLine(char** argv);
// The kept argv, ending with a null pointer; null when none was kept.
char** KeptCommandLine();

} // namespace quillory::cli
