// The About window on the offscreen platform: its controls and texts, the
// figures read on each showing, the ways to close it, the web-site button,
// F1 doing nothing, and a render of the window for review.
#include <QtTest>

#include <stdexcept>
#include <vector>

#include <QDesktopServices>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>

#include "ui/about/about_box.h"
#include "platform/machine_figures.h"
#include "platform/regional_settings.h"
#include "ui_services.h"
#include "ui/common/window_font.h"

using tallix::platform::MachineFigures;
using tallix::ui::TAboutBox;
using tallix::ui::testing::RecordingHelp;
using tallix::ui::testing::RecordingQtHost;

namespace {

// Poses as a machine and counts how often the window asks.
class FakeMachine final : public MachineFigures {
 public:
  FakeMachine(std::uint64_t memory, std::int64_t disk) : memory_(memory), disk_(disk) {}
  std::uint64_t totalPhysicalMemory() const override {
    ++memoryReads;
    return memory_;
  }
  std::int64_t diskCapacity() const override {
    ++diskReads;
    return disk_;
  }
  mutable int memoryReads = 0;
  mutable int diskReads = 0;

 private:
  std::uint64_t memory_;
  std::int64_t disk_;
};

// Receives the addresses the desktop would have opened.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls.append(url); }
};

template <class T>
T* child(QWidget& window, const char* name) {
  T* found = window.findChild<T*>(QLatin1String(name));
  if (found == nullptr) qFatal("no control %s", name);
  return found;
}

QString kb(const char* digits) {
  // The figure groups with the separator of the process locale.
  const char32_t sep = tallix::platform::readRegionalSettings().milliers;
  static const QRegularExpression group(QStringLiteral("(\\d) (?=\\d)"));
  return QString::fromUtf8(digits).replace(group, QStringLiteral("\\1") + QString::fromUcs4(&sep, 1));
}

}  // namespace

class AboutBoxTest : public QObject {
  Q_OBJECT
 private slots:
  void cleanup() { machine_ = std::make_shared<tallix::platform::LinuxMachineFigures>(); }

  void controlsInCreationOrderAtTheirPlaces_data();
  void controlsInCreationOrderAtTheirPlaces();
  void windowFrame();
  void descriptionLines();
  void figuresBeforeShowing();
  void figuresOnShow_data();
  void figuresOnShow();
  void figuresReadAfreshOnEachShowing();
  void closeKeys_data();
  void closeKeys();
  void centredOnTheDesktop();
  void webSiteButton();
  void f1DoesNothing();
  void usesTahomaByItself();
  void productNameStaysBoldAtTwiceTheScale();
  void productNameHasTheBoldFacesWidth();
  void formShowErrorIsReportedWhileTheWindowIsShown();
  void render();

 private:
  // The window's services with the machine the test poses as.
  tallix::ui::Services services() { return {host_, help_, *machine_}; }
  RecordingQtHost host_;
  RecordingHelp help_;
  std::shared_ptr<const MachineFigures> machine_ = std::make_shared<tallix::platform::LinuxMachineFigures>();
};

void AboutBoxTest::controlsInCreationOrderAtTheirPlaces_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<QString>("text");
  const QString frieze(47, QChar(0x00A4));
  QTest::newRow("ImageAboutBox1") << "ImageAboutBox1" << QRect(0, 0, 429, 392) << QString();
  QTest::newRow("MemoirePhysiqueLabel") << "MemoirePhysiqueLabel" << QRect(81, 268, -1, 13)
                                        << QStringLiteral("Mémoire physique disponible :");
  QTest::newRow("PhysMemLabel") << "PhysMemLabel" << QRect(-1, 268, -1, 13) << "0";
  QTest::newRow("DisqueDurLabel") << "DisqueDurLabel" << QRect(-1, 283, -1, 13) << "0";
  QTest::newRow("CapaciteDisqueDurLabel1") << "CapaciteDisqueDurLabel1" << QRect(81, 283, -1, 13)
                                           << QStringLiteral("Capacité du disque dur C :");
  QTest::newRow("AboutFriseLabel1") << "AboutFriseLabel1" << QRect(72, 8, -1, 13) << frieze;
  QTest::newRow("AboutFriseLabel2") << "AboutFriseLabel2" << QRect(72, 96, -1, 13) << frieze;
  QTest::newRow("AboutImage1") << "AboutImage1" << QRect(72, 32, 49, 49) << QString();
  QTest::newRow("ProductNameLabel") << "ProductNameLabel" << QRect(184, 40, -1, 13)
                                    << QStringLiteral("Tallix (Duvuroreza)");
  QTest::newRow("CopyrightLabel") << "CopyrightLabel" << QRect(172, 60, -1, 13) << QString();
  QTest::newRow("ButtonAutresLogiciels") << "ButtonAutresLogiciels" << QRect(70, 304, 289, 25)
                                         << QStringLiteral("Site Internet de l'auteur : ") + TAboutBox::authorUrl();
  QTest::newRow("Memo1") << "Memo1" << QRect(24, 124, 385, 133) << QString();
  QTest::newRow("ButtonFermer") << "ButtonFermer" << QRect(70, 336, 289, 25)
                                << QString(36, QLatin1Char(' ')) + QStringLiteral("&Fermer");
}

// Left, top, width and height as laid out (-1: sized to the text); a later
// control lies above an earlier one, so the order of the children matters.
void AboutBoxTest::controlsInCreationOrderAtTheirPlaces() {
  QFETCH(QString, name);
  QFETCH(QRect, geometry);
  QFETCH(QString, text);
  TAboutBox box(services());
  QList<QWidget*> order;
  for (QObject* object : box.children())
    if (auto* widget = qobject_cast<QWidget*>(object); widget != nullptr && !widget->objectName().isEmpty())
      order.append(widget);
  static const QStringList names = {"ImageAboutBox1", "MemoirePhysiqueLabel", "PhysMemLabel", "DisqueDurLabel",
                                    "CapaciteDisqueDurLabel1", "AboutFriseLabel1", "AboutFriseLabel2",
                                    "AboutImage1", "ProductNameLabel", "CopyrightLabel",
                                    "ButtonAutresLogiciels", "Memo1", "ButtonFermer"};
  const qsizetype index = names.indexOf(name);
  QVERIFY(index < order.size());
  QWidget* widget = order.at(index);
  QCOMPARE(widget->objectName(), name);
  const QRect actual = widget->geometry();
  if (geometry.x() >= 0) QCOMPARE(actual.x(), geometry.x());
  QCOMPARE(actual.y(), geometry.y());
  if (geometry.width() >= 0) QCOMPARE(actual.width(), geometry.width());
  QCOMPARE(actual.height(), geometry.height());
  if (!text.isEmpty()) {
    if (auto* label = qobject_cast<QLabel*>(widget)) QCOMPARE(label->text(), text);
    if (auto* button = qobject_cast<QPushButton*>(widget)) QCOMPARE(button->text(), text);
  }
  if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && !label->text().isEmpty()) {
    QVERIFY(!label->autoFillBackground());
    if (name != QLatin1String("ProductNameLabel"))  // sized to the true bold face, below
      QCOMPARE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
  }
}

void AboutBoxTest::windowFrame() {
  TAboutBox box(services());
  QCOMPARE(box.windowTitle(), QStringLiteral("A propos de..."));
  QCOMPARE(box.size(), QSize(429, 392));
  QCOMPARE(box.minimumSize(), box.maximumSize());
  const Qt::WindowFlags flags = box.windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
  QCOMPARE(box.font().family(), QStringLiteral("Tahoma"));
  QCOMPARE(box.font().pixelSize(), 11);
  QVERIFY(child<QLabel>(box, "ProductNameLabel")->font().bold());
  const QPixmap picture = child<QLabel>(box, "AboutImage1")->pixmap();
  QCOMPARE(picture.size(), QSize(49, 49));
  // Silver is see-through: the bottom-left corner shows the background.
  QCOMPARE(qAlpha(picture.toImage().pixel(0, 48)), 0);
  QCOMPARE(qAlpha(picture.toImage().pixel(7, 7)), 255);  // the teal body
}

void AboutBoxTest::descriptionLines() {
  TAboutBox box(services());
  auto* memo = child<QPlainTextEdit>(box, "Memo1");
  QStringList lines;
  for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next())
    lines.append(block.text());
  const QStringList expected = {
      QStringLiteral("Tallix est une calculette simple, sans prétention aucune, qui prendra peu "),
      QStringLiteral("de place sur votre bureau."),
      QString(),
      QStringLiteral("Elle pourra également être utilisée par des personnes ne possédant pas "),
      QStringLiteral("de connaissances particulières en mathématiques."),
      QString(),
      QStringLiteral("La programmation de logiciels étant complexe, il se peut qu'il subsiste, "),
      QStringLiteral("malgré mon travail et mes efforts, des imperfections dans ce logiciel. "),
      QStringLiteral("Si vous constatez des disfonctionnements, n'hésitez pas à m'en faire part, "),
      QStringLiteral("et j'essaierais de rectifier cela dans la mesure du possible."),
      QString(),
      QStringLiteral("Je vous souhaite une utilisation agréable de ce logiciel."),
  };
  QCOMPARE(lines, expected);
  QVERIFY(memo->isReadOnly());
  QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  QCOMPARE(memo->wordWrapMode(), QTextOption::WordWrap);
  QCOMPARE(memo->palette().color(QPalette::Base), QColor(Qt::white));
  // Read-only: typing changes nothing.
  memo->setFocus();
  QTest::keyClicks(memo, "xyz");
  QCOMPARE(memo->document()->blockCount(), 12);
  QCOMPARE(memo->document()->firstBlock().text(), expected.first());
}

void AboutBoxTest::figuresBeforeShowing() {
  auto machine = std::make_shared<FakeMachine>(2147483648ull, 1073741824);
  machine_ = machine;
  TAboutBox box(services());  // the start-up instance: built, never shown
  QCOMPARE(child<QLabel>(box, "PhysMemLabel")->text(), QStringLiteral("0"));
  QCOMPARE(child<QLabel>(box, "DisqueDurLabel")->text(), QStringLiteral("0"));
  QCOMPARE(child<QLabel>(box, "PhysMemLabel")->geometry().right() + 1, 321);
  QCOMPARE(machine->memoryReads + machine->diskReads, 0);
}

void AboutBoxTest::figuresOnShow_data() {
  QTest::addColumn<quint64>("memory");
  QTest::addColumn<qint64>("disk");
  QTest::addColumn<QString>("memoryText");
  QTest::addColumn<QString>("diskText");
  QTest::newRow("2 GiB, 1 GiB disk") << quint64(2147483648ull) << qint64(1073741824) << kb("2 097 152 KB")
                                     << "1024 MB";
  QTest::newRow("32-bit maximum") << quint64(4294967295ull) << qint64(1048575) << kb("4 194 304 KB") << "0 MB";
  QTest::newRow("16 GiB, 4 TB disk") << quint64(17179869184ull) << qint64(4000000000000ll) << kb("16 777 216 KB")
                                     << "3814697 MB";
  QTest::newRow("disk not queried") << quint64(1048576) << qint64(-1) << kb("1 024 KB") << "0";
}

void AboutBoxTest::figuresOnShow() {
  QFETCH(quint64, memory);
  QFETCH(qint64, disk);
  QFETCH(QString, memoryText);
  QFETCH(QString, diskText);
  machine_ = std::make_shared<FakeMachine>(memory, disk);
  TAboutBox box(services());
  box.show();
  auto* mem = child<QLabel>(box, "PhysMemLabel");
  auto* dsk = child<QLabel>(box, "DisqueDurLabel");
  QCOMPARE(mem->text(), memoryText);
  QCOMPARE(dsk->text(), diskText);
  // Right-justified: both figures end at x = 321 whatever their width.
  QCOMPARE(mem->geometry().right() + 1, 321);
  QCOMPARE(dsk->geometry().right() + 1, 321);
  QCOMPARE(mem->width(), mem->fontMetrics().horizontalAdvance(memoryText));
  QCOMPARE(child<QLabel>(box, "MemoirePhysiqueLabel")->text(), QStringLiteral("Mémoire physique disponible :"));
  QCOMPARE(child<QLabel>(box, "CapaciteDisqueDurLabel1")->text(), QStringLiteral("Capacité du disque dur C :"));
}

void AboutBoxTest::figuresReadAfreshOnEachShowing() {
  auto first = std::make_shared<FakeMachine>(2147483648ull, 1073741824);
  machine_ = first;
  {
    TAboutBox box(services());
    box.show();
    QCOMPARE(first->memoryReads, 1);
    QCOMPARE(first->diskReads, 1);
  }
  auto second = std::make_shared<FakeMachine>(17179869184ull, 2147483648ll);
  machine_ = second;
  TAboutBox again(services());
  again.show();
  QCOMPARE(child<QLabel>(again, "PhysMemLabel")->text(), kb("16 777 216 KB"));
  QCOMPARE(child<QLabel>(again, "DisqueDurLabel")->text(), QStringLiteral("2048 MB"));
  QCOMPARE(first->memoryReads, 1);
  // Hidden and shown again: read once more, not refreshed in between.
  again.hide();
  again.show();
  QCOMPARE(second->memoryReads, 2);
  QCOMPARE(second->diskReads, 2);
}

void AboutBoxTest::closeKeys_data() {
  QTest::addColumn<bool>("onButton");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<bool>("closes");
  QTest::newRow("Enter on the button") << true << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
  QTest::newRow("keypad Enter on the button") << true << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
  QTest::newRow("Space on the button") << true << int(Qt::Key_Space) << int(Qt::NoModifier) << true;
  QTest::newRow("Alt+F from the description") << false << int(Qt::Key_F) << int(Qt::AltModifier) << true;
  QTest::newRow("Enter in the description") << false << int(Qt::Key_Return) << int(Qt::NoModifier) << false;
  QTest::newRow("F alone in the description") << false << int(Qt::Key_F) << int(Qt::NoModifier) << false;
  QTest::newRow("click") << true << 0 << 0 << true;
  // Only the close button and the title-bar close box close this window.
  QTest::newRow("Escape in the description") << false << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
  QTest::newRow("Escape on the button") << true << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
}

void AboutBoxTest::closeKeys() {
  QFETCH(bool, onButton);
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(bool, closes);
  machine_ = std::make_shared<FakeMachine>(1, -1);
  TAboutBox box(services());
  box.show();
  QVERIFY(QTest::qWaitForWindowActive(&box));
  auto* fermer = child<QPushButton>(box, "ButtonFermer");
  QCOMPARE(box.focusWidget(), child<QWidget>(box, "Memo1"));  // first in the tab order
  if (onButton) {
    QTest::keyClick(&box, Qt::Key_Tab);
    QCOMPARE(box.focusWidget(), fermer);  // second in the tab order
  }
  if (key == 0)
    QTest::mouseClick(fermer, Qt::LeftButton);
  else
    QTest::keyClick(box.focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  if (closes) {
    QVERIFY(QTest::qWaitFor([&] { return !box.isVisible(); }));
    QCOMPARE(box.result(), int(QDialog::Rejected));
  } else {
    QTest::qWait(20);
    QVERIFY(box.isVisible());
  }
}

void AboutBoxTest::centredOnTheDesktop() {
  TAboutBox box(services());
  box.show();
  const QRect desktop = box.screen()->virtualGeometry();
  const QRect frame = box.frameGeometry();
  QVERIFY(qAbs(frame.left() - desktop.left() - (desktop.right() - frame.right())) <= 1);
  QVERIFY(qAbs(frame.top() - desktop.top() - (desktop.bottom() - frame.bottom())) <= 1);
}

void AboutBoxTest::webSiteButton() {
  TAboutBox box(services());
  auto* link = child<QPushButton>(box, "ButtonAutresLogiciels");
  QCOMPARE(link->focusPolicy(), Qt::NoFocus);
  QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
  QVERIFY(link->font().underline());
  QCOMPARE(link->palette().color(QPalette::ButtonText), QColor(Qt::blue));
  QVERIFY(TAboutBox::authorUrl().startsWith(QLatin1String("http")));

  UrlCatcher catcher;
  const QString scheme = QUrl(TAboutBox::authorUrl()).scheme();
  QDesktopServices::setUrlHandler(scheme, &catcher, "open");
  box.show();
  QTest::mouseClick(link, Qt::LeftButton);
  QDesktopServices::unsetUrlHandler(scheme);
  QCOMPARE(catcher.urls, QList<QUrl>{QUrl(TAboutBox::authorUrl())});
  QVERIFY(box.isVisible());  // stays open whatever the browser did
}

// An application-wide F1 shortcut stands in for the main window's help route:
// it fires in an ordinary dialog but never in the About window.
void AboutBoxTest::f1DoesNothing() {
  QWidget owner;
  owner.show();
  QShortcut help(QKeySequence(Qt::Key_F1), &owner);
  help.setContext(Qt::ApplicationShortcut);
  QSignalSpy fired(&help, &QShortcut::activated);

  QDialog plain;
  plain.show();
  QVERIFY(QTest::qWaitForWindowActive(&plain));
  QTest::keyClick(&plain, Qt::Key_F1);
  QCOMPARE(fired.count(), 1);  // the probe works
  plain.hide();

  TAboutBox box(services());
  box.show();
  QVERIFY(QTest::qWaitForWindowActive(&box));
  QTest::keyClick(box.focusWidget(), Qt::Key_F1);
  QTest::keyClick(child<QWidget>(box, "ButtonFermer"), Qt::Key_F1);
  QCOMPARE(fired.count(), 1);
  QVERIFY(box.isVisible());
}

// Nothing else in this test program loads the font: the window must.
void AboutBoxTest::usesTahomaByItself() {
  if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma")) &&
      !QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
    QSKIP("no Tahoma on this system");
  TAboutBox box(services());
  QCOMPARE(QFontInfo(child<QLabel>(box, "MemoirePhysiqueLabel")->font()).family(), QStringLiteral("Tahoma"));
  QCOMPARE(QFontInfo(child<QLabel>(box, "ProductNameLabel")->font()).family(), QStringLiteral("Tahoma"));
}

void AboutBoxTest::productNameStaysBoldAtTwiceTheScale() {
  TAboutBox box(services());
  auto* name = child<QLabel>(box, "ProductNameLabel");
  const auto ink = [name] {
    QImage image(name->size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    name->render(&image);
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) sum += 255 - qGray(image.pixel(x, y));
    return sum;
  };
  const double bold = ink();
  QFont regular = name->font();
  regular.setBold(false);
  name->setFont(regular);
  const double plain = ink();
  QVERIFY2(bold > plain * 1.2, qPrintable(QStringLiteral("bold %1, regular %2").arg(bold).arg(plain)));
}

// The emboldened regular face keeps regular advances (91 pixels); the name
// takes the 106 of Tahoma Bold, and its last character is drawn out there.
void AboutBoxTest::productNameHasTheBoldFacesWidth() {
  if (!tallix::ui::tahomaBoldAdvances(11).isValid())
    QSKIP("the bold here is a real bold face, or fonts-wine's Tahoma is absent");
  TAboutBox box(services());
  auto* name = child<QLabel>(box, "ProductNameLabel");
  QCOMPARE(name->width(), 106);
  QImage image(name->size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  name->render(&image);
  int lastInk = -1;
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (qGray(image.pixel(x, y)) < 128) lastInk = x;
  QVERIFY2(lastInk >= 100, qPrintable(QString::number(lastInk)));
}

// A machine whose disk cannot be asked without an error.
class FailingDisk final : public MachineFigures {
 public:
  std::uint64_t totalPhysicalMemory() const override { return 2147483648ull; }
  std::int64_t diskCapacity() const override { throw std::runtime_error("Disque illisible"); }
};

void AboutBoxTest::formShowErrorIsReportedWhileTheWindowIsShown() {
  machine_ = std::make_shared<FailingDisk>();
  std::vector<tallix::Message> boxes;
  bool shownWhileReported = false;
  TAboutBox box(services());
  host_.onMessage = [&](const tallix::Message& m) {
    boxes.push_back(m);
    shownWhileReported = box.isVisible();
  };
  box.show();
  host_.onMessage = nullptr;
  QCOMPARE(boxes.size(), std::size_t{1});
  QCOMPARE(boxes.front().text, std::string("Disque illisible."));
  QCOMPARE(boxes.front().icon, tallix::MessageIcon::Stop);
  QVERIFY(shownWhileReported);
  QVERIFY(box.isVisible());
  // The figure filled before the error stays; the one after keeps its "0".
  QCOMPARE(child<QLabel>(box, "PhysMemLabel")->text(), kb("2 097 152 KB"));
  QCOMPARE(child<QLabel>(box, "DisqueDurLabel")->text(), QStringLiteral("0"));
}

void AboutBoxTest::render() {
  machine_ = std::make_shared<FakeMachine>(17179869184ull, 4000000000000ll);
  TAboutBox box(services());
  box.show();
  const QString path = QStringLiteral(TALLIX_TEST_OUTPUT_DIR "/about_box.png");
  QVERIFY(box.grab().save(path));
  QImage twice(box.size() * 2, QImage::Format_ARGB32_Premultiplied);
  twice.setDevicePixelRatio(2);
  box.render(&twice);
  QVERIFY(twice.save(QStringLiteral(TALLIX_TEST_OUTPUT_DIR "/about_box_2x.png")));
  auto* fermer = child<QPushButton>(box, "ButtonFermer");
  fermer->setEnabled(false);
  QVERIFY(fermer->grab().save(QStringLiteral(TALLIX_TEST_OUTPUT_DIR "/about_fermer_disabled.png")));
}

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
