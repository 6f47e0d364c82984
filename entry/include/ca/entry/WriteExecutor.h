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

// Types every write; a write that names a setting reads it from the settings file just before it is
// typed, so "商品征免" is read once per goods line.
void typeWrites(const std::vector<Write>& writes, EntryClient& client, EntryHost& host);

}  // namespace ca::entry
