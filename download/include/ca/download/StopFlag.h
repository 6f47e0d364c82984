#pragma once
// The Stop request of a running download. The window sets it (its Stop button is handled while the
// download sleeps between messages); the driver looks at it between two rows of the query list.
#include <atomic>

namespace ca::download {

class StopFlag {
public:
    void request() { requested_.store(true); }
    void reset() { requested_.store(false); }
    bool requested() const { return requested_.load(); }

private:
    std::atomic<bool> requested_{false};
};

}  // namespace ca::download
