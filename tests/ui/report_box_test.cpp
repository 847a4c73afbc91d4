// The box of a long message on the offscreen platform: a 10 MB text shown
// whole in a box that fits the screen, scrolling, selectable, copyable,
// read by screen readers, closed by Enter and Escape.
#include <memory>

#include <QAccessible>
#include <QContextMenuEvent>
#include <QMenu>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "ui/report/align_edit.h"
#include "ui/report/long_text_view.h"
#include "ui/report/qt_host.h"
#include "ui/report/report_box.h"

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
    QCOMPARE(view->content().text(), text);
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
    box.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    LongTextView* view = box.view();
    const auto keyToFocus = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
      QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };

    // Ctrl+C with nothing selected copies the whole text, from the button.
    QCOMPARE(QApplication::focusWidget(), box.findChild<QPushButton*>());
    QGuiApplication::clipboard()->clear();
    keyToFocus(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);

    // A drag over the first line selects what it crosses, and gives the
    // text the focus.
    const QRect first = view->characterRect(1), tenth = view->characterRect(10);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, first.topLeft() + QPoint(1, 2));
    QTest::mouseMove(view->viewport(), tenth.topLeft() + QPoint(1, 2));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, tenth.topLeft() + QPoint(1, 2));
    QCOMPARE(view->content().selectedText(), text.mid(1, 9));
    QCOMPARE(QApplication::focusWidget(), view);
    keyToFocus(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text.mid(1, 9));

    // With the focus in the text and nothing selected, still the whole text.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first.topLeft() + QPoint(1, 2));
    QVERIFY(!view->content().hasSelection());
    keyToFocus(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);

    keyToFocus(Qt::Key_A, Qt::ControlModifier);
    QVERIFY(view->content().allSelected());
    QGuiApplication::clipboard()->clear();
    keyToFocus(Qt::Key_C, Qt::ControlModifier);
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

  // The display line and the report's text run Ctrl+A, Ctrl+C and their text
  // menu's copy and select-all through one model, with one set of captions;
  // only what a copy with nothing selected takes differs, by the model's rule.
  void bothViewsShareTheTextCommands_data() {
    QTest::addColumn<bool>("report");
    QTest::newRow("display line, nothing selected copies nothing") << false;
    QTest::newRow("report text, nothing selected copies it all") << true;
  }
  void bothViewsShareTheTextCommands() {
    QFETCH(bool, report);
    // Longer than the part the display line lays out.
    const QString text = QStringLiteral("12 345") + QString(TAlignEdit::kHeld, QLatin1Char('7'));
    std::unique_ptr<QWidget> widget;
    LongText* content = nullptr;
    if (report) {
      auto* view = new LongTextView(text, LongText::EmptyCopy::WholeText);
      content = &view->content();
      widget.reset(view);
    } else {
      auto* edit = new TAlignEdit;
      edit->content().setText(text);
      content = &edit->content();
      widget.reset(edit);
    }
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    // Runs the item captioned `item` in the widget's text menu; returns each
    // item's caption (accelerator and shortcut text left out) and whether it
    // was enabled.
    const auto runMenuItem = [&widget](const QString& item) {
      QStringList seen;
      bool ran = false;
      QTimer::singleShot(0, widget.get(), [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        for (QAction* action : menu->actions()) {
          if (action->isSeparator()) continue;
          const QString caption = action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
          seen << caption + (action->isEnabled() ? QStringLiteral("+") : QStringLiteral("-"));
          if (caption == item) action->trigger();
        }
        menu->close();
        ran = true;
      });
      QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
      QApplication::sendEvent(widget.get(), &request);
      if (!QTest::qWaitFor([&ran] { return ran; })) seen << QStringLiteral("no menu");
      return seen;
    };
    const QString copier = LongText::copyCaption(), tout = LongText::selectAllCaption();

    QGuiApplication::clipboard()->setText(QStringLiteral("avant"));
    QVERIFY(!content->hasSelection());
    QCOMPARE(runMenuItem(copier), QStringList({copier + (report ? "+" : "-"), tout + "+"}));
    QCOMPARE(QGuiApplication::clipboard()->text(), report ? text : QStringLiteral("avant"));
    QTest::keyClick(widget.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), report ? text : QStringLiteral("avant"));

    QCOMPARE(runMenuItem(tout), QStringList({copier + (report ? "+" : "-"), tout + "+"}));
    QVERIFY(content->allSelected());
    QGuiApplication::clipboard()->clear();
    QCOMPARE(runMenuItem(copier), QStringList({copier + "+", tout + "-"}));
    QCOMPARE(QGuiApplication::clipboard()->text(), text);

    content->select(3, 6);
    QTest::keyClick(widget.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("345"));
    QTest::keyClick(widget.get(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(content->allSelected());
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
#include "report_box_test.moc"
