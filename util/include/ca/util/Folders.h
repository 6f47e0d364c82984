#pragma once
// Folders as the main window's file lists see them, and paths carried as UTF-8 text.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ca {

// UTF-8 text <-> file system path, on every platform.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string pathToUtf8(const std::filesystem::path& path);

// The names of the files in a folder, sorted by name without regard to ASCII case. Subfolders,
// hidden and system files are left out. A folder that cannot be read gives an empty list.
std::vector<std::string> listFolderFiles(const std::filesystem::path& folder);

// Makes the folder the process's current directory. Throws std::runtime_error naming the folder when
// it does not exist or cannot be entered.
void enterFolder(const std::filesystem::path& folder);

}  // namespace ca
