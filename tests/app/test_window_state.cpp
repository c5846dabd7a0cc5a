// window.ini was written by QSettings before the window state moved into the
// core: the store must write the very bytes QSettings writes for the same
// values over the same old file, and each must read what the other wrote.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSize>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <random>

#include "project/window_state.h"

using namespace pomeli2;

namespace {

// What the window did with QSettings, line for line.
void WriteWithQSettings(const QString& file, const KeptWindow& w) {
  QSettings kept(file, QSettings::IniFormat);
  if (w.size) kept.setValue("window/size", QSize(w.size->width, w.size->height));
  kept.setValue("window/maximized", w.maximised);
  kept.remove("folders");
  kept.setValue("folders/document", QByteArray::fromStdString(w.document));
  for (const auto& [kind, folder] : w.folders)
    kept.setValue(QString("folders/%1").arg(kind), QByteArray::fromStdString(folder));
  kept.sync();
}

KeptWindow ReadWithQSettings(const QString& file) {
  QSettings kept(file, QSettings::IniFormat);
  KeptWindow w;
  if (QSize s = kept.value("window/size").toSize(); s.isValid()) w.size = WindowSize{s.width(), s.height()};
  w.maximised = kept.value("window/maximized").toBool();
  w.document = kept.value("folders/document").toByteArray().toStdString();
  kept.beginGroup("folders");
  for (const QString& key : kept.childKeys()) {
    bool number = false;
    const int kind = key.toInt(&number);
    if (number) w.folders[kind] = kept.value(key).toByteArray().toStdString();
  }
  return w;
}

QByteArray Bytes(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

void Put(const QString& file, const QByteArray& bytes) {
  QFile f(file);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QString Show(const KeptWindow& w) {
  QString s = QString("size=%1 max=%2 doc=%3")
                  .arg(w.size ? QString("%1x%2").arg(w.size->width).arg(w.size->height) : "none")
                  .arg(w.maximised)
                  .arg(QString::fromLatin1(QByteArray::fromStdString(w.document).toHex()));
  for (const auto& [kind, folder] : w.folders)
    s += QString(" %1=%2").arg(kind).arg(QString::fromLatin1(QByteArray::fromStdString(folder).toHex()));
  return s;
}

std::string Cp932(const char* utf8) {
  // The CP932 bytes of a few characters, two of them with 0x5C ("\") as
  // their second byte.
  const std::map<std::string, std::string> table{{"ソ", "\x83\x5c"}, {"表", "\x95\x5c"}, {"あ", "\x82\xa0"},
                                                 {"サイト", "\x83\x54\x83\x43\x83\x67"}};
  return table.at(utf8);
}

}  // namespace

class WindowStateTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  int files_ = 0;
  // A folder of its own for every file: QSettings keeps what it read of a
  // path for the life of the program.
  QString Fresh() {
    const QString folder = dir_.filePath(QString::number(++files_));
    QDir().mkpath(folder);
    return folder + "/";
  }

 private slots:
  void writesTheBytesQSettingsWritesAndEachReadsTheOther() {
    const std::string awkward = "/home/u/" + Cp932("ソ") + Cp932("表") + " \"q\" a\\b=c;d, e\t" + Cp932("あ") + "1F" +
                                std::string(1, '\0') + "7 \x7f\x80\xff" + " ";
    std::vector<KeptWindow> values{
        {WindowSize{720, 660}, false, "", {}},
        {WindowSize{1000, 1000}, true, "/p/" + Cp932("サイト") + ".pml", {{0, "/p/"}, {1, awkward}, {3, ""}}},
        {WindowSize{0, 0}, false, " leading", {{-1, "trailing "}, {2, "=;,"}, {7, "\\\\"}, {12, "\"\""}}},
        {WindowSize{5000, 4000}, true, awkward, {}},
        {WindowSize{-1, 5}, false, "@ByteArray(x)", {{100, "@Size(1 2)"}, {4, "a\r\nb"}}},
        {std::nullopt, true, "x", {{1, "y"}}},
    };
    for (int kind = 0; kind < 20; ++kind) values[1].folders[kind * 3] = "/k/" + std::to_string(kind) + Cp932("表") + "/";
    // What window.ini held before: nothing, what QSettings wrote, and files
    // written by hand, broken ones too.
    std::vector<QByteArray> before{
        {},
        "[folders]\n1=@ByteArray(/old/)\n9=@ByteArray(/nine/)\ndocument=@ByteArray(/old.pml)\n\n"
        "[window]\nmaximized=true\nsize=@Size(800 600)\n",
        "\xef\xbb\xbf; a comment\r\n[window]\r\nsize = @Size(640 480) ; the size\r\nmaximized=TRUE\r\nsize=@Size(1 2\r\n"
        "[Other]\r\nz=1\r\nlist=a, \"b, c\" ,d\r\nat=@thing\r\nat2=@@x\r\ninv=@Invalid()\r\nrect=@Rect(1 +2 3 x)\r\n"
        "pt=@Point(5 6)\r\nbad=@Size(1)\r\n",
        "[folders]\n01=@ByteArray(/zero-one/)\nx=@ByteArray(/x/)\na\\b=@ByteArray(/nested/)\n-2=plain text "
        "\xe3\x81\x82\ndocument=\"quoted \\\"doc\\\"\"\n[general]\nkey=value\n[%General]\nk=v\n[window\n"
        "size=@Size(3 4)\nno equals here\n[window]\nmaximized=@ByteArray(false)\n[%41b]\n%55%U00e4=\\x41\\101\\q\n",
        "[folders]\n1=@ByteArray(\x83\x5c raw cp932)\n2=\x83\x5c raw\n3=\"open quote\n4=next\"\n5=a\\\n6=\\x\n"
        "[window]\nsize=@Size(-5 10)\nmaximized=0\ndup=1\ndup=2\n\xff\xfe=garbage\x01\x02\n",
        QByteArray("[window]\nmaximized=no\0size=@Size(7 8)\n[folders]\n1=@ByteArray(a\\0b)\n", 60),
        "[window]\nsize=@Size(640 480)  \nmaximized=no\n[x]\nsp=trailing \t \n",
        "[window]\nmaximized= False \nsize=\"@Size(1 2) \"\n",
    };
    for (size_t v = 0; v < values.size(); ++v)
      for (size_t b = 0; b < before.size(); ++b) {
        const QString where = QString("values %1 over file %2").arg(v).arg(b);
        const QString by_qt = Fresh(), by_store = Fresh();
        if (!before[b].isNull()) {
          Put(by_qt + "window.ini", before[b]);
          Put(by_store + "window.ini", before[b]);
          // Read as they were: by hand and broken alike.
          QCOMPARE(Show(WindowStateStore(by_store.toStdString()).Read()), Show(ReadWithQSettings(by_qt + "window.ini")));
        }
        WriteWithQSettings(by_qt + "window.ini", values[v]);
        QVERIFY(WindowStateStore(by_store.toStdString()).Write(values[v]));
        const QByteArray expected = Bytes(by_qt + "window.ini"), written = Bytes(by_store + "window.ini");
        QVERIFY2(written == expected, qPrintable(where + "\nQSettings:\n" + QString::fromLatin1(expected) +
                                                 "\nstore:\n" + QString::fromLatin1(written)));
        // Each reads what the other wrote.
        const QString qt_read = Show(ReadWithQSettings(by_store + "window.ini"));
        QCOMPARE(Show(WindowStateStore(by_qt.toStdString()).Read()), qt_read);
        if (b == 0) {
          KeptWindow back = values[v];
          if (back.size && (back.size->width < 0 || back.size->height < 0)) back.size.reset();
          QCOMPARE(qt_read, Show(back));
        }
      }
  }

  // Files made at random of the pieces INI files are made of.
  void randomFilesReadAndRewriteAsQSettingsDoes() {
    const std::vector<QByteArray> pieces{"[", "]", "=", ";", ",", "\"", "\\", "\\x", "\\0", "\\1", "\n", "\r",
                                         " ", "\t", "@", "@ByteArray(", "@Size(", "@Rect(", "@Point(", ")", "@@", "%",
                                         "%U", "general", "%General", "window", "folders", "size", "maximized",
                                         "document", "1", "-2", "99999999999", "\xe3\x81", "\x82", "\xef\xbb\xbf",
                                         "a", "F", "\xff", QByteArray(1, '\0')};
    std::mt19937 random(27);
    for (int n = 0; n < 400; ++n) {
      KeptWindow value{WindowSize{800, 600}, n % 2 == 0, {}, {}};
      for (auto k = random() % 12; k > 0; --k) value.document += static_cast<char>(random() % 256);
      value.folders[static_cast<int>(random() % 40) - 3] = value.document + "/";
      QByteArray file = "[window]\n";
      for (auto k = random() % 60; k > 0; --k) file += pieces[random() % pieces.size()];
      const QString by_qt = Fresh(), by_store = Fresh();
      Put(by_qt + "window.ini", file);
      Put(by_store + "window.ini", file);
      QVERIFY2(Show(WindowStateStore(by_store.toStdString()).Read()) == Show(ReadWithQSettings(by_qt + "window.ini")),
               file.toHex().constData());
      WriteWithQSettings(by_qt + "window.ini", value);
      QVERIFY(WindowStateStore(by_store.toStdString()).Write(value));
      QVERIFY2(Bytes(by_store + "window.ini") == Bytes(by_qt + "window.ini"),
               (file.toHex() + "\nQSettings:\n" + Bytes(by_qt + "window.ini") + "\nstore:\n" +
                Bytes(by_store + "window.ini"))
                   .constData());
      QCOMPARE(Show(ReadWithQSettings(by_store + "window.ini")), Show(value));
    }
  }

  void anUnreadableFileKeepsNothingAndCrashesNothing() {
    const QString folder = Fresh();
    QVERIFY(QDir().mkpath(folder + "window.ini"));
    WindowStateStore store(folder.toStdString());
    QCOMPARE(Show(store.Read()), Show(KeptWindow{}));
    QVERIFY(!store.Write({WindowSize{700, 650}, true, "d", {{1, "f"}}}));
  }
};

QTEST_GUILESS_MAIN(WindowStateTest)
#include "test_window_state.moc"
