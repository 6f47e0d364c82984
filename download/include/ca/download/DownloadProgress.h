#pragma once
// Where a running download is: the query-list row being handled and what has been stored so far.
#include <string>

namespace ca::download {

struct DownloadProgress {
    int row = 0;           // 1-based row of the query list being handled, 0 before the first
    int declarations = 0;  // declaration headers stored (full and list-only)
    int goodsLines = 0;    // goods lines stored

    // "第 3 行  报关单 2  商品 10"
    std::string text() const;
    bool operator==(const DownloadProgress&) const = default;
};

}  // namespace ca::download
