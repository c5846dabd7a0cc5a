// The screen border: CP932 bytes of the core to and from Qt's strings.
#pragma once

#include <QString>
#include <QValidator>
#include <optional>
#include <string>

namespace pomeli2 {

QString ToQt(const std::string& sjis);
// Nullopt when the text holds a character that code page 932 cannot hold.
std::optional<std::string> FromQt(const QString& text);
// A constant of the program, written in UTF-8.
inline QString Ui(const char* utf8) { return QString::fromUtf8(utf8); }

// Refuses typing beyond a field's limit in CP932 bytes, as the edit control
// of a fixed-size field does. Text that CP932 cannot hold passes here; the
// editor refuses it with its message.
class ByteLimitValidator : public QValidator {
 public:
  ByteLimitValidator(size_t limit, QObject* parent) : QValidator(parent), limit_(limit) {}
  State validate(QString& input, int&) const override;

 private:
  size_t limit_;
};

}  // namespace pomeli2
