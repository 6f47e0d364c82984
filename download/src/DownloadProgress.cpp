#include "ca/download/DownloadProgress.h"

namespace ca::download {

std::string DownloadProgress::text() const {
    return "第 " + std::to_string(row) + " 行  报关单 " + std::to_string(declarations) + "  商品 " +
           std::to_string(goodsLines);
}

}  // namespace ca::download
