#pragma once
// Types a write list into the client, in order, and keeps the host's progress figure current.
#include <functional>
#include <string>
#include <vector>

#include "ca/entry/EntryClient.h"
#include "ca/entry/EntryHost.h"
#include "ca/entry/Write.h"

namespace ca::entry {

using SettingReader = std::function<std::string(const std::string& key)>;

// The text a write types: its own text, or the setting it names as the reader gives it now.
std::string textOf(const Write& write, const SettingReader& readSetting);

// Types every write. The settings the writes name are read from the settings file once, before the
// first write: a change in the settings window takes effect at the next entry.
void typeWrites(const std::vector<Write>& writes, EntryClient& client, EntryHost& host);

}  // namespace ca::entry
