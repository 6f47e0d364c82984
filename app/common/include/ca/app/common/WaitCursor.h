#pragma once
// The wait cursor over the whole program while a long step runs in a handler, and its lift while a
// message box or dialog waits for the clerk (the box then shows the normal arrow).
#include <QCursor>
#include <vector>

namespace ca::app {

// Shows the wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Takes every override cursor off for as long as it lives and puts them back afterwards.
class CursorLift {
public:
    CursorLift();
    ~CursorLift();
    CursorLift(const CursorLift&) = delete;
    CursorLift& operator=(const CursorLift&) = delete;

private:
    std::vector<QCursor> lifted_;  // innermost first
};

}  // namespace ca::app
