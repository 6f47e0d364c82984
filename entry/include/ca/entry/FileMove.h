#pragma once
// Moving an entered spreadsheet into the imported folder.
#include <optional>
#include <string>

namespace ca::entry {

// Moves file (UTF-8 path) into folder under the same name. An existing file of that name in the
// folder is never replaced. Returns nothing on success, else the reason in a few words.
std::optional<std::string> moveFileIntoFolder(const std::string& file, const std::string& folder);

}  // namespace ca::entry
