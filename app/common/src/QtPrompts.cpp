#include "ca/app/common/QtPrompts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStringList>
#include <QTranslator>

#include "ca/app/common/QtText.h"
#include "ca/app/common/WaitCursor.h"
#include "ca/util/MessageBoxes.h"

namespace ca::app {

namespace {

int showBox(QWidget* parent, QMessageBox::Icon icon, const std::string& text, const std::string& caption,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    CursorLift lift;
    QMessageBox box(icon, qs(captionOrTitle(caption)), qs(text), buttons, parent);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

}  // namespace

QWidget* QtPrompts::owner() const {
    // A command runs from the window the clerk works in, which is the active one; a box over a
    // dialog goes over that dialog. Only with no window of the program active (a command run from a
    // timer, a start-up step) does the box fall back to the main window.
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return parent_;
}

void QtPrompts::info(const std::string& text, const std::string& caption) {
    showBox(owner(), QMessageBox::Information, text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

void QtPrompts::warning(const std::string& text, const std::string& caption) {
    showBox(owner(), QMessageBox::Warning, text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

Button QtPrompts::question(const std::string& text, const std::string& caption) {
    int r = showBox(owner(), QMessageBox::Question, text, caption, QMessageBox::Yes | QMessageBox::No,
                    QMessageBox::No);
    return r == QMessageBox::Yes ? Button::Yes : Button::No;
}

void QtPrompts::plainMessage(const std::string& text) {
    showBox(owner(), QMessageBox::NoIcon, text, kAppTitle, QMessageBox::Ok, QMessageBox::Ok);
}

void QtPrompts::errorBox(const std::string& text) {
    showBox(owner(), QMessageBox::Critical, text, kAppTitle, QMessageBox::Ok, QMessageBox::Ok);
}

std::string QtPrompts::openFile(const std::string& title, const std::string& filter) {
    // The path as the platform writes it (backslashes on Windows), as a dropped file's path is: it
    // goes into the log and becomes the pending file.
    CursorLift lift;
    const QString folder = openFolder_ ? qs(openFolder_()) : QString();
    QFileDialog dialog(parent_, qs(title), folder, dialogFilter(filter));
    keepFilesClosed(dialog, iconProvider_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
}

std::string QtPrompts::saveFile(const std::string& title, const std::string& filter,
                                const std::string& defaultSuffix) {
    CursorLift lift;
    QFileDialog dialog(parent_, qs(title), QString(), dialogFilter(filter));
    keepFilesClosed(dialog, iconProvider_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Whether an existing file is appended to or replaced is decided by the step that writes it.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!defaultSuffix.empty()) dialog.setDefaultSuffix(qs(defaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
}

std::optional<std::string> QtPrompts::input(const std::string& caption, const std::string& prompt,
                                            const std::string& initial) {
    CursorLift lift;
    bool ok = false;
    QString text = QInputDialog::getText(owner(), qs(captionOrTitle(caption)), qs(prompt), QLineEdit::Normal,
                                         qs(initial), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

bool installQtChineseTranslation() {
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    auto* translator = new QTranslator(app);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QCoreApplication::applicationDirPath() + "/translations"}) {
        if (translator->load(chinese, "qtbase", "_", folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

QString QtPrompts::dialogFilter(const std::string& filter) {
    QString f = qs(filter);
    if (!f.contains('|')) return f;
    QStringList parts = f.split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return out.join(";;");
}

}  // namespace ca::app
