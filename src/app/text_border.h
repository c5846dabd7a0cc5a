// The screen border: CP932 bytes of the core to and from Qt's strings.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace pomeli2 {

QString ToQt(const std::string& sjis);
// Nullopt when the text holds a character that code page 932 cannot hold.
std::optional<std::string> FromQt(const QString& text);
// A constant of the program, written in UTF-8.
inline QString Ui(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace pomeli2
