#pragma once
// The fee query window "费用查询": declarations matching the filter panel with every
// fee amount, a subtotal per declaration and a totals row; a jump into fee entry for one of them;
// the export of the grid to a spreadsheet file.
#include <QWidget>
#include <memory>

#include "ca/app/common/AppContext.h"
#include "ca/fees/FeeQueryGrid.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ca::app {

class TextGridModel;
class Windows;

class TfrmFeeDetai : public QWidget {
    Q_OBJECT

public:
    TfrmFeeDetai(AppContext& ctx, Windows& windows);
    ~TfrmFeeDetai() override;

    void FormCreate();
    void Button1Click();         // "查询"
    void StringGrid1DblClick();  // fee entry for the selected row, after a query that found rows
    void Button2Click();         // "进入费用录入": the same without that test
    void BitBtn1Click();         // "导出EXCEL"

    // The filter panel's values as the statement takes them.
    fees::FeeQueryFilter filter() const;

private:
    void showGrid();

    AppContext& ctx_;
    Windows& windows_;
    fees::FeeQueryGrid grid_;
    bool queried_ = false;
    std::unique_ptr<TextGridModel> model_;

    QLineEdit* Edit1 = nullptr;  // 报关单号
    QDateEdit* DateTimePicker1 = nullptr;
    QDateEdit* DateTimePicker2 = nullptr;
    QLineEdit* Edit2 = nullptr;  // 客户名称
    QLineEdit* Edit3 = nullptr;  // 货名
    QLineEdit* Edit4 = nullptr;  // 合同号
    QLineEdit* Edit5 = nullptr;  // 提运单号
    QLineEdit* Edit6 = nullptr;  // 报关号
    QLineEdit* Edit7 = nullptr;  // 电话
    QLineEdit* Edit8 = nullptr;  // 核销单号
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label9 = nullptr;
    QTableView* StringGrid1 = nullptr;
};

}  // namespace ca::app
