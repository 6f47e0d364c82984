#include "ca/automation/sim/ClientFixture.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace ca::automation::sim {

namespace {

using nlohmann::json;

std::string textOf(const json& value, const std::string& where) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number_integer()) return std::to_string(value.get<long long>());
    if (value.is_null()) return {};
    throw FixtureError(where + "：应为文本");
}

int positionOf(const std::string& key, const std::string& where) {
    std::size_t used = 0;
    int position = -1;
    try {
        position = std::stoi(key, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != key.size() || position < 0 || position > 1000) {
        throw FixtureError(where + "：“" + key + "”不是位置序号");
    }
    return position;
}

// Texts by position: an object keyed by position or an array by index.
std::map<int, std::string> positioned(const json& value, const std::string& where) {
    std::map<int, std::string> out;
    if (value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            out[static_cast<int>(i)] = textOf(value[i], where + "[" + std::to_string(i) + "]");
        }
    } else if (value.is_object()) {
        for (const auto& [key, text] : value.items())
            out[positionOf(key, where)] = textOf(text, where + "." + key);
    } else if (!value.is_null()) {
        throw FixtureError(where + "：应为对象或数组");
    }
    return out;
}

std::vector<std::string> cells(const json& value, const std::string& where) {
    std::vector<std::string> out;
    for (const auto& [position, text] : positioned(value, where)) {
        if (out.size() <= static_cast<std::size_t>(position))
            out.resize(static_cast<std::size_t>(position) + 1);
        out[static_cast<std::size_t>(position)] = text;
    }
    return out;
}

const json& member(const json& object, const char* name) {
    static const json none;
    auto it = object.find(name);
    return it == object.end() ? none : *it;
}

}  // namespace

void ClientFixture::applyTo(StandInConfig& config) const {
    if (processName) config.processName = *processName;
    if (screen) config.startScreen = *screen;
    if (formKind) config.formKind = *formKind;
}

ClientFixture parseFixture(std::string_view text) {
    json root;
    try {
        root = json::parse(text.begin(), text.end());
    } catch (const json::parse_error& e) {
        throw FixtureError("不是有效的 JSON：第 " + std::to_string(e.byte) + " 个字节处有错误");
    }
    if (!root.is_object()) throw FixtureError("数据文件必须是一个 JSON 对象");

    ClientFixture f;
    f.queryDate = textOf(member(root, "queryDate"), "queryDate");
    f.kind = textOf(member(root, "kind"), "kind");

    const json& client = member(root, "client");
    if (client.is_object()) {
        if (client.contains("processName"))
            f.processName = textOf(client["processName"], "client.processName");
        if (client.contains("screen")) {
            const std::string s = textOf(client["screen"], "client.screen");
            if (s == "query") {
                f.screen = Screen::Query;
            } else if (s == "entry") {
                f.screen = Screen::Entry;
            } else {
                throw FixtureError("client.screen：“" + s + "”既不是 \"query\" 也不是 \"entry\"");
            }
        }
        if (client.contains("formKind")) {
            const std::string k = textOf(client["formKind"], "client.formKind");
            if (k == "import") {
                f.formKind = FormKind::Import;
            } else if (k == "export") {
                f.formKind = FormKind::Export;
            } else {
                throw FixtureError("client.formKind：“" + k + "”既不是 \"import\" 也不是 \"export\"");
            }
        }
    } else if (!client.is_null()) {
        throw FixtureError("client：应为对象");
    }

    const json& rows = member(root, "rows");
    if (!rows.is_null() && !rows.is_array()) throw FixtureError("rows：应为数组");
    for (std::size_t i = 0; i < rows.size(); ++i)
        f.rows.push_back(cells(rows[i], "rows[" + std::to_string(i) + "]"));

    const json& declarations = member(root, "declarations");
    if (!declarations.is_null() && !declarations.is_object()) {
        throw FixtureError("declarations：应为以统一编号为键的对象");
    }
    for (const auto& [key, d] : declarations.items()) {
        const std::string where = "declarations." + key;
        if (!d.is_object()) throw FixtureError(where + "：应为对象");
        DeclarationFixture decl;
        decl.header = positioned(member(d, "header"), where + ".header");
        decl.operatorTexts = positioned(member(d, "operator"), where + ".operator");
        const json& goods = member(d, "goods");
        if (!goods.is_null() && !goods.is_array()) throw FixtureError(where + ".goods：应为数组");
        for (std::size_t i = 0; i < goods.size(); ++i) {
            const std::string gw = where + ".goods[" + std::to_string(i) + "]";
            if (!goods[i].is_object()) throw FixtureError(gw + "：应为对象");
            GoodsLineFixture line;
            line.texts = positioned(member(goods[i], "texts"), gw + ".texts");
            line.listCells = cells(member(goods[i], "list"), gw + ".list");
            decl.goods.push_back(std::move(line));
        }
        f.declarations[key] = std::move(decl);
    }
    return f;
}

ClientFixture loadFixture(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw FixtureError("无法读取模拟客户端数据文件“" + file.string() + "”");
    std::ostringstream content;
    content << in.rdbuf();
    try {
        return parseFixture(content.str());
    } catch (const FixtureError& e) {
        throw FixtureError("模拟客户端数据文件“" + file.string() + "”有错误：" + e.what());
    }
}

}  // namespace ca::automation::sim
