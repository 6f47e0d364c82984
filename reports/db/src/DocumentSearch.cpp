#include "ca/reports/DocumentSearch.h"

namespace ca::reports {

void findDocuments(db::TADOQuery& headers, const DocumentFilter& filter) {
    headers.SetSQL(documentStatement(filter));
    headers.Open();
}

void findGoods(db::TADOQuery& goods, std::string_view tyNo) {
    goods.SetSQL(goodsStatement(tyNo));
    goods.Open();
}

}  // namespace ca::reports
