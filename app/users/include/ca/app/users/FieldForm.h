#pragma once
// The layout of the small user dialogs (log-in, password change): labelled edit fields top to bottom
// and the buttons BitBtn1 and BitBtn2 at the lower right.
#include <initializer_list>
#include <vector>

class QLineEdit;
class QPushButton;
class QWidget;

namespace ca::app {

struct FieldSpec {
    const char* name;   // object name: "Edit1" ...
    const char* label;  // "旧密码：" ...
    bool masked;
};

struct FieldForm {
    std::vector<QLineEdit*> edits;  // in the order given
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};

// Builds the fields and buttons as children of `dialog` and gives it the layout.
FieldForm buildFieldForm(QWidget* dialog, std::initializer_list<FieldSpec> fields, const char* caption1,
                         const char* caption2);

}  // namespace ca::app
