#pragma once
// The windows' bridge between core text (UTF-8 std::string) and Qt's QString.
#include <QString>
#include <string>

namespace ca::app {

inline QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
inline std::string str(const QString& text) {
    return text.toStdString();
}

}  // namespace ca::app
