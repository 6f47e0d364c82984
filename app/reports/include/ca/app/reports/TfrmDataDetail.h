#pragma once
// The document query "海关数据明细": finds downloaded declarations by entry date and a handful of
// optional criteria, lists their headers, shows every field of the current header in a detail panel,
// and lists the goods lines of a declaration after a click on its row. Read-only: nothing here
// changes the database.
#include <QWidget>
#include <string>

#include "ca/app/common/AppContext.h"
#include "ca/app/common/WindowRoles.h"
#include "ca/db/TADOQuery.h"
#include "ca/reports/DocumentQuery.h"
#include "ca/util/Convert.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ca::app {

class DetailPanel;
class QueryTableModel;
class Windows;

class TfrmDataDetail : public QWidget, public DeclarationDetails {
    Q_OBJECT

public:
    TfrmDataDetail(AppContext& ctx, Windows& windows, QWidget* owner = nullptr);
    ~TfrmDataDetail() override;

    // The fee window's "查看单据明细": shows this window with the unified-number field set to the
    // serial (characters 10 to 18 of the unified number), both ends of the entry-date range set to
    // the date, and the query run as "查询" runs it. A database error goes to the caller.
    void showDeclaration(const std::string& serial, const Date& entryDate) override;

    // --- Handlers ---
    void FormCreate();
    void Button1Click() { RunQuery(); }  // 查询
    void RunQuery();
    // A mouse click on a cell of the header grid: the goods lines of the row then current.
    void DBGrid1CellClick();
    // 费用录入 (starts hidden; nothing in this window shows it).
    void BitBtn1Click();

    // The filter as the bar holds it now.
    reports::DocumentFilter filter() const;

private:
    void buildFilterBar();
    void buildResultArea();
    void showKindLabels(const std::string& kind);
    // The panel, the goods lines and their count for that header row (-1: none).
    void showHeaderRow(int row);

    AppContext& ctx_;
    Windows& windows_;
    db::TADOQuery ADOQuery1;  // the headers
    db::TADOQuery ADOQuery2;  // the goods lines of one declaration
    QueryTableModel* headers_ = nullptr;
    QueryTableModel* goods_ = nullptr;
    int shownRow_ = -1;  // the header row the panel and the goods show

    QLineEdit* Edit1 = nullptr;   // 统一编号
    QLineEdit* Edit68 = nullptr;  // 货名
    QLineEdit* Edit70 = nullptr;  // 经营单位
    QLineEdit* Edit72 = nullptr;  // 申报单位编码
    QDateEdit* DateTimePicker1 = nullptr;
    QDateEdit* DateTimePicker2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QLineEdit* Edit69 = nullptr;  // 报关单号
    QLineEdit* Edit67 = nullptr;  // 合同号
    QLineEdit* Edit71 = nullptr;  // 提运单号
    QDateEdit* DateTimePicker3 = nullptr;
    QDateEdit* DateTimePicker4 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QTableView* DBGrid1 = nullptr;
    QTableView* DBGrid2 = nullptr;
    DetailPanel* headerPanel_ = nullptr;
    DetailPanel* goodsPanel_ = nullptr;
    QLabel* HeaderCount = nullptr;  // after "主单记录数："
    QLabel* GoodsCount = nullptr;   // after "当前记录 商品数："
};

}  // namespace ca::app
