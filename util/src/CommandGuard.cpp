#include "ca/util/CommandGuard.h"

#include <exception>

#include "ca/util/Excerpt.h"
#include "ca/util/SystemErrorText.h"

namespace ca {

bool CommandGuard::run(Prompts& prompts, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        prompts.errorBox(excerpt(errorText(e)));
    } catch (...) {
        prompts.errorBox("发生未知错误");
    }
    return false;
}

}  // namespace ca
