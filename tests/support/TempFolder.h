// A fresh temporary folder for one test, removed with its contents afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }
    // The folder as the program names folders: with a trailing '/'.
    std::string withSlash() const { return path_.string() + "/"; }
    std::filesystem::path write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;

private:
    std::filesystem::path path_;
};
