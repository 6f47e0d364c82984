#include "ca/app/common/KeyActions.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <functional>

namespace ca::app {

namespace {

bool isEnter(const QKeyEvent* e) {
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
           (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool isEscape(const QKeyEvent* e) {
    return e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier;
}

// Calls `onKey` for each key press on the widget it watches; true consumes the key.
class KeyFilter : public QObject {
public:
    KeyFilter(QObject* parent, std::function<bool(QObject*, QKeyEvent*)> onKey)
        : QObject(parent), onKey_(std::move(onKey)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && onKey_(watched, static_cast<QKeyEvent*>(event))) return true;
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QObject*, QKeyEvent*)> onKey_;
};

}  // namespace

void enterClicks(QAbstractButton* button, std::initializer_list<QWidget*> fields) {
    auto* filter = new KeyFilter(button, [button](QObject*, QKeyEvent* e) {
        if (!isEnter(e)) return false;
        button->click();
        return true;
    });
    for (QWidget* field : fields) {
        field->installEventFilter(filter);
        // A date box or an editable combo box types into a line edit of its own.
        for (QWidget* part : field->findChildren<QWidget*>())
            part->installEventFilter(filter);
    }
}

void escapeCloses(QWidget* window) {
    // Keys the focused control leaves unused come up to the window.
    window->installEventFilter(new KeyFilter(window, [window](QObject* watched, QKeyEvent* e) {
        if (watched != window || !isEscape(e)) return false;
        window->close();
        return true;
    }));
}

void dialogKeys(QWidget* window, QAbstractButton* confirm, QAbstractButton* closeButton) {
    window->installEventFilter(new KeyFilter(window, [=](QObject* watched, QKeyEvent* e) {
        if (watched != window) return false;
        if (isEscape(e)) {
            closeButton->click();
            return true;
        }
        if (!isEnter(e)) return false;
        // Enter on a focused button presses that button, as the dialogs of the platform do.
        auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
        (focused && focused->window() == window ? focused : confirm)->click();
        return true;
    }));
}

}  // namespace ca::app
