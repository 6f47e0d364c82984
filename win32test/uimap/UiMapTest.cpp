// The control map: what it writes about a window (a password field's text never), and that Qt
// loads it as the generic plugin "uimap" from a plugin path, as the Windows proof's run does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGenericPluginFactory>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "UiMap.h"

namespace {

using ca::win32test::UiMap;

// A shown window with a plain field, a password field in each hiding mode and a button.
struct LogInWindow {
    LogInWindow() {
        window.setObjectName("frmLogin");
        window.setWindowTitle("登录");
        auto* layout = new QVBoxLayout(&window);
        auto add = [&](const char* name, const char* text, QLineEdit::EchoMode mode) {
            auto* edit = new QLineEdit(text, &window);
            edit->setObjectName(name);
            edit->setEchoMode(mode);
            layout->addWidget(edit);
        };
        add("Edit1", "clerk1", QLineEdit::Normal);
        add("Edit2", "s3cret-a", QLineEdit::Password);
        add("Edit3", "s3cret-b", QLineEdit::PasswordEchoOnEdit);
        add("Edit4", "s3cret-c", QLineEdit::NoEcho);
        auto* button = new QPushButton("登录", &window);
        button->setObjectName("Button1");
        layout->addWidget(button);
        window.show();
    }
    QWidget window;
};

TEST(UiMap, NamesTheControlsAndNeverAPasswordFieldsText) {
    LogInWindow w;
    const QString map = UiMap::describe();
    EXPECT_TRUE(map.contains("window\tfrmLogin\tQWidget\t登录\t")) << map.toStdString();
    EXPECT_TRUE(map.contains("widget\tfrmLogin\tEdit1\tQLineEdit\tclerk1\t1\t")) << map.toStdString();
    EXPECT_TRUE(map.contains("widget\tfrmLogin\tButton1\tQPushButton\t登录\t1\t")) << map.toStdString();
    // The password fields are on the map (the driver clicks them), empty.
    for (const char* name : {"Edit2", "Edit3", "Edit4"})
        EXPECT_TRUE(map.contains(QString("widget\tfrmLogin\t%1\tQLineEdit\t\t1\t").arg(name))) << name;
    EXPECT_FALSE(map.contains("s3cret")) << map.toStdString();
}

TEST(UiMapPlugin, QtLoadsItFromAPluginPathAndItWritesTheMapFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("ui-map.txt");
    qputenv("CA_UI_MAP", file.toUtf8());
    QCoreApplication::addLibraryPath(CA_UI_MAP_PLUGIN_DIR);
    ASSERT_TRUE(QGenericPluginFactory::keys().contains("uimap"))
        << QGenericPluginFactory::keys().join(' ').toStdString();
    LogInWindow w;
    std::unique_ptr<QObject> map(QGenericPluginFactory::create("uimap", {}));
    ASSERT_NE(map, nullptr);

    QByteArray text;
    QElapsedTimer waited;
    waited.start();
    while (!text.contains("widget\tfrmLogin\tEdit1\t") && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QFile f(file);
        if (f.open(QIODevice::ReadOnly)) text = f.readAll();
    }
    EXPECT_TRUE(text.contains("widget\tfrmLogin\tEdit1\tQLineEdit\tclerk1\t")) << text.toStdString();
    EXPECT_FALSE(text.contains("s3cret")) << text.toStdString();
    qunsetenv("CA_UI_MAP");
}

TEST(UiMapPlugin, MakesNothingWithoutAFileToWrite) {
    qunsetenv("CA_UI_MAP");
    QCoreApplication::addLibraryPath(CA_UI_MAP_PLUGIN_DIR);
    EXPECT_EQ(QGenericPluginFactory::create("uimap", {}), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
