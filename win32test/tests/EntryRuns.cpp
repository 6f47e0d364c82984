#include "EntryRuns.h"

#include "Fixtures.h"
#include "StandinClient.h"
#include "TestEnvironment.h"
#include "ca/automation/Controls.h"
#include "ca/automation/EntryControls.h"
#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/entry/AutomationEntryClient.h"
#include "ca/entry/DeclarationEntry.h"
#include "ca/entry/SimpleEntryHost.h"
#include "ca/entry/WorkbookServer.h"
#include "ca/util/Prompts.h"

namespace ca::win32test {

using namespace ca::automation;
namespace fs = std::filesystem;

std::string utf8(const fs::path& p) {
    std::u8string s = p.u8string();
    return {s.begin(), s.end()};
}

// Every position of every chain of the entry window map, as "CHAIN POS: TEXT".
std::vector<std::string> formTexts(Desktop& desktop) {
    VectorLog ignored;
    auto map = FindEntryControls(desktop, ignored, "Eport.exe", kClasses.container, kClasses.edit);
    std::vector<std::string> texts;
    if (!map) return texts;
    const std::pair<const char*, const Chain*> chains[] = {
        {"HeaderEdits", &map->HeaderEdits}, {"Panel1Edits", &map->Panel1Edits},
        {"Panel3Edits", &map->Panel3Edits}, {"Panel4Edits", &map->Panel4Edits},
        {"GoodsEdits", &map->GoodsEdits},   {"SidePanelEdits", &map->SidePanelEdits},
    };
    for (const auto& [name, chain] : chains)
        for (std::size_t i = 0; i < chain->size(); ++i)
            texts.push_back(std::string(name) + " " + std::to_string(i) + ": " +
                            ControlText(desktop, (*chain)[i]));
    return texts;
}

// Copies the sample sheet into a fresh folder and types it with the given desktop and clock.
EntryOutcome enter(entry::DeclarationKind kind, const fs::path& sample, const std::string& folderName,
                   Desktop& desktop, Clock& clock) {
    fs::path folder = freshFolder(folderName);
    fs::path sheet = folder / "sheet.xls";
    fs::copy_file(sample, sheet);
    fs::create_directories(folder / "imported");

    ScriptedPrompts prompts;
    entry::SimpleEntryHost host(prompts);
    entry::EntrySettings& settings = host.mutableSettings();
    settings.processName = "Eport.exe";
    settings.containerClass = kClasses.container;
    settings.editClass = kClasses.edit;
    settings.importedFolder = utf8(folder / "imported");
    settings.postEntryDelay = "0";
    host.fileSettings = {kEntryFileSettings.begin(), kEntryFileSettings.end()};
    host.setPendingFile(utf8(sheet));

    entry::AutomationEntryClient client(desktop, clock);
    entry::EntryRun run{client, host, clock, entry::WorkbookServer::factory()};
    entry::EnterDeclaration(kind, run);

    EntryOutcome outcome;
    outcome.log = host.lines();
    outcome.form = formTexts(desktop);
    outcome.moved = fs::exists(folder / "imported" / "sheet.xls") && !fs::exists(sheet);
    return outcome;
}

EntryOutcome enterOnSimulatedClient(entry::DeclarationKind kind, const fs::path& sample,
                                    const std::string& name) {
    VirtualClock clock;
    sim::SimDesktop desktop(clock);
    sim::StandInConfig config;
    config.startScreen = sim::Screen::Entry;
    config.formKind = kind == entry::DeclarationKind::Import ? sim::FormKind::Import : sim::FormKind::Export;
    sim::StandInClient client(desktop, config);
    EntryOutcome outcome = enter(kind, sample, name, desktop, clock);
    for (const sim::Confirmation& c : client.confirmations())
        outcome.received.push_back(std::string("confirm ") + areaName(c.field.area) + " " +
                                   std::to_string(c.field.position) + ": " + c.text);
    // The two logs interleave confirmations and goods lines; the order within each kind is compared.
    for (const sim::GoodsLine& line : client.goodsLines())
        outcome.received.push_back(goodsLineText(line));
    return outcome;
}

std::vector<std::string> receivedEntryLines(const StandinProcess& client) {
    std::vector<std::string> received, goods;
    for (const std::string& line : client.received()) {
        if (line.rfind("confirm ", 0) == 0) received.push_back(line);
        if (line.rfind("goods line:", 0) == 0) goods.push_back(line);
    }
    received.insert(received.end(), goods.begin(), goods.end());
    return received;
}

}  // namespace ca::win32test
