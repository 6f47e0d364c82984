#pragma once
// A virtual clock, a simulated desktop and a log, shared by the automation tests.
#include <memory>

#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/util/Clock.h"
#include "ca/util/Log.h"

namespace ca::automation::testing {

struct Desk {
    VirtualClock clock;
    sim::SimDesktop desktop{clock};
    VectorLog log;

    std::unique_ptr<sim::StandInClient> client(sim::StandInConfig config = {},
                                               sim::ClientFixture fixture = {}) {
        return std::make_unique<sim::StandInClient>(desktop, std::move(config), std::move(fixture));
    }
};

inline sim::StandInConfig entryConfig(sim::FormKind kind = sim::FormKind::Import) {
    sim::StandInConfig config;
    config.startScreen = sim::Screen::Entry;
    config.formKind = kind;
    return config;
}

}  // namespace ca::automation::testing
