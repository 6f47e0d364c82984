// Window tests run on Qt's offscreen platform: no display needed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Window places and column widths go to a folder of this run, never to the desk's own settings.
    const QString settings =
        QDir::tempPath() + "/ca_window_settings_" + QString::number(QCoreApplication::applicationPid());
    QDir(settings).removeRecursively();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QDir(settings).removeRecursively();
    return result;
}
