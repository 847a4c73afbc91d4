// The box of a long message on the offscreen platform: a 10 MB text shown
// whole in a box that fits the screen, scrolling, selectable, copyable,
// read by screen readers, closed by Enter and Escape.
#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "ui/common/long_text_view.h"
#include "ui/common/qt_host.h"
#include "ui/common/report_box.h"

using namespace tallix;
using namespace tallix::ui;

namespace {

const QString kTail = QStringLiteral("' n'est pas une valeur en virgule flottante correcte.");

QString conversionReport(qsizetype digits) {
  return QLatin1Char('\'') + QString(digits, QLatin1Char('7')) + kTail;
}

}  // namespace

class ReportBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void whichTextsAreLong_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isLong");
    QTest::newRow("conversion of abc") << conversionReport(3) << false;
    QTest::newRow("1000 characters") << QString(1000, QLatin1Char('7')) << false;
    QTest::newRow("1001 characters") << QString(1001, QLatin1Char('7')) << true;
    QTest::newRow("19 line breaks") << QString(19, QLatin1Char('\n')) << false;
    QTest::newRow("20 line breaks") << QString(20, QLatin1Char('\n')) << true;
  }
  void whichTextsAreLong() {
    QFETCH(QString, text);
    QFETCH(bool, isLong);
    QCOMPARE(ReportBox::isLong(text), isLong);
  }

  void tenMegabytesShowWholeInABoxThatFitsTheScreen() {
    const QString text = conversionReport(10'000'000);
    ReportBox box(MessageIcon::Stop, QStringLiteral("Tallix Standart"), text, nullptr);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QRect screen = box.screen()->availableGeometry();
    QVERIFY(box.frameGeometry().width() <= screen.width());
    QVERIFY(box.frameGeometry().height() <= screen.height());
    auto* ok = box.findChild<QPushButton*>();
    QVERIFY(ok != nullptr && ok->isVisible());
    QVERIFY(box.rect().contains(QRect(ok->mapTo(&box, QPoint(0, 0)), ok->size())));

    LongTextView* view = box.view();
    QCOMPARE(view->text(), text);
    QVERIFY(view->verticalScrollBar()->maximum() > 0);
    // Every line fits the view, and the words of the tail are never cut.
    const QFontMetrics metrics(view->font());
    for (qsizetype line : {qsizetype{0}, view->lineCount() / 2, view->lineCount() - 1}) {
      const QString shown = text.mid(view->lineStart(line), view->lineEnd(line) - view->lineStart(line));
      QVERIFY2(metrics.horizontalAdvance(shown) <= view->viewport()->width(), qPrintable(shown));
    }
    const QString last = text.mid(view->lineStart(view->lineCount() - 1));
    QVERIFY2(kTail.endsWith(last) || last.endsWith(kTail), qPrintable(last));
    QVERIFY(!last.startsWith(QLatin1Char(' ')));

    // Scrolled to the end, the last character is on show.
    view->ensureVisible(text.size() - 1);
    QVERIFY(view->viewport()->rect().contains(view->characterRect(text.size() - 1)));
  }

  void theWholeTextIsSelectableCopyableAndRead() {
    const QString text = conversionReport(200'000) + QStringLiteral("\nfin");
    ReportBox box(MessageIcon::Stop, QStringLiteral("Tallix Standart"), text, nullptr);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    LongTextView* view = box.view();

    // Ctrl+C with nothing selected copies the whole text.
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);

    // A drag over the first line selects what it crosses.
    const QRect first = view->characterRect(1), tenth = view->characterRect(10);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, first.topLeft() + QPoint(1, 2));
    QTest::mouseMove(view->viewport(), tenth.topLeft() + QPoint(1, 2));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, tenth.topLeft() + QPoint(1, 2));
    QCOMPARE(view->selectedText(), text.mid(1, 9));

    view->setFocus();
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(view);
    QVERIFY(accessible != nullptr && accessible->textInterface() != nullptr);
    QAccessibleTextInterface* reader = accessible->textInterface();
    QCOMPARE(reader->characterCount(), int(text.size()));
    QCOMPARE(reader->text(int(text.size()) - 3, int(text.size())), QStringLiteral("fin"));
    int start = 0, end = 0;
    QCOMPARE(reader->textAtOffset(int(text.size()) - 10, QAccessible::WordBoundary, &start, &end),
             QStringLiteral("correcte."));
  }

  void aBoxOpensCentredOverItsOwnerAndGivesTheFocusBack_data() {
    QTest::addColumn<int>("characters");
    QTest::newRow("short box") << 3;
    QTest::newRow("long box") << 5000;
  }
  void aBoxOpensCentredOverItsOwnerAndGivesTheFocusBack() {
    QFETCH(int, characters);
    QWidget owner;
    owner.setGeometry(300, 200, 262, 240);
    auto* field = new QLineEdit(&owner);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    field->setFocus();
    QPoint boxCentre;
    QTimer::singleShot(0, &owner, [&] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        boxCentre = box->frameGeometry().center();
        owner.activateWindow();  // as if the user had clicked the calculator meanwhile
        field->clearFocus();
        box->close();
      }
    });
    // As without a window manager: no window is active, the box still
    // belongs to the calculator on show.
    // Qt 6.5 deprecates this call for activateWindow(), which cannot make
    // no window active; nothing public replaces it for that.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(nullptr);
    QT_WARNING_POP
    QtHost host;
    std::string text(1, '\'');
    text.append(characters, '7').append("' n'est pas une valeur en virgule flottante correcte.");
    host.showMessage(Message{"Tallix Standart", text, MessageIcon::Stop, false});
    QVERIFY((boxCentre - owner.frameGeometry().center()).manhattanLength() <= 2);
    QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == &owner; }));
    QCOMPARE(QApplication::focusWidget(), field);
  }

  void enterAndEscapeCloseIt_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter presses OK") << int(Qt::Key_Return) << int(QDialog::Accepted);
    QTest::newRow("Escape closes") << int(Qt::Key_Escape) << int(QDialog::Rejected);
  }
  void enterAndEscapeCloseIt() {
    QFETCH(int, key);
    QFETCH(int, result);
    ReportBox box(MessageIcon::Stop, QStringLiteral("Tallix Standart"), conversionReport(5000), nullptr);
    QTimer::singleShot(0, &box, [&box, key] {
      QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &box, Qt::Key(key));
    });
    QCOMPARE(box.exec(), result);
  }
};

QTEST_MAIN(ReportBoxTest)
#include "test_report_box.moc"
