#pragma once
// The user the program runs for: a name and a category (codes of employee.E_isSup). Nothing sets
// them unless the optional log-in is switched on, so by default the name stays empty and the
// category 0 for the whole run. One instance lives as long as the program; windows and the fee
// procedures hold it by reference and read it when they need it.
#include <string>
#include <utility>

namespace ca::users {

class CurrentUser {
public:
    const std::string& CurrentUserName() const { return name_; }
    int CurrentUserCategory() const { return category_; }
    // True after a successful log-in.
    bool loggedIn() const { return loggedIn_; }

    void logIn(std::string name, int category) {
        name_ = std::move(name);
        category_ = category;
        loggedIn_ = true;
    }

private:
    std::string name_;
    int category_ = 0;
    bool loggedIn_ = false;
};

}  // namespace ca::users
