#pragma once
// A query list of general-trade import declarations for the stand-in client, every one with its
// form and goods lines: what the download benchmarks read. keyPrefix starts every unified number
// (two desks downloading different lists use different prefixes).
#include <string>

#include "ca/automation/sim/StandInClient.h"

namespace ca::bench {

inline automation::sim::ClientFixture generalTrade(int declarations, int goodsLines,
                                                   const std::string& keyPrefix = "2200202411") {
    namespace sim = automation::sim;
    sim::ClientFixture f;
    f.queryDate = "20240315";
    f.kind = "进口报关单";
    for (int n = 0; n < declarations; ++n) {
        const std::string key = keyPrefix + std::to_string(100000000 + n).substr(1);
        f.rows.push_back({"HG" + key, key, "上海华东机电进出口有限公司", "BL" + key, "20240310", "一般贸易",
                          std::to_string(goodsLines), "COSCO TAURUS", "", "", "上海东方报关有限公司", "1",
                          "吴淞海关"});
        sim::DeclarationFixture d;
        for (int p = 0; p < 82; ++p)
            d.header[p] = "表头字段" + std::to_string(p);
        d.header[79] = key;
        d.header[67] = "20240310";
        d.header[65] = "20240311";
        d.operatorTexts[0] = "021-68880000";
        d.operatorTexts[2] = "张伟";
        for (int i = 0; i < goodsLines; ++i) {
            sim::GoodsLineFixture g;
            for (int p = 0; p < 101; ++p)
                g.texts[p] = "商品字段" + std::to_string(p);
            g.texts[0] = "84713000";
            g.texts[1] = "笔记本电脑";
            g.texts[24] = "1234.50";
            g.texts[40] = std::to_string(i + 1);
            d.goods.push_back(std::move(g));
        }
        f.declarations[key] = std::move(d);
    }
    return f;
}

}  // namespace ca::bench
