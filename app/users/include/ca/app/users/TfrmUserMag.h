#pragma once
// "用户管理": the department and user tree, the fields of the user last clicked with his fee
// permissions, and the pop-up menus that add, rename and delete departments and users. The work and
// every check and message are in users::UserAdministration; the handlers read and fill the controls.
#include <QWidget>
#include <string>
#include <vector>

#include "ca/app/common/AppContext.h"
#include "ca/users/UserAdministration.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace ca::app {

class TfrmUserMag : public QWidget {
    Q_OBJECT

public:
    explicit TfrmUserMag(AppContext& ctx, QWidget* owner = nullptr);

    // The node selected in the tree, or nullptr.
    QTreeWidgetItem* selectedNode() const;
    // The id a node carries.
    static int nodeId(const QTreeWidgetItem* node);
    // The pop-up menu last shown by a right click, or nullptr.
    QMenu* lastPopup() const { return lastPopup_; }

    // Handlers.
    void FormShow();
    void OpenTree();
    void InitCombox();
    void TreeView1MouseDown(Qt::MouseButton button, const QPoint& pos);
    void TreeView1Click();
    void N4Click();  // 新增部门
    void N6Click();  // 刷新
    void N5Click();  // 新增用户
    void N3Click();  // 修改部门名称
    void N1Click();  // 删除部门
    void N2Click();  // 删除用户
    void ComboBox2Enter();
    void BitBtn1Click();  // 保存用户信息
    void BitBtn2Click();  // 保存用户权限

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class FieldKind { Text, ReadOnly, Password, Pick };
    // One labelled field of the user's data: a line edit or a pick-only box, placed in the left (0)
    // or right (1) column, spanning both when span is 2.
    struct FieldSpec {
        const char* label;
        const char* name;
        FieldKind kind;
        QLineEdit* TfrmUserMag::*edit;
        QComboBox* TfrmUserMag::*box;
        int row, column, span;
    };
    struct MenuItemSpec {
        QMenu* TfrmUserMag::*menu;
        const char* name;
        const char* caption;
        void (TfrmUserMag::*handler)();
        bool writes;
    };
    static const FieldSpec kFields[];
    static const MenuItemSpec kMenuItems[];

    QWidget* makeField(const FieldSpec& f);
    // An item that changes the database (refused while an entry or download runs), or one that only reads.
    QAction* addMenuItem(QMenu* menu, const char* name, const char* caption, void (TfrmUserMag::*handler)(),
                         bool writes = true);
    void run(void (TfrmUserMag::*handler)());
    void addDepartmentItem(const users::Department& d);
    void clearGrid();
    // Empties the user's fields and permissions: nobody is shown.
    void clearPanel();

    AppContext& ctx_;
    users::UserAdministration admin_;
    QMenu* lastPopup_ = nullptr;

    QTreeWidget* TreeView1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QMenu* PopupMenu3 = nullptr;
};

}  // namespace ca::app
