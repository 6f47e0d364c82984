#pragma once
// One entry of a sample sheet, typed into a client on a given desktop, and what came of it; the
// simulated stand-in's record is what the Win32 runs (the driver's own and the command-line
// tool's) are compared with.
#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "StandinProcess.h"
#include "ca/automation/Desktop.h"
#include "ca/entry/WriteListBuilder.h"
#include "ca/util/Clock.h"

namespace ca::win32test {

struct EntryOutcome {
    std::vector<std::string> log;       // the program's log lines
    std::vector<std::string> received;  // the client's confirmations and finished goods lines
    std::vector<std::string> form;      // every field of the entry window map afterwards
    bool moved = false;                 // the sheet went into the imported folder
};

// The values of the settings file that an entry reads while it runs.
inline const std::array<std::pair<std::string, std::string>, 3> kEntryFileSettings{{
    {"申报单位", "上海某某报关行"},
    {"报关单类型", "0"},
    {"商品征免", "照章征税"},
}};

std::string utf8(const std::filesystem::path& p);

// Every position of every chain of the entry window map, as "CHAIN POS: TEXT".
std::vector<std::string> formTexts(automation::Desktop& desktop);

// Copies the sample sheet into a fresh folder and types it with the given desktop and clock.
EntryOutcome enter(entry::DeclarationKind kind, const std::filesystem::path& sample,
                   const std::string& folderName, automation::Desktop& desktop, Clock& clock);

// The same entry into the simulated stand-in, with what that client records.
EntryOutcome enterOnSimulatedClient(entry::DeclarationKind kind, const std::filesystem::path& sample,
                                    const std::string& name);

// What the Win32 stand-in received during an entry, in the order enterOnSimulatedClient gives it:
// the confirmations, then the finished goods lines.
std::vector<std::string> receivedEntryLines(const StandinProcess& client);

}  // namespace ca::win32test
