#pragma once
// How a window connects its controls to its handlers. Write it once per control, in the constructor:
//
//   onClick(Button2, this, &TfrmConfig::Button2Click, ctx_);      // writes: refused while busy
//   onReadClick(Button3, this, &TfrmConfig::Button3Click, ctx_);  // only reads: runs while busy too
//   onTriggered(N4, this, &TfrmX::N4Click, ctx_);                 // menu items and pop-up items
//   onReadTriggered(N5, this, &TfrmX::N5Click, ctx_);
//   guarded(ctx_, [this] { FormShow(); });                        // showEvent and other events
//
// Every handler runs inside CommandGuard::run: an error it does not handle shows the error box and
// the program runs on. A command that writes (config.ini, the database, a file the entry or download
// reads) is what onClick/onTriggered connect, and it must not run while an entry or a download runs
// (ctx.busy()): its control is disabled then, with the reason as its tool tip, and comes back when
// the run ends. Should its signal arrive anyway, the command is refused with the reason in a warning
// box. Use the Read variants only for commands that change nothing the run reads (queries, closing
// a window, showing details).
#include <QAbstractButton>
#include <QAction>
#include <functional>

#include "ca/app/common/AppContext.h"

namespace ca::app {

// Runs the handler inside the command guard. False when it ended with an error (already shown).
bool guarded(AppContext& ctx, const std::function<void()>& handler);
// The same for a command that writes: while busy it does not run, and the clerk is told why.
bool guardedWrite(AppContext& ctx, const std::function<void()>& handler);

template <class W>
void onClick(QAbstractButton* button, W* self, void (W::*handler)(), AppContext& ctx) {
    ctx.busy().addWriteControl(button);
    QObject::connect(button, &QAbstractButton::clicked, self,
                     [self, handler, &ctx] { guardedWrite(ctx, [self, handler] { (self->*handler)(); }); });
}

template <class W>
void onReadClick(QAbstractButton* button, W* self, void (W::*handler)(), AppContext& ctx) {
    QObject::connect(button, &QAbstractButton::clicked, self,
                     [self, handler, &ctx] { guarded(ctx, [self, handler] { (self->*handler)(); }); });
}

template <class W>
void onTriggered(QAction* action, W* self, void (W::*handler)(), AppContext& ctx) {
    ctx.busy().addWriteControl(action);
    QObject::connect(action, &QAction::triggered, self,
                     [self, handler, &ctx] { guardedWrite(ctx, [self, handler] { (self->*handler)(); }); });
}

template <class W>
void onReadTriggered(QAction* action, W* self, void (W::*handler)(), AppContext& ctx) {
    QObject::connect(action, &QAction::triggered, self,
                     [self, handler, &ctx] { guarded(ctx, [self, handler] { (self->*handler)(); }); });
}

}  // namespace ca::app
