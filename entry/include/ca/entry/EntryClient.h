#pragma once
// The customs client as an entry drives it: finding the client and its entry window map, and
// typing one text into the field at a chain position with a text-entry method.
#include <string>

#include "ca/entry/EntryHost.h"
#include "ca/entry/Write.h"

namespace ca::entry {

class EntryClient {
public:
    virtual ~EntryClient() = default;
    // Finds the client and builds the entry window map, logging as it goes. False: not found.
    virtual bool findEntryControls(Log& log, const EntrySettings& settings) = 0;
    // Types text into the field at (chain, position) of the map built last.
    virtual void type(Chain chain, int position, const Method& method, const std::string& text) = 0;
};

}  // namespace ca::entry
