#pragma once
// What every window works with, created once by main() and handed to each window: the prompts, the
// database, the clock, the printer, the settings file, the current user and the busy state. No
// window reaches these through globals.
#include <filesystem>

#include "ca/app/common/BusyState.h"
#include "ca/util/Clock.h"
#include "ca/util/Printer.h"
#include "ca/util/Prompts.h"

namespace ca::db {
class TDM;
}
namespace ca::users {
class CurrentUser;
}

namespace ca::app {

class AppContext {
public:
    // Everything given must live as long as the context.
    AppContext(Prompts& prompts, db::TDM& dm, Clock& clock, Printer& printer,
               std::filesystem::path configFile)
        : prompts_(prompts), dm_(dm), clock_(clock), printer_(printer), configFile_(std::move(configFile)) {}
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Prompts& prompts() const { return prompts_; }
    db::TDM& dm() const { return dm_; }
    Clock& clock() const { return clock_; }
    Printer& printer() const { return printer_; }
    // The settings file, config.ini next to the executable.
    const std::filesystem::path& configFile() const { return configFile_; }
    BusyState& busy() { return busy_; }

    // The user the program runs for, set by main() before the first window opens; a window that
    // reads it before then gets std::logic_error.
    void setCurrentUser(users::CurrentUser& user) { user_ = &user; }
    users::CurrentUser& currentUser() const;

private:
    Prompts& prompts_;
    db::TDM& dm_;
    Clock& clock_;
    Printer& printer_;
    std::filesystem::path configFile_;
    BusyState busy_;
    users::CurrentUser* user_ = nullptr;
};

}  // namespace ca::app
