#include "ca/app/common/AppContext.h"

#include <stdexcept>

namespace ca::app {

users::CurrentUser& AppContext::currentUser() const {
    if (!user_) throw std::logic_error("the current user has not been set on the program context");
    return *user_;
}

}  // namespace ca::app
