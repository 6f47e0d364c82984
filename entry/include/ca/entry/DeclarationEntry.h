#pragma once
// The two entry commands: one declaration spreadsheet typed into the client's open import or
// export declaration form, then moved into the imported folder.
#include "ca/entry/EntryClient.h"
#include "ca/entry/EntryHost.h"
#include "ca/entry/SpreadsheetServer.h"
#include "ca/entry/WriteListBuilder.h"
#include "ca/util/Clock.h"

namespace ca::entry {

struct EntryRun {
    EntryClient& client;
    EntryHost& host;
    Clock& clock;
    SpreadsheetServerFactory startServer;
};

// Both run to their end. Errors of the spreadsheet server and a post-entry delay that is not an
// integer (ConversionError) propagate to the caller's command guard after the server has quit;
// PendingFile then stays set and the file stays where it is.
void EnterImportDeclaration(EntryRun& run);
void EnterExportDeclaration(EntryRun& run);
void EnterDeclaration(DeclarationKind kind, EntryRun& run);

}  // namespace ca::entry
