// The boxes the program's Wayland frame carries and which one a click on the
// caption meets: from a window's flags (the calculator's, the About
// window's, a resizable window's) to the box under the pointer. Points where Qt's own frame has its
// minimise and maximise boxes must meet nothing on the calculator.
#include <QTest>

#include "app/wayland_frame/caption_buttons.h"

using tallix::app::CaptionButton;
using tallix::app::captionButtonAt;
using tallix::app::captionButtons;

namespace {

constexpr Qt::WindowFlags kCalculator =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
constexpr Qt::WindowFlags kAbout = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                   Qt::WindowCloseButtonHint;
constexpr Qt::WindowFlags kResizable = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                       Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
constexpr int kNone = 0;

}  // namespace

class CaptionButtonsTest : public QObject {
  Q_OBJECT

 private slots:
  void boxUnderPointer_data() {
    QTest::addColumn<uint>("flags");
    QTest::addColumn<bool>("fixedSize");
    QTest::addColumn<int>("frameWidth");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<int>("box");
    const uint calculator = kCalculator.toInt();
    const uint about = kAbout.toInt();
    const uint resizable = kResizable.toInt();
    const int close = int(CaptionButton::Close);
    const int minimize = int(CaptionButton::Minimize);
    const int maximize = int(CaptionButton::Maximize);
    // The calculator's frame is 268 wide: its close box spans 242-260.
    QTest::newRow("calculator: the close box") << calculator << true << 268 << QPointF(251, 15) << close;
    QTest::newRow("calculator: where a maximise box would be")
        << calculator << true << 268 << QPointF(228, 15) << kNone;
    QTest::newRow("calculator: where a minimise box would be")
        << calculator << true << 268 << QPointF(205, 15) << kNone;
    QTest::newRow("calculator: below the close box")
        << calculator << true << 268 << QPointF(251, 27) << kNone;
    QTest::newRow("calculator: the title") << calculator << true << 268 << QPointF(134, 15) << kNone;
    // The About window's frame is 435 wide: close 409-427, minimise 386-404.
    QTest::newRow("About: the close box") << about << true << 435 << QPointF(418, 15) << close;
    QTest::newRow("About: the minimise box, beside it")
        << about << true << 435 << QPointF(395, 15) << minimize;
    QTest::newRow("About: between the two boxes") << about << true << 435 << QPointF(406, 15) << kNone;
    QTest::newRow("About: where a third box would be") << about << true << 435 << QPointF(372, 15) << kNone;
    QTest::newRow("a maximise hint on a fixed window: no box for it")
        << (kAbout | Qt::WindowMaximizeButtonHint).toInt() << true << 435 << QPointF(372, 15) << kNone;
    QTest::newRow("no close hint: no close box")
        << (kAbout & ~Qt::WindowCloseButtonHint).toInt() << true << 435 << QPointF(418, 15) << minimize;
    // A window that can change its size (the help viewer): all three.
    QTest::newRow("resizable: the maximise box") << resizable << false << 600 << QPointF(561, 15) << maximize;
    QTest::newRow("resizable: the minimise box") << resizable << false << 600 << QPointF(538, 15) << minimize;
  }
  void boxUnderPointer() {
    QFETCH(uint, flags);
    QFETCH(bool, fixedSize);
    QFETCH(int, frameWidth);
    QFETCH(QPointF, point);
    QFETCH(int, box);
    const auto shown = captionButtons(Qt::WindowFlags::fromInt(flags), fixedSize);
    const std::optional<CaptionButton> under = captionButtonAt(shown, point, frameWidth);
    QCOMPARE(under ? int(*under) : kNone, box);
  }
};

QTEST_GUILESS_MAIN(CaptionButtonsTest)
#include "caption_buttons_test.moc"
