#pragma once
// Declarations as the download stores them (header with its two fee rows, 5 goods lines), for the
// benchmarks that time storing: ServerBench.cpp and StoreTimes.cpp.
#include <string>
#include <vector>

#include "../download/GeneralTrade.h"
#include "ca/download/DatabaseCapture.h"

namespace ca::bench {

struct Declaration {
    download::HeaderTexts header;
    download::OperatorTexts operators;
    std::vector<download::GoodsTexts> goods;
};

// The texts of the declarations the download reads from the stand-in, keys from `prefix`.
inline std::vector<Declaration> declarations(int count, const std::string& prefix) {
    const auto fixture = generalTrade(count, 5, prefix);
    std::vector<Declaration> out;
    for (const auto& row : fixture.rows) {
        const auto& d = fixture.declarations.at(row[1]);
        Declaration decl;
        for (const auto& [pos, text] : d.header)
            decl.header[static_cast<size_t>(pos)] = text;
        for (const auto& [pos, text] : d.operatorTexts)
            decl.operators[static_cast<size_t>(pos)] = text;
        for (const auto& g : d.goods) {
            download::GoodsTexts t;
            for (const auto& [pos, text] : g.texts)
                t[static_cast<size_t>(pos)] = text;
            decl.goods.push_back(t);
        }
        out.push_back(std::move(decl));
    }
    return out;
}

inline void store(download::DatabaseCapture& capture, const Declaration& d) {
    capture.insertDataLoad(d.header, "2024-03-15", d.goods.front()[1], "进口报关单", d.operators,
                           static_cast<std::int32_t>(d.goods.size()));
    for (const auto& g : d.goods)
        capture.insertSubdata(g, d.header, 0);
}

}  // namespace ca::bench
