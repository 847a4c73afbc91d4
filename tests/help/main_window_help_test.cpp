// Help reached through the main window with the real viewer and the help
// file laid beside this test program, as it lies beside the calculator:
// "Aide" and F1 show topic 1000, F1 in the About window shows nothing, and a
// missing help file leaves the calculator working.
#include <QtTest>

#include <QScreen>
#include <QTimer>

#include "test_fonts.h"
#include "ui/about/about_box.h"
#include "ui/report/align_edit.h"
#include "ui/common/application.h"
#include "ui/main_window/calculette_main.h"
#include "ui/help/help.h"
#include "ui/help/help_viewer.h"
#include "ui_services.h"
#include "ui/main_window/speed_button.h"

using namespace tallix::ui;

namespace {

QList<HelpViewer*> viewers() {
  QList<HelpViewer*> found;
  for (QWidget* w : QApplication::allWidgets())
    if (auto* viewer = qobject_cast<HelpViewer*>(w); viewer != nullptr && viewer->isVisible()) found.append(viewer);
  return found;
}

void closeViewers() {
  for (HelpViewer* viewer : viewers()) viewer->close();
  QVERIFY(QTest::qWaitFor([] { return viewers().isEmpty(); }));
}

}  // namespace

class MainWindowHelpTest : public QObject {
  Q_OBJECT
 public:
  explicit MainWindowHelpTest(tallix::ui::testing::RecordingQtHost& host) : host_(host) {}

 private slots:
  void initTestCase() {
    loadTahoma();
    QVERIFY2(QFile::exists(helpFile()), qPrintable(helpFile()));
    window_ =
        std::make_unique<TCalculetteMain>(Services{host_, help_, machine_}, tallix::Separateurs{U',', U' '});
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void cleanupTestCase() { window_.reset(); }
  void cleanup() { closeViewers(); }

  void aideOpensTopic1000OwnedByTheWindow();
  void f1OpensTopic1000WithoutOwner();
  void f1InTheAboutWindowDoesNothing();
  void missingHelpFileChangesNothingElse();
  void viewerOpensBesideTheCalculator();
  void aSecondRequestBringsTheOpenViewerForward();
  void withNoActiveWindowTheViewerStillOpensBeside();

 private:
  static QString helpFile() { return QCoreApplication::applicationDirPath() + QStringLiteral("/Tallix.chm"); }
  TSpeedButton* button(const char* name) { return window_->findChild<TSpeedButton*>(QLatin1String(name)); }
  QString ecran() { return window_->findChild<TAlignEdit*>(QStringLiteral("Ecran"))->content().text(); }
  // Asks for help as the user does: F1 on the active calculator, or "Aide".
  void askForHelp(bool fromF1) {
    if (!fromF1) {
      QTest::mouseClick(button("ButtonAide"), Qt::LeftButton);
      return;
    }
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QTest::keyClick(window_->findChild<TAlignEdit*>(QStringLiteral("Ecran")), Qt::Key_F1);
  }

  tallix::ui::testing::RecordingQtHost& host_;
  ViewerHelpOpener help_;  // the real viewer
  tallix::platform::LinuxMachineFigures machine_;
  std::unique_ptr<TCalculetteMain> window_;
};

void MainWindowHelpTest::aideOpensTopic1000OwnedByTheWindow() {
  QTest::mouseClick(button("ButtonAide"), Qt::LeftButton);
  QCOMPARE(viewers().size(), 1);
  HelpViewer* viewer = viewers().first();
  QCOMPARE(viewer->parentWidget(), window_.get());
  QCOMPARE(viewer->currentPage(), QStringLiteral("/index.htm"));
  QVERIFY(!viewer->isModal());
  // The calculator stays usable beside the viewer.
  QTest::mouseClick(button("Button7"), Qt::LeftButton);
  QCOMPARE(ecran(), QStringLiteral("7"));
  QTest::mouseClick(button("ButtonCancel"), Qt::LeftButton);
}

void MainWindowHelpTest::f1OpensTopic1000WithoutOwner() {
  askForHelp(true);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(viewers().size(), 1);
  HelpViewer* viewer = viewers().first();
  QCOMPARE(viewer->parentWidget(), nullptr);
  QCOMPARE(viewer->currentPage(), QStringLiteral("/index.htm"));
  QVERIFY(viewer->browser()->documentTitle() == QStringLiteral("Aide de Tallix"));
  QCOMPARE(viewer->windowTitle(), QStringLiteral("Aide de Tallix"));  // not said twice
}

void MainWindowHelpTest::f1InTheAboutWindowDoesNothing() {
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  bool sawBox = false;
  QTimer poll;
  poll.setInterval(20);
  connect(&poll, &QTimer::timeout, this, [&] {
    const QList<TAboutBox*> boxes = window_->findChildren<TAboutBox*>();
    if (boxes.isEmpty() || !boxes.first()->isVisible()) return;
    poll.stop();
    TAboutBox* box = boxes.first();
    sawBox = true;
    if (QTest::qWaitForWindowActive(box)) {
      QTest::keyClick(box->focusWidget(), Qt::Key_F1);
      QTest::keyClick(box, Qt::Key_F1);
    }
    box->close();
  });
  poll.start();
  QTest::mouseClick(button("AboutButton"), Qt::LeftButton);  // returns once the box closed
  QVERIFY(sawBox);
  QVERIFY(viewers().isEmpty());
  QVERIFY(window_->findChildren<TAboutBox*>().isEmpty());  // destroyed after closing
}

void MainWindowHelpTest::missingHelpFileChangesNothingElse() {
  const QString aside = helpFile() + QStringLiteral(".aside");
  QFile::remove(aside);
  QVERIFY(QFile::rename(helpFile(), aside));
  QTest::mouseClick(button("ButtonAide"), Qt::LeftButton);
  const QList<HelpViewer*> open = viewers();
  QVERIFY(QFile::rename(aside, helpFile()));
  QCOMPARE(open.size(), 1);
  QVERIFY(open.first()->currentPage().isEmpty());
  QVERIFY(open.first()->browser()->toPlainText().contains(QStringLiteral("introuvable")));
  QTest::mouseClick(button("Button4"), Qt::LeftButton);
  QTest::mouseClick(button("AdditionButton"), Qt::LeftButton);
  QTest::mouseClick(button("Button5"), Qt::LeftButton);
  QTest::mouseClick(button("ResultatButton"), Qt::LeftButton);
  QCOMPARE(ecran(), QStringLiteral("9"));
}

// "Aide", then F1, then "Aide" again while the viewer is open: one window all
// along, back at topic 1000 each time, where the user moved it, not
// minimised, and owned as the latest request says.
void MainWindowHelpTest::aSecondRequestBringsTheOpenViewerForward() {
  QTest::mouseClick(button("ButtonAide"), Qt::LeftButton);
  QCOMPARE(viewers().size(), 1);
  QPointer<HelpViewer> first = viewers().first();
  for (const bool fromF1 : {true, false}) {
    emit first->browser()->anchorClicked(QUrl(QStringLiteral("decimales.htm")));
    QCOMPARE(first->currentPage(), QStringLiteral("/decimales.htm"));
    first->move(first->pos() + QPoint(7, 5));
    const QPoint moved = first->pos();
    first->showMinimized();
    askForHelp(fromF1);
    if (QTest::currentTestFailed()) return;
    QCOMPARE(viewers().size(), 1);
    QVERIFY(viewers().first() == first);
    QCOMPARE(first->currentPage(), QStringLiteral("/index.htm"));
    QVERIFY(!first->isMinimized());
    QCOMPARE(first->pos(), moved);
    QCOMPARE(first->parentWidget(), fromF1 ? nullptr : window_.get());
  }
}

// Without a window manager nothing may be active when F1 arrives: the
// viewer must still keep off the calculator, wherever that stands.
void MainWindowHelpTest::withNoActiveWindowTheViewerStillOpensBeside() {
  const QRect screen = window_->screen()->availableGeometry();
  window_->move(screen.topLeft());
  // Qt 6.5 deprecates this call for activateWindow(), which cannot make
  // no window active; nothing public replaces it for that.
  QT_WARNING_PUSH
  QT_WARNING_DISABLE_DEPRECATED
  QApplication::setActiveWindow(nullptr);
  QT_WARNING_POP
  QVERIFY(QApplication::activeWindow() == nullptr);
  help_.open(helpFile(), 1000, nullptr);
  QCOMPARE(viewers().size(), 1);
  QVERIFY(!viewers().first()->frameGeometry().intersects(window_->frameGeometry()));
}

void MainWindowHelpTest::viewerOpensBesideTheCalculator() {
  // Room on the right of the calculator: the viewer takes it and hides no
  // part of the calculator, whichever way it was opened. With the calculator
  // on the right edge the viewer goes to its left.
  const QRect screen = window_->screen()->availableGeometry();
  for (const bool onTheLeft : {true, false}) {
    window_->move(onTheLeft ? screen.topLeft() : QPoint(screen.right() + 1 - window_->frameGeometry().width(), screen.top()));
    for (const bool fromF1 : {false, true}) {
      askForHelp(fromF1);
      if (QTest::currentTestFailed()) return;
      QCOMPARE(viewers().size(), 1);
      const QRect viewer = viewers().first()->frameGeometry();
      QVERIFY2(!viewer.intersects(window_->frameGeometry()), fromF1 ? "F1" : "Aide");
      QVERIFY(screen.contains(viewer));
      QCOMPARE(viewer.center().x() > window_->frameGeometry().center().x(), onTheLeft);
      closeViewers();
    }
  }
}

int main(int argc, char** argv) {
  tallix::ui::testing::RecordingQtHost host;
  TallixApplication app(argc, argv, host);
  MainWindowHelpTest test(host);
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_help_test.moc"
