#pragma once
// The one error type of the spreadsheet layer. Its message is one line naming the file and the reason,
// for example "无法读取“c:\in\a.xls”：不是电子表格文件".
#include <stdexcept>
#include <string>

namespace ca {

class SpreadsheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // "<action>“<file>”：<reason>"
    static SpreadsheetError about(const std::string& action, const std::string& file,
                                  const std::string& reason) {
        return SpreadsheetError(action + "“" + file + "”：" + reason);
    }
};

// Raised by the format decoders, which do not know the file name; the layer's entry points turn it
// into a SpreadsheetError that names the file.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace ca
