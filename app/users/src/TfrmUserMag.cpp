#include "ca/app/users/TfrmUserMag.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ca/app/common/ControlLook.h"
#include "ca/app/common/Guarded.h"
#include "ca/app/common/QtText.h"
#include "ca/users/UserCategory.h"

namespace ca::app {

namespace {

constexpr int kIdRole = Qt::UserRole;

QString cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

// The choice of a pick-only box: its text, or nullopt when nothing is chosen.
std::optional<std::string> chosenText(const QComboBox* box) {
    if (box->currentIndex() < 0) return std::nullopt;
    return box->currentText().toStdString();
}

std::optional<std::string> chosenValue(const QComboBox* box) {
    if (box->currentIndex() < 0) return std::nullopt;
    return box->currentData().toString().toStdString();
}

}  // namespace

// Label and field, left and right column; the address lines span both.
const TfrmUserMag::FieldSpec TfrmUserMag::kFields[] = {
    {"编码：", "Edit1", FieldKind::ReadOnly, &TfrmUserMag::Edit1, nullptr, 0, 0, 1},
    {"性别：", "ComboBox1", FieldKind::Pick, nullptr, &TfrmUserMag::ComboBox1, 0, 1, 1},
    {"*姓名：", "Edit2", FieldKind::Text, &TfrmUserMag::Edit2, nullptr, 1, 0, 1},
    {"*部门：", "ComboBox2", FieldKind::Pick, nullptr, &TfrmUserMag::ComboBox2, 1, 1, 1},
    {"手机：", "Edit4", FieldKind::Text, &TfrmUserMag::Edit4, nullptr, 2, 0, 1},
    {"职务：", "Edit5", FieldKind::Text, &TfrmUserMag::Edit5, nullptr, 2, 1, 1},
    {"*密码：", "Edit6", FieldKind::Password, &TfrmUserMag::Edit6, nullptr, 3, 0, 1},
    {"*密码确认：", "Edit7", FieldKind::Password, &TfrmUserMag::Edit7, nullptr, 3, 1, 1},
    {"地址1：", "Edit8", FieldKind::Text, &TfrmUserMag::Edit8, nullptr, 4, 0, 2},
    {"地址2：", "Edit9", FieldKind::Text, &TfrmUserMag::Edit9, nullptr, 5, 0, 2},
    {"*用户类别：", "ComboBox3", FieldKind::Pick, nullptr, &TfrmUserMag::ComboBox3, 6, 0, 1},
};

// The tree's three pop-up menus: on a user, on a department, and on the empty tree.
const TfrmUserMag::MenuItemSpec TfrmUserMag::kMenuItems[] = {
    {&TfrmUserMag::PopupMenu1, "N2", "删除用户", &TfrmUserMag::N2Click, true},
    {&TfrmUserMag::PopupMenu2, "N5", "新增用户", &TfrmUserMag::N5Click, true},
    {&TfrmUserMag::PopupMenu2, "N3", "修改部门名称", &TfrmUserMag::N3Click, true},
    {&TfrmUserMag::PopupMenu2, "N1", "删除部门", &TfrmUserMag::N1Click, true},
    {&TfrmUserMag::PopupMenu3, "N4", "新增部门", &TfrmUserMag::N4Click, true},
    {&TfrmUserMag::PopupMenu3, "N6", "刷新", &TfrmUserMag::N6Click, false},
};

TfrmUserMag::TfrmUserMag(AppContext& ctx, QWidget* owner)
    : QWidget(owner, Qt::Window), ctx_(ctx), admin_(ctx.dm(), ctx.prompts()) {
    setObjectName("frmUserMag");
    setWindowTitle("用户管理");

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setMinimumWidth(190);
    TreeView1->setMaximumWidth(240);
    TreeView1->viewport()->installEventFilter(this);

    auto* fields = new QGridLayout;
    for (const FieldSpec& f : kFields) {
        QWidget* field = makeField(f);
        auto* label = new QLabel(f.label, this);
        label->setBuddy(field);
        fields->addWidget(label, f.row, 2 * f.column, Qt::AlignRight);
        fields->addWidget(field, f.row, 2 * f.column + 1, 1, f.span == 2 ? 3 : 1);
    }
    ComboBox1->addItems({"男", "女"});
    ComboBox1->setCurrentIndex(-1);
    ComboBox2->installEventFilter(this);
    BitBtn1 = new QPushButton("保存用户信息", this);
    BitBtn1->setObjectName("BitBtn1");
    fields->addWidget(BitBtn1, 6, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    StringGrid1 = new QTableWidget(1, 3, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setHorizontalHeaderLabels({"费用名称", "允许操作", ""});
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setMinimumSectionSize(0);  // the code column is 2 pixels wide
    StringGrid1->setColumnWidth(0, 200);
    StringGrid1->setColumnWidth(1, 104);
    StringGrid1->setColumnWidth(2, 2);
    StringGrid1->setMinimumHeight(180);
    BitBtn2 = new QPushButton("保存用户权限", this);
    BitBtn2->setObjectName("BitBtn2");

    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(StringGrid1, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(BitBtn2);
    right->addLayout(buttonRow);
    auto* outer = new QHBoxLayout(this);
    outer->addWidget(TreeView1);
    outer->addLayout(right, 1);

    int menuNumber = 1;
    for (QMenu* TfrmUserMag::*menu :
         {&TfrmUserMag::PopupMenu1, &TfrmUserMag::PopupMenu2, &TfrmUserMag::PopupMenu3}) {
        this->*menu = new QMenu(this);
        (this->*menu)->setObjectName(QStringLiteral("PopupMenu%1").arg(menuNumber++));
    }
    for (const MenuItemSpec& item : kMenuItems)
        addMenuItem(this->*item.menu, item.name, item.caption, item.handler, item.writes);

    onClick(BitBtn1, this, &TfrmUserMag::BitBtn1Click, ctx_);
    onClick(BitBtn2, this, &TfrmUserMag::BitBtn2Click, ctx_);
    clearGrid();
    resize(760, 520);
}

QWidget* TfrmUserMag::makeField(const FieldSpec& f) {
    if (f.box) {
        auto* box = new QComboBox(this);  // pick-only: not editable
        box->setObjectName(f.name);
        this->*f.box = box;
        return box;
    }
    auto* edit = new QLineEdit(this);
    edit->setObjectName(f.name);
    if (f.kind == FieldKind::Password) edit->setEchoMode(QLineEdit::Password);
    if (f.kind == FieldKind::ReadOnly) showReadOnly(edit);
    this->*f.edit = edit;
    return edit;
}

QAction* TfrmUserMag::addMenuItem(QMenu* menu, const char* name, const char* caption,
                                  void (TfrmUserMag::*handler)(), bool writes) {
    QAction* a = menu->addAction(qs(caption));
    a->setObjectName(name);
    if (writes)
        onTriggered(a, this, handler, ctx_);
    else
        onReadTriggered(a, this, handler, ctx_);
    return a;
}

void TfrmUserMag::run(void (TfrmUserMag::*handler)()) {
    guarded(ctx_, [this, handler] { (this->*handler)(); });
}

void TfrmUserMag::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;  // shown again by the window system, not opened
    run(&TfrmUserMag::FormShow);
}

bool TfrmUserMag::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TreeView1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const Qt::MouseButton button = mouse->button();
            const QPoint pos = mouse->position().toPoint();
            guarded(ctx_, [&] { TreeView1MouseDown(button, pos); });
            return button == Qt::RightButton;  // the tree itself would move the selection again
        }
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            run(&TfrmUserMag::TreeView1Click);
    } else if (watched == ComboBox2 && event->type() == QEvent::FocusIn) {
        // Entering the box from another control; not the focus coming back from its own list or
        // from a message box over the window.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            run(&TfrmUserMag::ComboBox2Enter);
    }
    return QWidget::eventFilter(watched, event);
}

QTreeWidgetItem* TfrmUserMag::selectedNode() const {
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

int TfrmUserMag::nodeId(const QTreeWidgetItem* node) {
    return node->data(0, kIdRole).toInt();
}

void TfrmUserMag::FormShow() {
    ComboBox3->clear();
    for (const users::UserCategoryItem& c : users::kUserCategories)
        ComboBox3->addItem(qs(std::string(c.shown)), qs(std::string(c.value)));
    ComboBox3->setCurrentIndex(-1);
    OpenTree();
}

void TfrmUserMag::OpenTree() {
    const auto tree = admin_.store().departmentTree();
    if (!tree) return;  // no department: the tree and the list keep what they showed
    TreeView1->clear();
    ComboBox2->clear();
    for (const users::DepartmentBranch& branch : *tree) {
        ComboBox2->addItem(qs(branch.department.name), branch.department.id);
        // Each department goes first, so the tree lists them in the reverse of the returned order.
        auto* node = new QTreeWidgetItem({qs(branch.department.name)});
        node->setData(0, kIdRole, branch.department.id);
        TreeView1->insertTopLevelItem(0, node);
        for (const users::UserNode& u : branch.users) {
            auto* child = new QTreeWidgetItem(node, {qs(u.name)});
            child->setData(0, kIdRole, u.id);
        }
    }
    ComboBox2->setCurrentIndex(-1);
    TreeView1->expandAll();  // every user in view at once
}

void TfrmUserMag::InitCombox() {
    ComboBox2->clear();
    for (const users::Department& d : admin_.store().departments())
        ComboBox2->addItem(qs(d.name), d.id);
    ComboBox2->setCurrentIndex(-1);
}

void TfrmUserMag::TreeView1MouseDown(Qt::MouseButton button, const QPoint& pos) {
    QTreeWidgetItem* node = TreeView1->itemAt(pos);
    if (node) {
        TreeView1->setCurrentItem(node);
    } else {
        TreeView1->clearSelection();
        TreeView1->setCurrentItem(nullptr);
    }
    if (button != Qt::RightButton) return;
    QMenu* menu = !node ? PopupMenu3 : node->parent() ? PopupMenu1 : PopupMenu2;
    lastPopup_ = menu;
    menu->popup(TreeView1->viewport()->mapToGlobal(pos));
}

void TfrmUserMag::clearGrid() {
    StringGrid1->clearContents();
    StringGrid1->setRowCount(1);
}

void TfrmUserMag::TreeView1Click() {
    clearGrid();
    QTreeWidgetItem* node = selectedNode();
    if (!node || !node->parent()) return;  // a department: the fields keep what they show
    const std::optional<users::ShownUser> shown = admin_.showUser(nodeId(node));
    if (!shown) return;
    const users::UserRecord& r = shown->record;
    Edit1->setText(qs(r.id));
    Edit2->setText(qs(r.name));
    ComboBox1->setCurrentIndex(ComboBox1->findText(qs(r.sex), Qt::MatchExactly));
    // A department added since the list was filled is not in it yet.
    if (ComboBox2->findText(qs(r.departmentName), Qt::MatchExactly) < 0) InitCombox();
    ComboBox2->setCurrentIndex(ComboBox2->findText(qs(r.departmentName), Qt::MatchExactly));
    ComboBox3->setCurrentIndex(ComboBox3->findData(qs(r.category)));
    Edit4->setText(qs(r.mobile));
    Edit5->setText(qs(r.position));
    Edit6->setText(qs(shown->password));
    Edit7->setText(qs(shown->password));
    Edit8->setText(qs(r.address1));
    Edit9->setText(qs(r.address2));
    if (shown->permissions.empty()) return;  // the grid keeps one empty row
    StringGrid1->setRowCount(static_cast<int>(shown->permissions.size()));
    int row = 0;
    for (const users::PermissionRow& p : shown->permissions) {
        int column = 0;
        for (const std::string* value : {&p.name, &p.flag, &p.code}) {
            auto* item = new QTableWidgetItem(qs(value->empty() ? " " : *value));
            if (column == 0) item->setFlags(item->flags() & ~Qt::ItemIsEditable);  // the fixed column
            StringGrid1->setItem(row, column++, item);
        }
        ++row;
    }
}

void TfrmUserMag::addDepartmentItem(const users::Department& d) {
    auto* node = new QTreeWidgetItem({qs(d.name)});
    node->setData(0, kIdRole, d.id);
    TreeView1->addTopLevelItem(node);
}

void TfrmUserMag::N4Click() {
    if (const std::optional<users::Department> added = admin_.addDepartment()) addDepartmentItem(*added);
}

void TfrmUserMag::N6Click() {
    OpenTree();
}

void TfrmUserMag::N5Click() {
    QTreeWidgetItem* department = selectedNode();
    if (!department) return;
    if (const std::optional<users::UserNode> added = admin_.addUser(nodeId(department))) {
        auto* child = new QTreeWidgetItem(department, {qs(added->name)});
        child->setData(0, kIdRole, added->id);
    }
}

void TfrmUserMag::N3Click() {
    QTreeWidgetItem* department = selectedNode();
    if (!department) return;
    if (const std::optional<std::string> name = admin_.renameDepartment(nodeId(department)))
        department->setText(0, qs(*name));
}

void TfrmUserMag::N1Click() {
    QTreeWidgetItem* department = selectedNode();
    if (!department) return;
    const int id = nodeId(department);
    if (!admin_.deleteDepartment(id)) return;
    // His users went with the department: the panel no longer shows anybody.
    if (chosenValue(ComboBox2) == std::to_string(id)) clearPanel();
    const int inList = ComboBox2->findData(id);
    if (inList >= 0) ComboBox2->removeItem(inList);
    delete department;
}

void TfrmUserMag::N2Click() {
    QTreeWidgetItem* user = selectedNode();
    if (!user) return;
    const int id = nodeId(user);
    if (!admin_.deleteUser(id, user->text(0).toStdString())) return;
    if (Edit1->text() == QString::number(id)) clearPanel();
    delete user;
}

void TfrmUserMag::clearPanel() {
    for (const FieldSpec& f : kFields) {
        if (f.edit) (this->*f.edit)->clear();
        if (f.box) (this->*f.box)->setCurrentIndex(-1);
    }
    clearGrid();
}

void TfrmUserMag::ComboBox2Enter() {
    InitCombox();
}

void TfrmUserMag::BitBtn1Click() {
    users::UserForm f;
    f.id = Edit1->text().toStdString();
    f.name = Edit2->text().toStdString();
    f.departmentId = chosenValue(ComboBox2);
    f.sex = chosenText(ComboBox1);
    f.mobile = Edit4->text().toStdString();
    f.position = Edit5->text().toStdString();
    f.password = Edit6->text().toStdString();
    f.confirmation = Edit7->text().toStdString();
    f.address1 = Edit8->text().toStdString();
    f.address2 = Edit9->text().toStdString();
    f.category = chosenValue(ComboBox3);
    admin_.saveUser(f);
}

void TfrmUserMag::BitBtn2Click() {
    std::vector<users::PermissionRow> rows;
    for (int row = 0; row < StringGrid1->rowCount(); ++row)
        rows.push_back({cellText(StringGrid1, row, 0).toStdString(),
                        cellText(StringGrid1, row, 1).toStdString(),
                        cellText(StringGrid1, row, 2).toStdString()});
    admin_.savePermissions(Edit1->text().toStdString(), rows);
}

}  // namespace ca::app
