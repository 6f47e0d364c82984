#pragma once
// "密码修改": the current user replaces his own password (users::changePassword). Closing only hides
// the dialog; its fields keep their texts for the next opening.
#include <QWidget>

#include "ca/app/common/AppContext.h"

class QLineEdit;
class QPushButton;

namespace ca::app {

class TfrmChangPW : public QWidget {
    Q_OBJECT

public:
    explicit TfrmChangPW(AppContext& ctx, QWidget* owner = nullptr);

    // Handlers.
    void BitBtn1Click();  // 确定
    void BitBtn2Click();  // 关闭

private:
    AppContext& ctx_;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

}  // namespace ca::app
