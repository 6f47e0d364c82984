#pragma once
// Runs the entry procedures against the stand-in client on virtual time, with a sheet held in
// memory (or a real workbook file), temporary unimported and imported folders and a scripted
// host.
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/entry/AutomationEntryClient.h"
#include "ca/entry/DeclarationEntry.h"
#include "ca/entry/SimpleEntryHost.h"
#include "ca/util/CommandGuard.h"
#include "ca/util/Folders.h"
#include "ca/util/Prompts.h"

namespace ca::entry::testing {

namespace sim = ca::automation::sim;

// Serves a sheet held in memory; counts quits and can refuse to open.
class MapServer : public SpreadsheetServer {
public:
    MapServer(const MapCellSource& sheet, int& quits, bool failOpen)
        : sheet_(sheet), quits_(quits), failOpen_(failOpen) {}
    void open(const std::string& path) override {
        if (failOpen_) throw std::runtime_error("cannot read '" + path + "': not a spreadsheet file");
        opened_ = true;
    }
    std::string cell(int row, int col) override {
        if (!opened_) throw std::runtime_error("no workbook is open");
        return sheet_.cell(row, col);
    }
    void quit() override { ++quits_; }

private:
    MapCellSource sheet_;
    int& quits_;
    bool failOpen_;
    bool opened_ = false;
};

inline sim::Area areaOf(Chain chain) {
    switch (chain) {
        case Chain::SidePanelEdits:
            return sim::Area::Side;
        case Chain::HeaderEdits:
            return sim::Area::Header;
        case Chain::Panel1Edits:
            return sim::Area::Panel1;
        case Chain::Panel3Edits:
            return sim::Area::Panel3;
        case Chain::Panel4Edits:
            return sim::Area::Panel4;
        case Chain::GoodsEdits:
            return sim::Area::Goods;
    }
    return sim::Area::Header;
}

class EntryHarness {
public:
    explicit EntryHarness(DeclarationKind kind, bool clientRunning = true) : kind_(kind) {
        static std::mt19937_64 random{std::random_device{}()};
        root_ = std::filesystem::temp_directory_path() / ("ca-entry-" + std::to_string(random()));
        std::filesystem::create_directories(root_ / "unimported");
        std::filesystem::create_directories(root_ / "imported");
        file = (root_ / "unimported" / "decl.xls").string();
        std::ofstream(file) << "declaration";

        sim::StandInConfig config;
        config.startScreen = sim::Screen::Entry;
        config.formKind = kind == DeclarationKind::Import ? sim::FormKind::Import : sim::FormKind::Export;
        if (clientRunning) client.emplace(desktop, config);

        EntrySettings& s = host.mutableSettings();
        s.processName = config.processName;
        s.containerClass = config.classes.container;
        s.editClass = config.classes.edit;
        s.importedFolder = (root_ / "imported").string();
        s.postEntryDelay = "400";
        host.fileSettings = {{"申报单位", "3302980001"}, {"报关单类型", "0"}, {"商品征免", "照章征税"}};
        host.setPendingFile(file);
        factory = [this] { return std::make_unique<MapServer>(sheet, quits, failOpen); };
    }
    ~EntryHarness() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    // Runs the entry inside the command guard, as the main window does. False: it ended by an error.
    bool run() {
        EntryRun r{entryClient, host, clock, factory};
        return CommandGuard::run(prompts, [&] { EnterDeclaration(kind_, r); });
    }

    std::filesystem::path imported(const std::string& name = "decl.xls") const {
        return root_ / "imported" / ca::pathFromUtf8(name);
    }
    const std::filesystem::path& root() const { return root_; }

    // What the stand-in holds in a field, and whether anything was set or pasted into it.
    std::string field(Chain chain, int pos) const { return client->fieldText({areaOf(chain), pos}); }
    std::vector<std::string> writesTo(Chain chain, int pos) const {
        std::vector<std::string> texts;
        for (const auto& e : client->events())
            if ((e.type == sim::ClientEvent::Type::Set || e.type == sim::ClientEvent::Type::Paste) &&
                e.field == sim::FieldRef{areaOf(chain), pos})
                texts.push_back(e.text);
        return texts;
    }
    bool written(Chain chain, int pos) const { return !writesTo(chain, pos).empty(); }
    bool confirmed(Chain chain, int pos) const {
        for (const auto& c : client->confirmations())
            if (c.field == sim::FieldRef{areaOf(chain), pos}) return true;
        return false;
    }

    struct Recorded {
        std::string chain;
        int position;
        std::string text;
    };
    // Every set or paste the stand-in saw, in order.
    std::vector<Recorded> recordedWrites() const {
        static const std::pair<sim::Area, const char*> names[] = {
            {sim::Area::Side, "SidePanelEdits"}, {sim::Area::Header, "HeaderEdits"},
            {sim::Area::Panel1, "Panel1Edits"},  {sim::Area::Panel3, "Panel3Edits"},
            {sim::Area::Panel4, "Panel4Edits"},  {sim::Area::Goods, "GoodsEdits"},
            {sim::Area::Operator, "Operator"}};
        std::vector<Recorded> lines;
        for (const auto& e : client->events()) {
            if (e.type != sim::ClientEvent::Type::Set && e.type != sim::ClientEvent::Type::Paste) continue;
            std::string area;
            for (const auto& [a, n] : names)
                if (a == e.field.area) area = n;
            lines.push_back({area, e.field.position, e.text});
        }
        return lines;
    }

    VirtualClock clock;
    sim::SimDesktop desktop{clock};
    std::optional<sim::StandInClient> client;
    ScriptedPrompts prompts;
    SimpleEntryHost host{prompts};
    AutomationEntryClient entryClient{desktop, clock};
    MapCellSource sheet;
    SpreadsheetServerFactory factory;
    int quits = 0;
    bool failOpen = false;
    std::string file;

private:
    DeclarationKind kind_;
    std::filesystem::path root_;
};

// A declaration sheet with every cell the entries read filled with its own address ("r,c"),
// list section A and B in rows 3 and 4, goods lines in rows 7 and 8 and the totals in row 9.
// (3,14) is empty: no referenced declaration.
inline MapCellSource addressSheet() {
    MapCellSource s;
    auto fill = [&s](int r, int c) { s.set(r, c, std::to_string(r) + "," + std::to_string(c)); };
    for (int r = 1; r <= 5; ++r)
        for (int c : {2, 5, 8, 11, 14, 17})
            fill(r, c);
    s.set(3, 14, "");
    for (int r = 3; r <= 4; ++r)
        for (int c = 19; c <= 23; ++c)
            fill(r, c);
    for (int r = 7; r <= 8; ++r) {
        for (int c = 1; c <= 14; ++c)
            fill(r, c);
        s.set(r, 5, "847130009" + std::to_string(r));
    }
    s.set(9, 14, "USD12345.00");
    for (int c = 15; c <= 17; ++c)
        fill(9, c);
    return s;
}

}  // namespace ca::entry::testing
