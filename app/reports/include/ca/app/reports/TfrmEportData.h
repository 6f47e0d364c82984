#pragma once
// The business data window "生成业务数据": the filter of the monthly business lists and their two
// commands, "生成EXCEL" (declarations with goods lines, new file or appended) and
// "生成非一般贸易数据" (declarations outside general trade, always a new file).
#include <QWidget>

#include "ca/app/common/AppContext.h"
#include "ca/reports/BusinessData.h"
#include "ca/reports/ExportTable.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace ca::app {

class TfrmEportData : public QWidget {
    Q_OBJECT

public:
    explicit TfrmEportData(AppContext& ctx, QWidget* owner = nullptr);

    // --- Handlers ---
    void CheckBox1Click();  // the date range or the year and month
    void Button3Click();    // 生成EXCEL
    void Button1Click();    // 生成非一般贸易数据
    void Button2Click();    // 关闭

    // The filter as the controls hold it now.
    reports::BusinessFilter filter() const;
    // The export table of the latest command (never shown).
    const reports::ExportTable& exportTable() const { return StringGrid1; }

protected:
    // The first time it opens, the window comes up in the middle of the screen.
    void showEvent(QShowEvent* event) override;

private:
    void run(reports::BusinessList list);

    AppContext& ctx_;
    bool placed_ = false;
    reports::ExportTable StringGrid1;

    QCheckBox* CheckBox1 = nullptr;
    QDateEdit* DateTimePicker3 = nullptr;
    QDateEdit* DateTimePicker4 = nullptr;
    QComboBox* ComboBox1 = nullptr;  // 年份
    QComboBox* ComboBox2 = nullptr;  // 月份
    QLineEdit* Edit1 = nullptr;      // 申报单位编码
    QComboBox* ComboBox3 = nullptr;  // 进出口类型
    QLineEdit* Edit2 = nullptr;      // 运输工具名称
    QLineEdit* Edit6 = nullptr;      // 报关号
    QLineEdit* Edit3 = nullptr;      // 报关员
    QLineEdit* Edit5 = nullptr;      // 生产产家
    QLineEdit* Edit4 = nullptr;      // 电话号码
    QPushButton* Button3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

}  // namespace ca::app
