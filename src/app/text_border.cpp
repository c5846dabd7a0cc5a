#include "text_border.h"

#include "text/sjis.h"

namespace pomeli2 {

QString ToQt(const std::string& sjis) { return QString::fromStdString(SjisToUtf8Lossy(sjis)); }

std::optional<std::string> FromQt(const QString& text) { return Utf8ToSjis(text.toStdString()); }

QValidator::State ByteLimitValidator::validate(QString& input, int&) const {
  auto bytes = FromQt(input);
  return !bytes || bytes->size() <= limit_ ? Acceptable : Invalid;
}

}  // namespace pomeli2
