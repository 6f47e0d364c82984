#pragma once
// A download against the stand-in customs client on virtual time: the desktop, the client loaded
// from a fixture built in code, the log and the prompts, and builders for query rows and
// declarations.
#include <string>
#include <vector>

#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/download/DownloadDriver.h"
#include "ca/util/Clock.h"
#include "ca/util/Log.h"
#include "ca/util/Prompts.h"

namespace ca::download::testing {

namespace sim = ca::automation::sim;

inline constexpr const char* kGeneral = "一般贸易";
inline constexpr const char* kProcessing = "进料加工";

// One query-list row (columns 0 to 12); column 11 is the presence mark.
inline std::vector<std::string> listRow(const std::string& key, const std::string& mode,
                                        const std::string& count, const std::string& mark = "1") {
    return {"HG" + key, key,  "经营" + key, "TD" + key,   "20240110", mode,        count,
            "船" + key, "x8", "x9",         "申报" + key, mark,       "口岸" + key};
}

// A declaration form: every header position holds "H<pos>" except the key and the dates; goods
// line i shows "SP<i>" at position 0, "商品<i>" at 1 and its sequence number where the layout keeps it.
inline sim::DeclarationFixture declaration(int kindIndex, const std::string& key, int goodsLines) {
    sim::DeclarationFixture d;
    const bool imp = kindIndex == 0;
    for (int p = 0; p < 82; ++p)
        d.header[p] = "H" + std::to_string(p);
    d.header[imp ? 79 : 78] = key;
    d.header[imp ? 67 : 66] = "20240110";
    d.header[imp ? 65 : 64] = "20240111";
    d.operatorTexts[0] = "021-5555";
    d.operatorTexts[2] = "王五";
    for (int i = 0; i < goodsLines; ++i) {
        sim::GoodsLineFixture g;
        for (int p = 0; p < 101; ++p)
            g.texts[p] = "G" + std::to_string(i) + "." + std::to_string(p);
        g.texts[0] = "SP" + std::to_string(i);
        g.texts[1] = "商品" + std::to_string(i);
        g.texts[imp ? 40 : 42] = std::to_string(i + 1);
        g.texts[imp ? 24 : 26] = "100.5";
        d.goods.push_back(std::move(g));
    }
    return d;
}

struct Rig {
    explicit Rig(sim::ClientFixture fixture, sim::StandInConfig cfg = {})
        : config(std::move(cfg)), client(desktop, config, std::move(fixture)) {}

    DownloadSettings settings() const {
        const auto& c = config.classes;
        return {c.container, c.edit, c.list, c.button, c.combo, 300, 160};
    }

    VirtualClock clock;
    sim::SimDesktop desktop{clock};
    sim::StandInConfig config;
    sim::StandInClient client;
    VectorLog log;
    ScriptedPrompts prompts;
};

inline sim::ClientFixture fixture(const std::string& kind, std::vector<std::vector<std::string>> rows,
                                  const std::string& queryDate = "20240115") {
    sim::ClientFixture f;
    f.queryDate = queryDate;
    f.kind = kind;
    f.rows = std::move(rows);
    return f;
}

}  // namespace ca::download::testing
