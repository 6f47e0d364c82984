#pragma once
// The settings dialog: every setting of config.ini in an edit field, saved on request, and a helper
// that lists the window class names of the customs client so the clerk can copy them into the fields.
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ca/app/common/AppContext.h"
#include "ca/util/IniFile.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace ca::app {

class TfrmConfig : public QWidget {
    Q_OBJECT

public:
    // The class names of every window of the customs client, at every depth, in enumeration order
    // (duplicates included); nullopt when the client is not running.
    using ClassLister = std::function<std::optional<std::vector<std::string>>()>;

    // Edits ctx.configFile(). "修改" writes it, so it is refused while an entry or download runs.
    explicit TfrmConfig(AppContext& ctx, QWidget* owner = nullptr);

    void setClassLister(ClassLister lister) { lister_ = std::move(lister); }
    // The field that shows the key (nullptr for an unknown key).
    QLineEdit* fieldFor(const std::string& key) const;
    std::vector<std::string> memoLines() const;

    // Handlers.
    void FormCreate();
    void FormShow();
    void Button2Click();  // save
    void Button1Click();  // close
    void Button3Click();  // list the client's class names

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Widens the fields so that the longest text (a class name, a folder path) shows whole, within
    // the screen, and fits the window around them.
    void fitFieldsToContent();
    struct Field {
        std::string key;
        QLineEdit* edit;
    };

    AppContext& ctx_;
    std::optional<IniFile> ini_;
    ClassLister lister_;
    std::vector<Field> fields_;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QCheckBox* CheckLogIn = nullptr;  // the optional log-in at start
};

}  // namespace ca::app
