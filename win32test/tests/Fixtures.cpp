#include "Fixtures.h"

namespace ca::win32test {

std::string entryFixture(const std::string& formKind) {
    return R"({"client": {"screen": "entry", "formKind": ")" + formKind + R"("}})";
}

std::string queryListFixture() {
    std::string longCell(300, 'x');
    return R"({
  "queryDate": "20240115",
  "kind": "进口报关单",
  "rows": [
    ["220120241000000001", "TY0001", "上海经营单位甲", "BL001", "20240110", "一般贸易", "2", "船名", "", "", "申报单位", "1", "吴淞海关"],
    {"1": "TY0002", "2": ")" +
           longCell + R"(", "11": "1"},
    {"1": "TY0003", "5": "进料加工", "11": "1"},
    {"1": "TY0004", "11": "1"},
    {"1": "TY0005", "11": "1"}
  ]
})";
}

}  // namespace ca::win32test
