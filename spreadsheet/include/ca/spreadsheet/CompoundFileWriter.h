#pragma once
// Writer of a version 3 Compound File (512-byte sectors) holding one stream under the root, the
// container of a .xls workbook. FAT sectors beyond the 109 the header lists go into DIFAT sectors.
#include <string>
#include <string_view>

namespace ca::spreadsheet {

// Returns the container bytes. The stream is padded with zeros to at least 4096 bytes so that it
// never goes into the mini stream.
std::string writeCompoundFile(std::string_view streamName, std::string stream);

}  // namespace ca::spreadsheet
