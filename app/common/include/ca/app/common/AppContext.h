#pragma once
// What every window works with, created once by main() and handed to each window: the prompts, the
// database, the clock, the printer, the current user, the settings file and the busy state. No
// window reaches these through globals.
#include <filesystem>

#include "ca/app/common/BusyState.h"
#include "ca/users/CurrentUser.h"
#include "ca/util/Clock.h"
#include "ca/util/Printer.h"
#include "ca/util/Prompts.h"

namespace ca::db {
class TDM;
}

namespace ca::app {

class AppContext {
public:
    // Everything given must live as long as the context.
    AppContext(Prompts& prompts, db::TDM& dm, Clock& clock, Printer& printer, users::CurrentUser& user,
               std::filesystem::path configFile)
        : prompts_(prompts),
          dm_(dm),
          clock_(clock),
          printer_(printer),
          user_(user),
          configFile_(std::move(configFile)) {}
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Prompts& prompts() const { return prompts_; }
    db::TDM& dm() const { return dm_; }
    Clock& clock() const { return clock_; }
    Printer& printer() const { return printer_; }
    // The user the program runs for; windows read it when they need it.
    users::CurrentUser& currentUser() const { return user_; }
    // The settings file, config.ini next to the executable.
    const std::filesystem::path& configFile() const { return configFile_; }
    BusyState& busy() { return busy_; }

private:
    Prompts& prompts_;
    db::TDM& dm_;
    Clock& clock_;
    Printer& printer_;
    users::CurrentUser& user_;
    std::filesystem::path configFile_;
    BusyState busy_;
};

}  // namespace ca::app
