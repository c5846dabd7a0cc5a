#include "widget_host.h"

#include <QApplication>
#include <QMessageBox>

#include "form_widget.h"
#include "main_window.h"
#include "text_border.h"

namespace pomeli2 {

MessageAnswer WidgetHost::MessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                     MessageButtons buttons) {
  if (message_fn_) return message_fn_(text, title, icon, buttons);
  QMessageBox box(&window_);
  box.setWindowTitle(ToQt(title));
  box.setText(ToQt(text));
  switch (icon) {
    case MessageIcon::kInformation: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::kWarning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::kError: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::kQuestion: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::kNone: break;
  }
  switch (buttons) {
    case MessageButtons::kOk: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::kOkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::kYesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::kYes;
    case QMessageBox::No: return MessageAnswer::kNo;
    case QMessageBox::Cancel: return MessageAnswer::kCancel;
    default: return buttons == MessageButtons::kYesNo ? MessageAnswer::kNo : MessageAnswer::kOk;
  }
}

void WidgetHost::Beep() { QApplication::beep(); }
void WidgetHost::RefreshForm() { window_.Form().Refresh(); }
void WidgetHost::ControlStatesChanged() {
  window_.Form().ApplyEnabled();
  window_.UpdateCommands();
}
void WidgetHost::TreeRebuilt() { window_.Form().RebuildTree(); }
void WidgetHost::TreeColoursChanged() { window_.Form().ApplyTreeColours(); }

}  // namespace pomeli2
