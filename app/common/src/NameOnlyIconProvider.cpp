#include "ca/app/common/NameOnlyIconProvider.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMimeDatabase>

namespace ca::app {

namespace {

// The type the file's name suggests; application/octet-stream when the name says nothing.
QMimeType typeByName(const QFileInfo& info) {
    const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(info.fileName());
    return types.isEmpty() ? QMimeDatabase().mimeTypeForName("application/octet-stream") : types.first();
}

}  // namespace

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    if (info.isDir()) return icon(QAbstractFileIconProvider::Folder);
    if (!info.isFile()) return QFileIconProvider::icon(info);  // drives and the computer: no file is read
    const QIcon generic = icon(QAbstractFileIconProvider::File);
    return QIcon::fromTheme(typeByName(info).iconName(), generic);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    if (!info.isFile()) return QFileIconProvider::type(info);
    const QMimeType mime = typeByName(info);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

void keepFilesClosed(QFileDialog& dialog, NameOnlyIconProvider& provider) {
#ifdef _WIN32
    (void)dialog;
    (void)provider;
#else
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&provider);
#endif
}

}  // namespace ca::app
