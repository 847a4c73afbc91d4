// The main window driven as a user drives it: clicks, typed keys, the
// clipboard, the popup menu, the reports, help and the About window.
#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLibraryInfo>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <memory>
#include <stdexcept>

#include "engine/error.h"
#include "test_window_support.h"
#include "ui_services.h"
#include "ui/about/about_box.h"
#include "ui/report/align_edit.h"
#include "ui/common/application.h"
#include "ui/main_window/calculette_main.h"
#include "ui/main_window/speed_button.h"

Q_DECLARE_METATYPE(std::exception_ptr)

using namespace tallix;
using namespace tallix::ui;
using tallix::ui::testing::ModalWatchdog;
using tallix::ui::testing::RecordingQtHost;
using tallix::ui::testing::TestServices;

namespace {

// A widget whose mouse handler fails, as a faulty handler would.
class FailingWidget : public QWidget {
 public:
  explicit FailingWidget(std::exception_ptr error) : error_(std::move(error)) {}

 protected:
  void mousePressEvent(QMouseEvent*) override { std::rethrow_exception(error_); }

 private:
  std::exception_ptr error_;
};

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 public:
  explicit WindowTest(TestServices& services) : services_(services), boxes(&services.host) {}

 private:
  TestServices& services_;
  std::unique_ptr<TCalculetteMain> window;
  RecordingQtHost* boxes;

  TSpeedButton* button(const char* name) {
    auto* b = window->findChild<TSpeedButton*>(QLatin1String(name));
    if (b == nullptr) qFatal("no button %s", name);
    return b;
  }
  TAlignEdit* ecran() { return window->findChild<TAlignEdit*>(QStringLiteral("Ecran")); }
  QString display() { return ecran()->content().text(); }
  void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
  void type(const QString& keys) { QTest::keyClicks(ecran(), keys); }

 private slots:
  void init() {
    boxes->messages.clear();
    services_.help.opened.clear();
    window = std::make_unique<TCalculetteMain>(services_.services(), Separateurs{U',', U' '});
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }

  void cleanup() {
    window.reset();
    boxes->onMessage = nullptr;
  }

  void startsAsDesigned() {
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvuroreza"));
    QCOMPARE(window->size(), QSize(262, 240));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // The teal calculator reaches the window system, not an empty icon.
    QCOMPARE(window->windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
    QVERIFY(window->windowHandle() != nullptr);
    QVERIFY(!window->windowHandle()->icon().isNull());
    QCOMPARE(window->windowIconText(), QStringLiteral("Tallix Standart"));
    QCOMPARE(display(), QStringLiteral("0"));
    QVERIFY(ecran()->isReadOnly());
    QCOMPARE(ecran()->alignment(), TAlignEdit::taRightJustify);
    QVERIFY(ecran()->QLineEdit::alignment() & Qt::AlignRight);
    QVERIFY(button("ButtonToutesDecimales")->isChecked());
    QCOMPARE(QApplication::focusWidget() == nullptr || QApplication::focusWidget() == ecran(), true);
    QCOMPARE(window->focusWidget(), ecran());
  }

  void everyControlIsThereAndNeverTakesTheFocus() {
    int buttons = 0;
    for (int i = 0; i < kControlCount; ++i) {
      const auto name = controlName(static_cast<Control>(i));
      auto* b = window->findChild<TSpeedButton*>(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
      QVERIFY2(b != nullptr, name.data());
      QCOMPARE(b->focusPolicy(), Qt::NoFocus);
      QVERIFY2(!b->accessibleName().isEmpty(), name.data());
      QVERIFY2(QRect(0, 0, 262, 240).contains(b->geometry()), name.data());
      ++buttons;
    }
    QCOMPARE(buttons, kControlCount);
    QCOMPARE(button("ResultatButton")->geometry(), QRect(151, 166, 94, 38));
    QCOMPARE(button("Button0")->geometry(), QRect(50, 102, 62, 30));
    QCOMPARE(ecran()->geometry(), QRect(18, 8, 226, 27));
    QCOMPARE(button("NombrePhiButton")->toolTip(), QStringLiteral("Nombre d'or"));
    QVERIFY(button("Button1")->transparent() == false && button("Button2")->transparent() == false);
    QVERIFY(button("Button3")->transparent());
    QCOMPARE(button("PuissanceCubeButton")->Tag, 8);
    QCOMPARE(button("RacineCarreeButton")->accessibleName(), QStringLiteral("racine carrée"));
    QVERIFY(!button("RetourArriereButton")->glyph().isNull());
    QCOMPARE(button("RetourArriereButton")->glyph().size(), QSize(24, 16));
  }

  void roadOfTwoPlusThreeTyped() {
    QStringList seen;
    type(QStringLiteral("2"));
    seen << display();
    type(QStringLiteral("+"));
    seen << display();
    type(QStringLiteral("3"));
    seen << display();
    QTest::keyClick(ecran(), Qt::Key_Return);
    seen << display();
    QCOMPARE(seen, (QStringList{"2", "2", "3", "5"}));
    QVERIFY(boxes->messages.empty());
  }

  void keyTable_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("small x does nothing") << "6x3" << "63";
    QTest::newRow("capital X multiplies") << "6X3=" << "18";
    QTest::newRow("star multiplies") << "6*3=" << "18";
    QTest::newRow("space is C") << "12+3 " << "0";
    QTest::newRow("backspace") << "123\b" << "12";
    QTest::newRow("point types the regional comma") << "1.5" << "1,5";
    QTest::newRow("comma types the regional comma") << "1,5" << "1,5";
    QTest::newRow("division and minus") << "9/3-1=" << "2";
    QTest::newRow("letters and blanks ignored") << "a7b" << "7";
  }
  void keyTable() {
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    for (QChar c : keys) {
      if (c == QLatin1Char('\b')) {
        QTest::keyClick(ecran(), Qt::Key_Backspace);
      } else {
        QTest::keyClicks(ecran(), QString(c));
      }
    }
    QCOMPARE(display(), expected);
  }

  void keypadEnterAndKeysSentToTheWindowItself() {
    type(QStringLiteral("4*5"));
    QTest::keyClick(ecran(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(display(), QStringLiteral("20"));
    // A key delivered to the window while the display holds the focus is
    // handled once, where it lands first.
    type(QStringLiteral("+1="));
    QCOMPARE(display(), QStringLiteral("21"));
    // With Ctrl or Alt held, Enter and Backspace type nothing.
    type(QStringLiteral("+2"));
    QTest::keyClick(ecran(), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(ecran(), Qt::Key_Backspace, Qt::ControlModifier);
    QTest::keyClick(ecran(), Qt::Key_Enter, Qt::AltModifier);
    QCOMPARE(display(), QStringLiteral("2"));
    QTest::keyClick(ecran(), Qt::Key_Return);
    QCOMPARE(display(), QStringLiteral("23"));
  }

  void keysOfAnotherWindowStayThere() {
    QLineEdit other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QTest::keyClicks(&other, QStringLiteral("7+1"));
    QTest::keyClick(&other, Qt::Key_Return);
    QTest::keyClick(&other, Qt::Key_F1);
    QCOMPARE(other.text(), QStringLiteral("7+1"));
    QCOMPARE(display(), QStringLiteral("0"));
    QVERIFY(services_.help.opened.empty());
  }

  void mouseClicksAndReleaseOutside() {
    click("Button7");
    click("AdditionButton");
    click("Button1");
    click("ResultatButton");
    QCOMPARE(display(), QStringLiteral("8"));
    TSpeedButton* nine = button("Button9");
    QTest::mousePress(nine, Qt::LeftButton);
    QTest::mouseRelease(nine, Qt::LeftButton, {}, QPoint(-8, -8));
    QCOMPARE(display(), QStringLiteral("8"));
  }

  void toggleGroup() {
    type(QStringLiteral("10/3="));
    QCOMPARE(display().left(6), QStringLiteral("3,3333"));
    click("ButtonLimiterADeuxDecimales");
    QCOMPARE(display(), QStringLiteral("3,33"));
    click("ButtonLimiterAQuatreDecimales");
    QCOMPARE(display(), QStringLiteral("3,3333"));
    QVERIFY(!button("ButtonLimiterADeuxDecimales")->isChecked());
    QVERIFY(button("ButtonLimiterAQuatreDecimales")->isChecked());
    QVERIFY(!button("ButtonToutesDecimales")->isChecked());
    // The down toggle stays down and its handler runs again.
    type(QStringLiteral("7"));
    click("ButtonLimiterAQuatreDecimales");
    QVERIFY(button("ButtonLimiterAQuatreDecimales")->isChecked());
    QCOMPARE(display(), QStringLiteral("3,3333"));
    QCOMPARE(window->session().decimalMode(), DecimalMode::Quatre);
  }

  void copyAndPasteWithTheSystemClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    type(QStringLiteral("42"));
    ecran()->setSelection(0, 1);  // only "4" selected: the whole text goes
    QTest::keyClick(ecran(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("42"));
    QCOMPARE(display(), QStringLiteral("42"));

    clipboard->setText(QStringLiteral("0042"));
    QTest::keyClick(ecran(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(display(), QStringLiteral("42"));
    clipboard->clear();
    QTest::keyClick(ecran(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(display(), QStringLiteral("0"));

    // The menu's items do the same.
    clipboard->setText(QStringLiteral("12"));
    QMenu* menu = window->popupMenu();
    menu->findChild<QAction*>(QStringLiteral("MenuColler"))->trigger();
    QCOMPARE(display(), QStringLiteral("12"));
    clipboard->setText(QString());
    menu->findChild<QAction*>(QStringLiteral("PopUpCopier"))->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("12"));
    QVERIFY(boxes->messages.empty());
  }

  void longPastesShowWhole() {
    // Fifty thousand leading zeros: the window mirrors the normalised text
    // once, instead of once per removed zero.
    QSignalSpy changes(ecran(), &QLineEdit::textChanged);
    QGuiApplication::clipboard()->setText(QString(50000, QLatin1Char('0')) + QLatin1Char('5'));
    QTest::keyClick(ecran(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(display(), QStringLiteral("5"));
    QCOMPARE(changes.count(), 1);

    // A text beyond the edit's usual 32767 characters is shown whole.
    const QString digits(100000, QLatin1Char('7'));
    QGuiApplication::clipboard()->setText(digits);
    QTest::keyClick(ecran(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(display(), digits);
    QTest::keyClick(ecran(), Qt::Key_Backspace);
    QCOMPARE(display().size(), digits.size() - 1);
  }

  void pastedTextThatIsNoNumberReportsAtTheNextOperator() {
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    QTest::keyClick(ecran(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(display(), QStringLiteral("abc"));
    QVERIFY(boxes->messages.empty());
    type(QStringLiteral("+"));
    QCOMPARE(boxes->messages.size(), std::size_t{1});
    const Message& box = boxes->messages.front();
    QCOMPARE(box.caption, std::string("Tallix Standart"));
    QCOMPARE(box.text, std::string("'abc' n'est pas une valeur en virgule flottante correcte."));
    QCOMPARE(box.icon, MessageIcon::Stop);
    // The loop and the calculator go on.
    type(QStringLiteral(" 2+2="));
    QCOMPARE(display(), QStringLiteral("4"));
  }

  void aReportCancelsAButtonHeldDown() {
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    QTest::keyClick(ecran(), Qt::Key_V, Qt::ControlModifier);
    TSpeedButton* seven = button("Button7");
    QTest::mousePress(seven, Qt::LeftButton);
    QVERIFY(seven->isDown());
    type(QStringLiteral("+"));  // the conversion error is reported meanwhile
    QCOMPARE(boxes->messages.size(), std::size_t{1});
    QVERIFY(!seven->isDown());
    QTest::mouseRelease(seven, Qt::LeftButton);  // the cancelled press clicks nothing
    QCOMPARE(display(), QStringLiteral("abc"));
  }

  void squareRootOfMinusFourShowsTheInvalidInputBox() {
    click("Button4");
    click("ButtonNeg");
    QCOMPARE(display(), QStringLiteral("-4"));
    click("RacineCarreeButton");
    QCOMPARE(boxes->messages.size(), std::size_t{1});
    const Message& box = boxes->messages.front();
    QCOMPARE(box.caption, std::string("Duvuroreza"));
    QCOMPARE(box.text, std::string("Entrée de la fonction incorrecte"));
    QCOMPARE(box.icon, MessageIcon::Warning);
  }

  void errorsEscapingAHandlerAreReportedAndTheLoopGoesOn_data() {
    QTest::addColumn<std::exception_ptr>("error");
    QTest::addColumn<QString>("text");
    QTest::newRow("division by zero") << std::make_exception_ptr(CalcError::ofKind(ErrorKind::EZeroDivide))
                                      << QStringLiteral("Division par zéro en virgule flottante.");
    QTest::newRow("memory exhausted") << std::make_exception_ptr(std::bad_alloc())
                                      << QStringLiteral("Mémoire insuffisante.");
    QTest::newRow("message ending in a bracket") << std::make_exception_ptr(std::runtime_error("échec (x)"))
                                                 << QStringLiteral("échec (x)");
  }
  void errorsEscapingAHandlerAreReportedAndTheLoopGoesOn() {
    QFETCH(std::exception_ptr, error);
    QFETCH(QString, text);
    FailingWidget failing(error);
    failing.resize(20, 20);
    failing.show();
    QVERIFY(QTest::qWaitForWindowExposed(&failing));
    QTest::mouseClick(&failing, Qt::LeftButton);
    QCOMPARE(boxes->messages.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes->messages.front().text), text);
    QCOMPARE(boxes->messages.front().caption, std::string("Tallix Standart"));
    QCOMPARE(boxes->messages.front().icon, MessageIcon::Stop);
    QTest::mouseClick(&failing, Qt::LeftButton);  // a second time: still reported
    QCOMPARE(boxes->messages.size(), std::size_t{2});
    click("Button5");
    QCOMPARE(display(), QStringLiteral("5"));
  }

  void formCreateErrorIsReportedAndTheWindowStillWorks() {
    services_.help.failure = std::make_exception_ptr(CalcError::ofKind(ErrorKind::EOverflow));
    boxes->messages.clear();
    TCalculetteMain other(services_.services(), Separateurs{});
    services_.help.failure = nullptr;
    QCOMPARE(boxes->messages.size(), std::size_t{1});
    QCOMPARE(boxes->messages.front().text, std::string("Débordement en virgule flottante."));
    QVERIFY(other.fichierAide().isEmpty());  // the steps after the failing one did not run
    QCOMPARE(other.cheminApplication(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    QTest::mouseClick(other.findChild<TSpeedButton*>(QStringLiteral("Button3")), Qt::LeftButton);
    QCOMPARE(other.findChild<TAlignEdit*>(QStringLiteral("Ecran"))->content().text(), QStringLiteral("3"));
  }

  void helpFromTheButtonF1AndTheMenu() {
    const auto& opened = services_.help.opened;
    click("ButtonAide");
    QTest::keyClick(ecran(), Qt::Key_F1);
    QMenu* menu = window->popupMenu();
    menu->popup(window->mapToGlobal(QPoint(100, 100)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::keyClick(menu, Qt::Key_F1);
    menu->close();
    bool callHelp = false;
    const std::size_t before = opened.size();
    window->HelpChm(8, 1000, callHelp);  // a pop-up request is swallowed: nothing opens
    QCOMPARE(opened.size(), before);
    QVERIFY(callHelp);

    QCOMPARE(opened.size(), std::size_t{3});
    const QString file = QCoreApplication::applicationDirPath() + QStringLiteral("/Tallix.chm");
    QCOMPARE(opened[0].path, file);
    QCOMPARE(opened[0].context, 1000);
    QCOMPARE(opened[0].owner, window.get());
    QCOMPARE(opened[1].context, 1000);
    QCOMPARE(opened[1].owner, nullptr);
    QCOMPARE(opened[2].context, 1000);
    QCOMPARE(opened[2].owner, nullptr);
    QCOMPARE(display(), QStringLiteral("0"));
  }

  void displayLineMenuSpeaksFrench() {
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(translations + QStringLiteral("/qtbase_fr.qm"))) {
      QSKIP("Qt's French translation is not installed");
    }
    // The first context-menu request anywhere loads the translation.
    QWidget bare;
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(1, 1), bare.mapToGlobal(QPoint(1, 1)));
    QCoreApplication::sendEvent(&bare, &request);
    std::unique_ptr<QMenu> menu(ecran()->createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions()) {
      texts << action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
    }
    QVERIFY2(texts.contains(QStringLiteral("Copier")), qPrintable(texts.join(QLatin1Char('|'))));
    QVERIFY2(texts.contains(QStringLiteral("Tout sélectionner")), qPrintable(texts.join(QLatin1Char('|'))));
    // The report's text menu takes the same two captions from there.
    QCOMPARE(LongText::copyCaption(), QStringLiteral("Copier"));
    QCOMPARE(LongText::selectAllCaption(), QStringLiteral("Tout sélectionner"));
  }

  void popupMenuOnTheKeypadOnly() {
    QMenu* menu = window->popupMenu();
    const QList<QAction*> items = menu->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->text(), QStringLiteral("Copier"));
    QCOMPARE(items[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    QCOMPARE(items[1]->text(), QStringLiteral("Coller"));
    QCOMPARE(items[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));

    TSpeedButton* seven = button("Button7");
    QContextMenuEvent onButton(QContextMenuEvent::Mouse, QPoint(5, 5), seven->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(seven, &onButton);
    QVERIFY(menu->isVisible());
    menu->close();

    QContextMenuEvent onDisplay(QContextMenuEvent::Mouse, QPoint(5, 5), ecran()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(ecran(), &onDisplay);
    QVERIFY(!menu->isVisible());  // the display line shows its own text menu
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<QMenu*>(w) != nullptr && w->isVisible()) w->close();
    }
  }

  void aboutWindowIsFreshModalAndFreed() {
    ModalWatchdog watchdog;  // fails nothing here: it closes the About window
    int shown = 0;
    int destroyed = 0;
    for (int round = 0; round < 2; ++round) {
      QTimer::singleShot(0, window.get(), [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<TAboutBox*>(modal)) {
          ++shown;
          QCOMPARE(box->parentWidget(), window.get());
          connect(box, &QObject::destroyed, this, [&] { ++destroyed; });
          box->close();
        }
      });
      click("AboutButton");
      QVERIFY(window->findChildren<TAboutBox*>().isEmpty());
      QCOMPARE(destroyed, round + 1);  // freed when it closed, before the next click
    }
    QCOMPARE(shown, 2);
  }

  void closeBoxAndFermerBehaveTheSame() {
    click("FermerButton");
    QVERIFY(!window->isVisible());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
  }

  void localeChangeRereadsTheSeparators() {
    const QByteArray saved = qgetenv("LC_ALL");
    qputenv("LC_ALL", "C");
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(window.get(), &change);
    QCOMPARE(window->session().separateurs().decimal, U'.');
    if (saved.isNull()) qunsetenv("LC_ALL"); else qputenv("LC_ALL", saved);
  }

  void renderAtOneAndTwoTimesScale() {
    const QString dir = qEnvironmentVariable("TALLIX_RENDER_DIR", QDir::tempPath());
    type(QStringLiteral("1234,5"));
    window->repaint();
    const QImage one = window->grab().toImage();
    QCOMPARE(one.size(), QSize(262, 240));
    QVERIFY(one.save(dir + QStringLiteral("/window-1x.png")));

    QImage two(QSize(524, 480), QImage::Format_ARGB32_Premultiplied);
    two.setDevicePixelRatio(2.0);
    two.fill(Qt::white);
    window->render(&two);
    QVERIFY(two.save(dir + QStringLiteral("/window-2x.png")));

    // The picture shows through the keypad: blue at the top edge, pale near
    // the middle (sampled between the controls).
    const QColor top = one.pixelColor(5, 3);
    QVERIFY2(top.blue() > top.red() + 80, qPrintable(top.name()));
    const QColor middle = one.pixelColor(8, 115);
    QVERIFY2(middle.red() > 170, qPrintable(middle.name()));
  }
};

int main(int argc, char** argv) {
  TestServices services;
  TallixApplication app(argc, argv, services.host);
  QCoreApplication::setApplicationName(QStringLiteral("Tallix Standart"));
  WindowTest test(services);
  return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
