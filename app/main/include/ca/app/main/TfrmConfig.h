#pragma once
// The settings dialog: every setting of config.ini in an edit field, saved on request, a helper
// that lists the window class names of the customs client so the clerk can copy them into the fields,
// and the database server several desks share, its password masked, with a connection test.
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
    void Button2Click();           // save
    void Button1Click();           // close
    void Button3Click();           // list the client's class names
    void ButtonTestServerClick();  // connect to the server the field names, change nothing

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Widens the fields so that the longest text (a class name, a folder path) shows whole, within
    // the screen, and fits the window around them.
    void fitFieldsToContent();
    // The 数据库服务器 text to store: the field with the stored password where its mask stays.
    // Throws DbError when the mask cannot be told apart.
    std::optional<std::string> serverSetting() const;
    // How long the connection test waits for a server that does not answer.
    static constexpr int kServerTestSeconds = 5;
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
    // 数据库服务器: shown with its password masked; storedServer_ is the text as the file holds it.
    QLineEdit* EditServer = nullptr;
    QPushButton* ButtonTestServer = nullptr;
    std::string storedServer_;
};

}  // namespace ca::app
