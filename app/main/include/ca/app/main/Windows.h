#pragma once
// The program's secondary windows, one of each kind. get<W>() creates the window on first use
// without showing it; open<W>() shows and raises it. Each is created once and kept: closing it only
// hides it, and the next open shows the same window with what it held. Windows reach each other
// through here by type: windows.get<TfrmDataDetail>().showDeclaration(...).
//
// A window class W is made with W(AppContext&, Windows&) or, if it reaches no other window,
// W(AppContext&); get<W>(make) and open<W>(make) take a maker for a window that needs more. It
// becomes a top-level window owned by the main window.
#include <QPointer>
#include <QWidget>
#include <map>
#include <type_traits>
#include <typeindex>
#include <utility>

#include "ca/app/common/AppContext.h"

namespace ca::app {

class Windows {
public:
    // owner: the window the others belong to (destroyed with it); may be null in tests.
    Windows(AppContext& ctx, QWidget* owner) : ctx_(ctx), owner_(owner) {}
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    template <class W>
    W& get() {
        return get<W>([this] {
            if constexpr (std::is_constructible_v<W, AppContext&, Windows&>)
                return new W(ctx_, *this);
            else
                return new W(ctx_);
        });
    }

    // For a window made with more than the context: make() returns a new W on first use only.
    template <class W, class Make>
    W& get(Make&& make) {
        static_assert(std::is_base_of_v<QWidget, W>, "a window is a QWidget");
        QPointer<QWidget>& slot = windows_[std::type_index(typeid(W))];
        if (!slot) {
            W* w = make();
            adopt(w);
            slot = w;
        }
        return static_cast<W&>(*slot);
    }

    template <class W>
    W& open() {
        W& w = get<W>();
        show(w);
        return w;
    }

    template <class W, class Make>
    W& open(Make&& make) {
        W& w = get<W>(std::forward<Make>(make));
        show(w);
        return w;
    }

    // The window if it has been created, else nullptr.
    template <class W>
    W* find() const {
        auto it = windows_.find(std::type_index(typeid(W)));
        return it == windows_.end() ? nullptr : static_cast<W*>(it->second.data());
    }

    AppContext& context() const { return ctx_; }

private:
    void adopt(QWidget* w);
    static void show(QWidget& w);

    AppContext& ctx_;
    QPointer<QWidget> owner_;
    std::map<std::type_index, QPointer<QWidget>> windows_;
};

}  // namespace ca::app
