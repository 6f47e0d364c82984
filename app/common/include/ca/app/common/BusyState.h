#pragma once
// The program's one busy state: true while an entry or a download runs in the main window. The
// controls of commands that write (config.ini, the database, files the run reads) are registered
// here: while busy they are disabled with the reason as their tool tip, and they come back when the
// run ends, whichever way it ends. Windows connect them through Guarded.h, not by hand.
#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

class QAction;
class QWidget;

namespace ca::app {

// Why a write command does not run now; the tool tip of its control while busy, and the warning
// shown if the command is asked for anyway.
inline constexpr const char* kBusyRefusal = "正在录入或下载数据，结束后才能执行此操作";

class BusyState : public QObject {
    Q_OBJECT

public:
    bool busy() const { return busy_; }
    void setBusy(bool busy);

    // A control of a write command: disabled while busy, enabled again after. A control that was
    // already disabled when the run began stays as its window left it.
    void addWriteControl(QWidget* control);
    void addWriteControl(QAction* control);

signals:
    void busyChanged(bool busy);

private:
    struct Control {
        QPointer<QWidget> widget;
        QPointer<QAction> action;
        bool disabledByBusy = false;
        QString toolTip;  // the control's own, put back after the run
    };
    void apply(Control& c);

    bool busy_ = false;
    std::vector<Control> controls_;
};

}  // namespace ca::app
