#pragma once
// The part of the stand-in client's window that shows what a download walks: the query screen (query
// date, declaration kind, the query list with its selected and focused rows) and, while a declaration
// is open, its goods list with the selected goods rows. The declaration's fields show in the form
// fields of the window itself.
#include <QWidget>
#include <string>
#include <vector>

#include "ca/automation/sim/StandInClient.h"

class QLabel;
class QTableWidget;

namespace ca::app {

class StandInQueryView : public QWidget {
    Q_OBJECT

public:
    explicit StandInQueryView(automation::sim::StandInClient& client, QWidget* parent = nullptr);

    // Shows the client's current state.
    void refresh();

private:
    static void fill(QTableWidget* grid, const std::vector<std::vector<std::string>>& rows,
                     const std::vector<int>& selected, int focused);

    automation::sim::StandInClient& client_;
    QLabel* FilterLabel = nullptr;
    QTableWidget* QueryGrid = nullptr;
    QLabel* OpenLabel = nullptr;
    QTableWidget* GoodsListGrid = nullptr;
};

}  // namespace ca::app
