#pragma once
// File icons and type names in the file dialogs, worked out from the file's name alone. Qt's own
// provider reads a file's first bytes when its name does not tell the type (DB.sqlite-wal,
// DB.sqlite-shm); on Linux, closing that descriptor drops every POSIX lock the process holds on the
// file, the database connection's among them, and another program would then take the database for
// unused. This provider never opens a file.
#include <QFileIconProvider>

class QFileDialog;

namespace ca::app {

class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

// Makes a file dialog one that opens no file of the folder it shows: on Linux Qt's own dialog (a
// platform dialog runs inside this process too and guesses types from contents) with `provider`,
// which must outlive the dialog. Windows locks a file per handle, so its own dialog stays there.
void keepFilesClosed(QFileDialog& dialog, NameOnlyIconProvider& provider);

}  // namespace ca::app
