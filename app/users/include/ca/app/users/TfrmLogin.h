#pragma once
// "用户登录": asked at start when the settings switch it on. A right name and password make that
// user the current user; a wrong one says so and the dialog stays for another try; "取消" starts the
// program without a user. A convenience over a local database file, not a security boundary.
#include <QDialog>

#include "ca/app/common/AppContext.h"

class QLineEdit;
class QPushButton;

namespace ca::app {

class TfrmLogin : public QDialog {
    Q_OBJECT

public:
    explicit TfrmLogin(AppContext& ctx, QWidget* owner = nullptr);

    // Handlers.
    void BitBtn1Click();  // 登录
    void BitBtn2Click();  // 取消

private:
    AppContext& ctx_;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

}  // namespace ca::app
