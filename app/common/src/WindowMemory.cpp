#include "ca/app/common/WindowMemory.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QMap>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <QWidget>

namespace ca::app {

namespace {

QSettings settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "customs-assistant", "windows");
}

// The widths the clerk gave one grid's columns, kept as "column=width,...".
class ColumnMemory : public QObject {
public:
    ColumnMemory(QHeaderView* header, QString key) : QObject(header), header_(header), key_(std::move(key)) {
        for (const QString& pair : settings().value(key_).toString().split(',', Qt::SkipEmptyParts)) {
            const QStringList parts = pair.split('=');
            bool okColumn = false, okWidth = false;
            const int column = parts.value(0).toInt(&okColumn), width = parts.value(1).toInt(&okWidth);
            if (parts.size() == 2 && okColumn && okWidth && column >= 0 && width > 0) widths_[column] = width;
        }
        header->viewport()->installEventFilter(this);
        connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
            if (dragging_ && width > 0) widths_[column] = width;
        });
        // The window sizes its columns when a grid is filled; the clerk's widths come after that.
        connect(header, &QHeaderView::sectionCountChanged, this, [this] { reapplyLater(); });
        if (QAbstractItemModel* model = header->model()) {
            connect(model, &QAbstractItemModel::modelReset, this, [this] { reapplyLater(); });
            connect(model, &QAbstractItemModel::layoutChanged, this, [this] { reapplyLater(); });
        }
        apply();
    }

    void save() const {
        QStringList pairs;
        for (auto it = widths_.begin(); it != widths_.end(); ++it)
            pairs << QString("%1=%2").arg(it.key()).arg(it.value());
        QSettings s = settings();
        if (pairs.isEmpty())
            s.remove(key_);
        else
            s.setValue(key_, pairs.join(','));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                dragging_ = true;
                break;
            case QEvent::MouseButtonRelease:
                dragging_ = false;
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void apply() {
        for (auto it = widths_.begin(); it != widths_.end(); ++it)
            if (it.key() < header_->count()) header_->resizeSection(it.key(), it.value());
    }
    void reapplyLater() {
        QTimer::singleShot(0, this, [this] { apply(); });
    }

    QHeaderView* header_;
    QString key_;
    QMap<int, int> widths_;
    bool dragging_ = false;
};

// A window's first size is at most the room its screen leaves beside the task bar, frame
// included, so that a desk with a small screen sees all of it (1280x820 inside the frame would
// reach past a 1280x1024 screen's edges).
void fitScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    // The frame is not known before the window is shown: room for a title bar and borders.
    const QSize room = screen->availableGeometry().size() - QSize(16, 48);
    if (room.isValid()) window.resize(window.size().boundedTo(room));
}

class WindowMemory : public QObject {
public:
    explicit WindowMemory(QWidget& window) : QObject(&window), window_(&window), key_(window.objectName()) {
        const QByteArray geometry = settings().value(key_ + "/geometry").toByteArray();
        if (!geometry.isEmpty())
            window.restoreGeometry(geometry);
        else
            fitScreen(window);
        for (QAbstractItemView* view : window.findChildren<QAbstractItemView*>()) {
            QHeaderView* header = nullptr;
            if (auto* table = qobject_cast<QTableView*>(view))
                header = table->horizontalHeader();
            else if (auto* tree = qobject_cast<QTreeView*>(view))
                header = tree->header();
            if (!header || view->objectName().isEmpty()) continue;
            columns_.push_back(new ColumnMemory(header, key_ + "/" + view->objectName() + "/columns"));
        }
        window.installEventFilter(this);
        if (auto* app = QCoreApplication::instance())
            connect(app, &QCoreApplication::aboutToQuit, this, [this] {
                if (window_ && window_->isVisible()) save();
            });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Hide) save();
        return QObject::eventFilter(watched, event);
    }

private:
    void save() const {
        settings().setValue(key_ + "/geometry", window_->saveGeometry());
        for (const QPointer<ColumnMemory>& c : columns_)
            if (c) c->save();
    }

    QPointer<QWidget> window_;
    QString key_;
    QList<QPointer<ColumnMemory>> columns_;
};

}  // namespace

void rememberWindow(QWidget& window) {
    static const char* const kRemembered = "caWindowRemembered";
    if (window.objectName().isEmpty() || window.property(kRemembered).toBool()) return;
    window.setProperty(kRemembered, true);
    new WindowMemory(window);
}

QString windowMemoryFile() {
    return settings().fileName();
}

}  // namespace ca::app
