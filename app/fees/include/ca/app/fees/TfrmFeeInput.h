#pragma once
// Fee entry ("费用录入"): one declaration with the amounts and remarks of the fee items the current
// user may enter, saved to T_fee and T_fee1, and the fee statement for the customer: printed,
// previewed as it will print, or written into a PDF file. All three are one drawing.
#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>

#include "ca/app/common/AppContext.h"
#include "ca/app/common/WindowRoles.h"
#include "ca/fees/FeeSheet.h"
#include "ca/fees/FeeStatement.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ca::app {

class TextGridModel;
class TfrmPrintPreview;
class Windows;

class TfrmFeeInput : public QWidget, public FeeEntry {
    Q_OBJECT

public:
    TfrmFeeInput(AppContext& ctx, Windows& windows);
    ~TfrmFeeInput() override;

    // Finds the declaration and loads it with its fees; brings the window up when it loaded, warns
    // when the user may enter no fee. The openers (document query, fee query) call this.
    fees::LoadOutcome InputData(const std::string& value, const std::string& field, fees::MatchMode mode);
    // The document query's "费用录入": InputData by the whole unified number.
    void enterFeesOf(const std::string& unifiedNo) override;

    void FormCreate();
    void BitBtn2Click();     // search by 报关单号 (serial)
    void BitBtn3Click();     // search by 统一编号 (serial)
    void BitBtn4Click();     // search by 合同号
    void BitBtn5Click();     // search by 提单号
    void BitBtn6Click();     // search by 核销单号
    void BitBtn1Click();     // "保存"
    void Button4Click();     // "打印"
    void BtnPreviewClick();  // "打印预览"
    void BtnPdfClick();      // "导出PDF"
    void Button1Click();     // "查看单据明细"

    const fees::FeeSheet& sheet() const { return sheet_; }

private:
    struct FieldSpec {
        const char* label;
        const char* name;
        QLineEdit* TfrmFeeInput::*edit;
        bool editable;
        const char* searchName;  // the field's "搜索" button, if it has one
        QPushButton* TfrmFeeInput::*search;
        void (TfrmFeeInput::*handler)();
    };
    struct AccountSpec {
        const char* label;
        const char* name;
        QLineEdit* TfrmFeeInput::*edit;
        const char* key;  // in config.ini
    };
    static const FieldSpec kFields[];
    static const AccountSpec kAccountFields[];

    QLineEdit* addField(QGridLayout* grid, int row, const char* label, const char* name, bool editable);
    void search(QLineEdit* edit, const char* field, fees::MatchMode mode);
    void readFields();
    void showFields();
    void rememberAccountText(QLineEdit* edit, const char* key);
    // The statement's texts at their places; a bad amount throws before any document starts.
    std::vector<fees::PlacedText> statementLayout() const;
    void exportPdf(const std::vector<fees::PlacedText>& layout);

    AppContext& ctx_;
    Windows& windows_;
    fees::FeeSheet sheet_;
    std::unique_ptr<TextGridModel> model_;

    QLineEdit* Edit1 = nullptr;   // 客户
    QLineEdit* Edit2 = nullptr;   // 日期
    QLineEdit* Edit3 = nullptr;   // 货名
    QLineEdit* Edit4 = nullptr;   // 合同号
    QLineEdit* Edit5 = nullptr;   // 提单号
    QLineEdit* Edit6 = nullptr;   // 报关单号
    QLineEdit* Edit7 = nullptr;   // 统一编号
    QLineEdit* Edit11 = nullptr;  // 核销单号
    QLineEdit* Edit8 = nullptr;   // 帐户
    QLineEdit* Edit9 = nullptr;   // 账号
    QLineEdit* Edit10 = nullptr;  // 开户行
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QPushButton* BitBtn6 = nullptr;
    QPushButton* Button1 = nullptr;
    QTableView* StringGrid1 = nullptr;
    QLabel* Label9 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* BtnPreview = nullptr;
    QPushButton* BtnPdf = nullptr;
    QPointer<TfrmPrintPreview> preview_;
};

}  // namespace ca::app
