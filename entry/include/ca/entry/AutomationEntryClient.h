#pragma once
// The entry client over the automation layer: the entry window map of the desktop's customs
// client and the text-entry methods.
#include <optional>

#include "ca/automation/Desktop.h"
#include "ca/automation/EntryControls.h"
#include "ca/entry/EntryClient.h"
#include "ca/util/Clock.h"

namespace ca::entry {

class AutomationEntryClient : public EntryClient {
public:
    AutomationEntryClient(automation::Desktop& desktop, Clock& clock) : desktop_(desktop), clock_(clock) {}

    bool findEntryControls(Log& log, const EntrySettings& settings) override;
    void type(Chain chain, int position, const Method& method, const std::string& text) override;

    // The map built by the last successful findEntryControls.
    const std::optional<automation::EntryWindowMap>& map() const { return map_; }
    // The handle of a chain position in that map, 0 when there is none.
    automation::HWnd window(Chain chain, int position) const;

private:
    automation::Desktop& desktop_;
    Clock& clock_;
    std::optional<automation::EntryWindowMap> map_;
};

}  // namespace ca::entry
