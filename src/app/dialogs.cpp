#include "dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <algorithm>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "text/catalogue.h"
#include "text_border.h"

namespace pomeli2 {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("about");
  setWindowTitle(Ui("Pomeli Pomeli のバージョン情報"));
  auto* icon = new QLabel;
  icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
  auto* text = new QVBoxLayout;
  text->addWidget(new QLabel(Ui(kAboutVersion)));
  text->addWidget(new QLabel(Ui("Copyright (C) the Pomeli Pomeli authors")));
  text->addWidget(new QLabel(Ui("https://pomeli.invalid/")));
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addLayout(text, 1);  // the room the title asks for goes right of the text
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  // The dialog's contents are narrower than its title. Title bars often use
  // a larger, bold font and put their buttons beside the title: room for
  // both, so that the whole title shows.
  QFont bar = font();
  bar.setBold(true);
  bar.setPointSizeF(std::max(bar.pointSizeF(), 9.0) * 4 / 3);
  setMinimumWidth(QFontMetrics(bar).horizontalAdvance(windowTitle()) + 160);
}

QString HelpText() {
  // Installed beside the program (share/pomeli2/help.html), else the copy
  // built into it.
  QString installed = QCoreApplication::applicationDirPath() + "/../share/pomeli2/help.html";
  for (const QString& path : {installed, QString(":/help/help.html")}) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) return QString::fromUtf8(file.readAll());
  }
  return QString();
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("help");
  setWindowTitle(Ui("Pomeli Pomeli ヘルプ"));
  auto* browser = new QTextBrowser;
  browser->setHtml(HelpText());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser);
  layout->addWidget(buttons);
  resize(640, 560);
}

}  // namespace pomeli2
