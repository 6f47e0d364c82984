#pragma once
// The program's secondary windows, one of each kind. get<W>() creates the window on first use
// without showing it; open<W>() shows and raises it. Each is created once and kept: closing it only
// hides it, and the next open shows the same window with what it held.
//
// A window reaches another through here, never through the other's class: it names a role from
// WindowRoles.h (windows.get<DeclarationDetails>().showDeclaration(...)), and the program's window
// table says which window plays it (provide<DeclarationDetails, TfrmDataDetail>()). So a feature
// folder includes no other feature folder, and every window, whoever opens it, is the same one.
//
// A window class W is made with W(AppContext&, Windows&) or, if it reaches no other window,
// W(AppContext&); get<W>(make) and open<W>(make) take a maker for a window that needs more. It
// becomes a top-level window owned by the main window.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <stdexcept>
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

    // The window W, or for a role the window that plays it.
    template <class W>
    W& get() {
        if constexpr (std::is_abstract_v<W>) {
            auto it = roles_.find(std::type_index(typeid(W)));
            if (it == roles_.end()) throw std::logic_error("没有登记这个窗口");
            return *static_cast<W*>(it->second());
        } else {
            return get<W>([this] {
                if constexpr (std::is_constructible_v<W, AppContext&, Windows&>)
                    return new W(ctx_, *this);
                else
                    return new W(ctx_);
            });
        }
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

    // Window W plays role Role: get<Role>() is get<W>(), the same window.
    template <class Role, class W>
    void provide() {
        static_assert(std::is_base_of_v<Role, W>, "the window implements the role");
        roles_[std::type_index(typeid(Role))] = [this]() -> void* { return static_cast<Role*>(&get<W>()); };
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
    std::map<std::type_index, std::function<void*()>> roles_;
};

}  // namespace ca::app
