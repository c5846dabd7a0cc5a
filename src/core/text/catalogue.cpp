#include "text/catalogue.h"

#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {

std::string TooManyItemsMessage() { return FillIn(kTooManyItemsMessage, {ToText(kMaxItems)}); }
std::string UnwritableMessage(std::string_view name) { return FillIn(kUnwritableMessage, {name}); }
std::string CannotOpenMessage(std::string_view name) { return FillIn(kCannotOpenMessage, {name}); }
std::string BackupFailedMessage(std::string_view path) { return FillIn(kBackupFailedMessage, {path}); }
std::string LinkTooLongMessage() { return FillIn(kLinkTooLongMessage, {ToText(static_cast<long long>(kTextLimit))}); }
std::string IconTooLongMessage() { return FillIn(kIconTooLongMessage, {ToText(static_cast<long long>(kTextLimit))}); }

}  // namespace pomeli2
