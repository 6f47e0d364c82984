#pragma once
// Files named on the command line, checked before use so that the message names the real problem
// (a folder given for a file, a file that does not exist) and the path.
#include <string>

namespace ca::cli {

// Throws std::runtime_error when path is a folder: "<what>“<path>”是一个文件夹，不是文件".
void refuseFolder(const std::string& path, const std::string& what);

// As refuseFolder, and also when nothing exists at path: "<what>“<path>”不存在".
void requireInputFile(const std::string& path, const std::string& what);

}  // namespace ca::cli
