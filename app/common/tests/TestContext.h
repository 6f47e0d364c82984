#pragma once
// A program context for window tests: scripted prompts, virtual time, a database in memory and a
// recording printer, nobody logged in, on the given settings file.
#include <filesystem>

#include "ca/app/common/AppContext.h"
#include "ca/db/TDM.h"
#include "ca/util/Clock.h"
#include "ca/util/Printer.h"
#include "ca/util/Prompts.h"

namespace ca::app::test {

struct TestContext {
    explicit TestContext(std::filesystem::path configFile = {})
        : ctx(prompts, dm, clock, printer, user, std::move(configFile)) {}

    ScriptedPrompts prompts;
    VirtualClock clock;
    db::TDM dm{":memory:"};
    RecordingPrinter printer;
    users::CurrentUser user;
    AppContext ctx;
};

}  // namespace ca::app::test
