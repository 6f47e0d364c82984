// Subcommands of the automation layer.
#include <iostream>

#include "CliRegistry.h"
#include "ca/automation/sim/ClientFixture.h"

namespace {

// Reads a stand-in client fixture and prints what the stand-in would show, or the reason it is
// refused.
int fixtureCheck(ca::cli::Invocation& in) {
    const auto f = ca::automation::sim::loadFixture(in.argument(0));
    std::cout << "queryDate\t" << f.queryDate << "\nkind\t" << f.kind << "\nrows\t" << f.rows.size() << "\n";
    for (std::size_t r = 0; r < f.rows.size(); ++r) {
        const auto& row = f.rows[r];
        const std::string key = row.size() > 1 ? row[1] : "";
        const bool listed = row.size() > 11 && !row[11].empty();
        std::cout << "row " << r << "\t" << key << (listed ? "" : "\t（第 11 列为空：列表到此结束）");
        auto d = f.declarations.find(key);
        if (d != f.declarations.end()) std::cout << "\t商品行 " << d->second.goods.size();
        std::cout << "\n";
    }
    return 0;
}

const ca::cli::Registrar reg{{"fixture-check",
                              {},
                              {{"FIXTURE.json"}},
                              ca::cli::DatabaseUse::None,
                              "检查模拟海关录入程序的数据文件",
                              fixtureCheck}};

}  // namespace
