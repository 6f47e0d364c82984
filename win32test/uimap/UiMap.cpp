#include "UiMap.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTextBlock>
#include <QTimer>
#include <QWidget>

namespace ca::win32test {

namespace {

QString field(QString text) {
    text.replace('\t', ' ').replace('\n', ' ').replace('\r', ' ');
    return text;
}

QString rect(const QWidget* w, QRect r) {
    const QPoint at = w->mapToGlobal(r.topLeft());
    const qreal scale = w->devicePixelRatioF();
    return QString("%1\t%2\t%3\t%4")
        .arg(qRound(at.x() * scale))
        .arg(qRound(at.y() * scale))
        .arg(qRound(r.width() * scale))
        .arg(qRound(r.height() * scale));
}

QString widgetText(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    // What a password field holds stays in the program.
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->echoMode() == QLineEdit::Normal ? e->text() : QString();
    if (auto* c = qobject_cast<const QComboBox*>(w)) return c->currentText();
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    return {};
}

void describeActions(QStringList& out, const QString& window, const QWidget* menu) {
    for (QAction* a : menu->actions()) {
        if (!a->isVisible() || a->isSeparator()) continue;
        QRect r;
        if (auto* bar = qobject_cast<const QMenuBar*>(menu)) r = bar->actionGeometry(a);
        if (auto* popup = qobject_cast<const QMenu*>(menu)) r = popup->actionGeometry(a);
        if (r.isEmpty()) continue;
        const QString name = a->menu() ? a->menu()->objectName() : a->objectName();
        out << QString("action\t%1\t%2\t%3\t%4\t%5")
                   .arg(window, name, field(a->text()), a->isEnabled() ? "1" : "0", rect(menu, r));
    }
}

}  // namespace

UiMap::UiMap(QString file, QObject* parent)
    : QObject(parent), file_(std::move(file)), timer_(new QTimer(this)) {
    connect(timer_, &QTimer::timeout, this, [this] { write(); });
    timer_->start(100);
    // A program on its way out shows nothing any more; a map left as it was would still show the
    // last windows to a driver waiting for them to go.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        timer_->stop();
        store({});
    });
}

QString UiMap::describe() {
    QStringList out;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        const QString window = top->objectName();
        out << QString("window\t%1\t%2\t%3\t%4")
                   .arg(window, top->metaObject()->className(), field(top->windowTitle()),
                        rect(top, top->rect()));
        if (qobject_cast<QMenu*>(top)) describeActions(out, window, top);
        for (QWidget* w : top->findChildren<QWidget*>()) {
            if (!w->isVisible()) continue;
            if (auto* bar = qobject_cast<QMenuBar*>(w)) describeActions(out, window, bar);
            const QString text = widgetText(w);
            if (w->objectName().isEmpty() && text.isEmpty()) continue;
            out << QString("widget\t%1\t%2\t%3\t%4\t%5\t%6")
                       .arg(window, w->objectName(), w->metaObject()->className(), field(text),
                            w->isEnabled() ? "1" : "0", rect(w, w->rect()));
            if (auto* log = qobject_cast<QPlainTextEdit*>(w))
                for (QTextBlock b = log->document()->begin(); b.isValid(); b = b.next())
                    out << QString("line\t%1\t%2\t%3").arg(window, w->objectName(), field(b.text()));
        }
    }
    if (QWidget* f = QApplication::focusWidget())
        out << QString("focus\t%1\t%2").arg(f->window()->objectName(), f->objectName());
    return out.join('\n') + '\n';
}

void UiMap::write() {
    const QString now = describe();
    if (now != last_ && store(now)) last_ = now;
}

bool UiMap::store(const QString& text) const {
    QSaveFile file(file_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(text.toUtf8());
    return file.commit();
}

}  // namespace ca::win32test
