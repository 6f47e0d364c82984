#include "ca/app/common/Guarded.h"

#include "ca/util/CommandGuard.h"
#include "ca/util/MessageBoxes.h"

namespace ca::app {

bool guarded(AppContext& ctx, const std::function<void()>& handler) {
    return CommandGuard::run(ctx.prompts(), handler);
}

bool guardedWrite(AppContext& ctx, const std::function<void()>& handler) {
    if (ctx.busy().busy()) {
        warningBox(ctx.prompts(), kBusyRefusal);
        return false;
    }
    return guarded(ctx, handler);
}

}  // namespace ca::app
