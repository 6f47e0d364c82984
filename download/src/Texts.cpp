#include "ca/download/Texts.h"

#include <stdexcept>

namespace ca::download {

std::optional<int> kindIndexOf(std::string_view kindText) {
    if (kindText == kImportKind) return 0;
    if (kindText == kExportKind) return 1;
    if (kindText == kTransitKind) return 2;
    return std::nullopt;
}

std::string_view kindTextOf(int kindIndex) {
    switch (kindIndex) {
        case 0:
            return kImportKind;
        case 1:
            return kExportKind;
        case 2:
            return kTransitKind;
        default:
            throw std::invalid_argument("报关单类型序号必须是 0、1 或 2");
    }
}

}  // namespace ca::download
