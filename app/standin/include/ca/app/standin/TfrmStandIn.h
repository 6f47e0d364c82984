#pragma once
// The stand-in customs client's own window in the Linux build ("海关录入程序（模拟）"): the entry
// form's fields by chain and position, filling as an entry types them, the goods lines the client
// has finished, and buttons for what the client's own clerk would do (open a new import or export
// form, go to the query screen). Closing the window ends the client, as closing the real one does.
#include <QWidget>
#include <map>
#include <utility>

#include "ca/automation/sim/StandInClient.h"

class QLabel;
class QLineEdit;
class QScrollArea;
class QTableWidget;
class QTimer;

namespace ca::app {

class StandInQueryView;

class TfrmStandIn : public QWidget {
    Q_OBJECT

public:
    explicit TfrmStandIn(automation::sim::StandInClient& client, QWidget* parent = nullptr);
    ~TfrmStandIn() override;

    // Shows the client's current state now (otherwise it follows within a few milliseconds).
    void refresh();
    // Sizes the window to fit the screen it is on and puts it to the right of the given frame (the
    // main window's), or as far right as the screen allows.
    void placeBeside(const QRect& frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    using Key = std::pair<automation::sim::Area, int>;

    QWidget* fieldGroup(const QString& title, const char* chain, automation::sim::Area area, int count,
                        int columns);
    void newForm(automation::sim::FormKind kind);

    automation::sim::StandInClient& client_;
    automation::sim::FormKind formKind_;
    std::map<Key, QLineEdit*> fields_;
    QLineEdit* lastChanged_ = nullptr;
    QScrollArea* FormArea = nullptr;
    StandInQueryView* QueryView = nullptr;
    QLabel* ScreenLabel = nullptr;
    QLabel* DownloadHint = nullptr;
    QLabel* LastLabel = nullptr;
    QTableWidget* GoodsGrid = nullptr;
    QTimer* timer_ = nullptr;
    bool dirty_ = true;
    std::size_t shownEvents_ = 0;
};

}  // namespace ca::app
