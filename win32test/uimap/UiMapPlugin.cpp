// The control map as a Qt generic plugin: the window program's proof puts generic/ca_ui_map.dll
// beside the unpacked customs-assistant.exe of the release and starts it with `-plugin uimap`
// (QT_QPA_GENERIC_PLUGINS would do too, but Wine passes no QT_ variables on); Qt then creates the
// map while the application starts. The map writes to the file CA_UI_MAP names; without it the
// plugin makes nothing.
#include <QGenericPlugin>

#include "UiMap.h"

namespace ca::win32test {

class UiMapPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "uimap.json")

public:
    // Qt keeps the object and deletes it with the application.
    QObject* create(const QString& key, const QString&) override {
        const QString file = qEnvironmentVariable("CA_UI_MAP");
        if (key.compare("uimap", Qt::CaseInsensitive) != 0 || file.isEmpty()) return nullptr;
        return new UiMap(file, nullptr);
    }
};

}  // namespace ca::win32test

#include "UiMapPlugin.moc"
