#pragma once
// Where the program's windows, controls and menu items are on the screen, written to a file for
// the driver of the Windows proof under Wine. Qt draws its controls itself, so nothing outside the
// program sees them as windows, and Wine offers no accessibility client that could ask Qt; the map
// stands in for that: the driver reads it to know where a clerk would click, and then clicks and
// types through the system's input like a clerk. The window program does not hold it: it is a Qt
// plugin (UiMapPlugin) that only the proof's run loads, and it writes to the file the environment
// variable CA_UI_MAP names. A password field's text is never written (the field shows as empty).
//
// When the program ends the map is emptied.
//
// One line per item, tab-separated, fields without tabs or line breaks:
//   window  <objectName> <class> <title> <x> <y> <w> <h>     a visible top-level window
//   widget  <window> <objectName> <class> <text> <enabled> <x> <y> <w> <h>
//   action  <window> <objectName> <text> <enabled> <x> <y> <w> <h>   a menu bar's or menu's item
//   line    <window> <objectName> <text>                     a line of a multi-line text (the log)
//   focus   <window> <objectName>                            the control with the keyboard focus
// Coordinates are the screen's, in device pixels, of the area inside the frame.
#include <QObject>
#include <QString>

class QTimer;

namespace ca::win32test {

class UiMap : public QObject {
public:
    // Writes the map to file every few tenths of a second while something changed.
    UiMap(QString file, QObject* parent);
    // The map as it would be written now.
    static QString describe();

private:
    void write();
    // Replaces the file with the text; false when it could not be written.
    bool store(const QString& text) const;

    QString file_;
    QString last_;
    QTimer* timer_;
};

}  // namespace ca::win32test
