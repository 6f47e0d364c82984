#pragma once
// Message boxes, file dialogs and the input box on Qt widgets. While one is up the wait cursor is
// lifted, so the clerk sees the normal arrow over it. The file dialogs open no file of the folders
// they show (NameOnlyIconProvider.h).
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "ca/app/common/NameOnlyIconProvider.h"
#include "ca/util/Prompts.h"

namespace ca::app {

class QtPrompts : public Prompts {
public:
    // The window the boxes are shown over when no window of the program is active (the main window
    // once it exists). Otherwise a box appears over the window that raised it: owner().
    void setParent(QWidget* parent) { parent_ = parent; }
    // The window a box raised now is shown over.
    QWidget* owner() const;
    // The folder the open dialog starts in, asked each time it opens (the main window's unimported
    // folder); without it, or when it gives empty text, the dialog starts in the current directory.
    void setOpenFolder(std::function<std::string()> folder) { openFolder_ = std::move(folder); }

    void info(const std::string& text, const std::string& caption) override;
    void warning(const std::string& text, const std::string& caption) override;
    Button question(const std::string& text, const std::string& caption) override;
    void plainMessage(const std::string& text) override;
    void errorBox(const std::string& text) override;
    std::string openFile(const std::string& title, const std::string& filter) override;
    std::string saveFile(const std::string& title, const std::string& filter,
                         const std::string& defaultSuffix) override;
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;

    // A filter of the form "Excel files|*.xls|All|*.*" in the dialogs' own form
    // "Excel files (*.xls);;All (*.*)"; a filter without '|' is passed on unchanged.
    static QString dialogFilter(const std::string& filter);

private:
    QPointer<QWidget> parent_;
    std::function<std::string()> openFolder_;
    // The dialogs guess file types from names only: they never open the database's files.
    NameOnlyIconProvider iconProvider_;
};

// Loads Qt's own Chinese texts (qtbase_zh_CN from Qt's translations folder, or from "translations"
// beside the executable), so the standard buttons and dialogs read 是, 否, 确定, 打开. Returns false
// when the translation is not found; the program then runs on with Qt's English texts.
bool installQtChineseTranslation();

}  // namespace ca::app
