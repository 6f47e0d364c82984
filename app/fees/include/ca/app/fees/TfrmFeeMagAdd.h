#pragma once
// The dialog "费用项目增加": adds a fee item (catalogue row, a column in both fee tables, the
// permission rows) after its checks. Closing only hides it; the fields keep their texts.
#include <QWidget>

#include "ca/app/common/AppContext.h"

class QLineEdit;
class QPushButton;

namespace ca::app {

class TfrmFeeMagAdd : public QWidget {
    Q_OBJECT

public:
    explicit TfrmFeeMagAdd(AppContext& ctx);

    void Button1Click();  // "确定增加"
    void Button2Click();  // "关闭"

private:
    AppContext& ctx_;
    QLineEdit* Edit1 = nullptr;  // "新字段名称：" the code
    QLineEdit* Edit2 = nullptr;  // "费用名称：" the display name
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

}  // namespace ca::app
