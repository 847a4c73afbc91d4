// The window's parts on their own: the display line's alignment, the
// pictures and their transparency, the speed button.
#include <QAccessible>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QSignalSpy>
#include <QTest>

#include <type_traits>
#include <utility>

#include "ui/report/align_edit.h"
#include "ui/common/background.h"
#include "ui/common/glyphs.h"
#include "ui/report/qt_host.h"
#include "ui/main_window/speed_button.h"
#include "ui/common/window_font.h"

#include "assets/about/calculette.xpm"
#include "assets/about/porte.xpm"
#include "assets/about/porte_grisee.xpm"
#include "assets/glyphs/backspace.xpm"
#include "assets/glyphs/divide.xpm"
#include "assets/glyphs/minus.xpm"
#include "assets/glyphs/multiply.xpm"
#include "assets/glyphs/plus.xpm"
#include "assets/glyphs/power.xpm"
#include "assets/glyphs/sqrt.xpm"
#include "assets/glyphs/square.xpm"
#include "assets/icons/tallix.xpm"

using namespace tallix::ui;

namespace {

// Pictures the program's own reader leaves to Qt's.
const char* const kTwoCharsPerPixel[] = {"2 1 2 2", ".. c None", "AB c #FF0000", "..AB"};
const char* const kNamedColour[] = {"2 1 2 1", ". c red", "A c #0000FF", ".A"};
const char* const kHotSpot[] = {"1 1 1 1 0 0", "A c #00FF00", "A"};
const char* const kTransparentAndHex[] = {"3 2 3 1", ". c None", "A c #12AB3C", "b c #000000", ".Ab", "bA."};

}  // namespace

Q_DECLARE_METATYPE(const char* const*)

class PartsTest : public QObject {
  Q_OBJECT

 private slots:
  void alignmentStyles_data() {
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("qtAlignment");
    QTest::newRow("0 aligns left") << 0 << int(Qt::AlignLeft);
    QTest::newRow("1 aligns right") << 1 << int(Qt::AlignRight);
    QTest::newRow("2 centres") << 2 << int(Qt::AlignHCenter);
  }
  void alignmentStyles() {
    QFETCH(int, alignment);
    QFETCH(int, qtAlignment);
    const auto value = static_cast<TAlignEdit::TAlignment>(alignment);
    QCOMPARE(int(TAlignEdit::qtAlignment(value)), qtAlignment | int(Qt::AlignVCenter));
    TAlignEdit edit;
    edit.setText(QStringLiteral("12,5"));
    edit.setCursorPosition(2);
    QCOMPARE(edit.content().caret(), 2);
    edit.SetAlignment(value);
    QCOMPARE(edit.alignment(), value);
    QCOMPARE(int(edit.QLineEdit::alignment() & Qt::AlignHorizontal_Mask), qtAlignment);
    QCOMPARE(edit.text(), QStringLiteral("12,5"));  // text and caret carry over
    QCOMPARE(edit.cursorPosition(), 2);
  }

  void alignEditStartsLeftAndReadOnly() {
    TAlignEdit edit;
    QCOMPARE(edit.alignment(), TAlignEdit::taLeftJustify);
    QVERIFY(edit.isReadOnly());
    QCOMPARE(edit.property("Alignment").toInt(), 0);
    QVERIFY(edit.setProperty("Alignment", QVariant::fromValue(TAlignEdit::taCenter)));
    QCOMPARE(edit.alignment(), TAlignEdit::taCenter);
  }

  void aLongTextIsHeldInPartButWholeForTheUser() {
    TAlignEdit edit;
    edit.SetAlignment(TAlignEdit::taRightJustify);
    edit.resize(226, 27);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    const QString text = QStringLiteral("1") + QString(1'000'000, QLatin1Char('7')) + QStringLiteral("9");
    LongText& content = edit.content();
    content.setText(text);
    QCOMPARE(content.text(), text);
    QCOMPARE(content.caret(), text.size());
    // The line edit's own text is all the edit lays out.
    QVERIFY(edit.text().size() <= TAlignEdit::kHeld);
    QVERIFY(edit.text().endsWith(QLatin1Char('9')));

    // Home and End carry the held part to either end; the arrows move it along.
    QTest::keyClick(&edit, Qt::Key_Home);
    QCOMPARE(edit.heldFrom(), 0);
    QVERIFY(edit.text().startsWith(QLatin1Char('1')));
    QTest::keyClick(&edit, Qt::Key_End);
    QCOMPARE(edit.heldFrom() + edit.text().size(), text.size());
    for (int i = 0; i < 3 * TAlignEdit::kHeld; ++i) QTest::keyClick(&edit, Qt::Key_Left);
    QCOMPARE(content.caret(), text.size() - 3 * TAlignEdit::kHeld);

    // Shift+Home selects from the caret to the very start.
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_Home, Qt::ShiftModifier);
    QCOMPARE(std::make_pair(content.anchor(), content.caret()),
             std::make_pair(text.size() - 1, qsizetype{0}));
    // An unshifted move ends that selection, though its anchor lay beyond the held part.
    QTest::keyClick(&edit, Qt::Key_Right);
    QVERIFY(!content.hasSelection());

    // Ctrl+A and the text menu's copy take the whole text.
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(content.selectedText(), text);
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);

    // A screen reader reads the whole text, not the held part.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&edit);
    QVERIFY(accessible != nullptr && accessible->textInterface() != nullptr);
    QCOMPARE(accessible->textInterface()->characterCount(), int(text.size()));
    QCOMPARE(accessible->textInterface()->text(0, 3), QStringLiteral("177"));
    QCOMPARE(accessible->text(QAccessible::Value).size(), text.size());

    // A short text is the edit's own, as before, even set through the line
    // edit itself: the model takes it as the whole text.
    static_cast<QLineEdit&>(edit).setText(QStringLiteral("5"));
    QCOMPARE(edit.text(), QStringLiteral("5"));
    QCOMPARE(content.text(), QStringLiteral("5"));
    QCOMPARE(edit.heldFrom(), 0);
  }

  void theDisplayLineHidesNoneOfTheLineEditsMembers() {
    // Each of these names still means the line edit's own member, so a
    // TAlignEdit reads the same through a QLineEdit* as through itself.
    static_assert(std::is_same_v<decltype(&TAlignEdit::text), QString (QLineEdit::*)() const>);
    static_assert(std::is_same_v<decltype(&TAlignEdit::setText), void (QLineEdit::*)(const QString&)>);
    static_assert(std::is_same_v<decltype(&TAlignEdit::selectedText), QString (QLineEdit::*)() const>);
    static_assert(std::is_same_v<decltype(&TAlignEdit::selectAll), void (QLineEdit::*)()>);
    static_assert(std::is_same_v<decltype(&TAlignEdit::copy), void (QLineEdit::*)() const>);
    static_assert(std::is_same_v<decltype(&TAlignEdit::end), void (QLineEdit::*)(bool)>);
  }

  void bottomLeftColourBecomesTransparent() {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(195, 195, 195));
    image.setPixelColor(1, 0, Qt::black);
    image.setPixelColor(2, 1, QColor(196, 195, 195));  // a near colour stays
    const QImage out = withTransparentBackground(image);
    QCOMPARE(qAlpha(out.pixel(0, 1)), 0);
    QCOMPARE(qAlpha(out.pixel(0, 0)), 0);
    QCOMPARE(out.pixel(1, 0), qRgb(0, 0, 0));
    QCOMPARE(out.pixel(2, 1), qRgb(196, 195, 195));
    QVERIFY(withTransparentBackground(QImage()).isNull());
  }

  void xpmPicturesReadAsQtReadsThem_data() {
    QTest::addColumn<const char* const*>("xpm");
    const std::pair<const char*, const char* const*> rows[] = {
        {"plus", glyph_plus},
        {"minus", glyph_minus},
        {"multiply", glyph_multiply},
        {"divide", glyph_divide},
        {"square root", glyph_sqrt},
        {"square", glyph_square},
        {"power", glyph_power},
        {"backspace", glyph_backspace},
        {"window icon", tallix_icon},
        {"About calculator", calculette_xpm},
        {"About door", porte_xpm},
        {"About greyed door", porte_grisee_xpm},
        {"transparent and hex colours", kTransparentAndHex},
        {"two characters a pixel", kTwoCharsPerPixel},
        {"named colour", kNamedColour},
        {"hot spot", kHotSpot},
    };
    for (const auto& [name, xpm] : rows) QTest::newRow(name) << xpm;
  }
  void xpmPicturesReadAsQtReadsThem() {
    QFETCH(const char* const*, xpm);
    const QImage expected = QImage(xpm).convertToFormat(QImage::Format_ARGB32);
    const QImage read = xpmImage(xpm);
    QVERIFY(!expected.isNull());
    QCOMPARE(read.format(), QImage::Format_ARGB32);
    QCOMPARE(read.size(), expected.size());
    for (int y = 0; y < read.height(); ++y) {
      for (int x = 0; x < read.width(); ++x) QCOMPARE(read.pixel(x, y), expected.pixel(x, y));
    }
  }

  void glyphsAreSymbolsOnAClearFace_data() {
    QTest::addColumn<int>("glyph");
    QTest::addColumn<QSize>("size");
    QTest::newRow("plus") << int(Glyph::Plus) << QSize(24, 24);
    QTest::newRow("minus") << int(Glyph::Minus) << QSize(24, 24);
    QTest::newRow("multiply") << int(Glyph::Multiply) << QSize(24, 24);
    QTest::newRow("divide") << int(Glyph::Divide) << QSize(24, 24);
    QTest::newRow("square root") << int(Glyph::SquareRoot) << QSize(24, 24);
    QTest::newRow("square") << int(Glyph::Square) << QSize(24, 24);
    QTest::newRow("power") << int(Glyph::Power) << QSize(24, 24);
    QTest::newRow("backspace") << int(Glyph::Backspace) << QSize(24, 16);
  }
  void glyphsAreSymbolsOnAClearFace() {
    QFETCH(int, glyph);
    QFETCH(QSize, size);
    const QImage image = glyphImage(static_cast<Glyph>(glyph));
    QCOMPARE(image.size(), size);
    int opaque = 0;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        if (qAlpha(p) == 255) ++opaque;
        if (qAlpha(p) == 255 && qGray(p) < 60) ++dark;
      }
    }
    QCOMPARE(qAlpha(image.pixel(0, size.height() - 1)), 0);
    QCOMPARE(qAlpha(image.pixel(size.width() - 1, 0)), 0);
    QVERIFY2(dark >= 12, "a black symbol");
    QVERIFY2(opaque < image.width() * image.height() / 2, "the face shows through");
  }

  void backgroundIsTheVerticalGradient() {
    const QImage& image = backgroundImage();
    QCOMPARE(image.size(), QSize(1, 425));
    const auto near = [](QColor c, int r, int g, int b) {
      return std::abs(c.red() - r) <= 4 && std::abs(c.green() - g) <= 4 && std::abs(c.blue() - b) <= 4;
    };
    QVERIFY(near(image.pixelColor(0, 0), 116, 164, 238));
    QVERIFY(near(image.pixelColor(0, 424), 116, 164, 238));
    QVERIFY(near(image.pixelColor(0, 204), 186, 214, 226));  // about 48 % down
    // Lightening all the way down to the turn: no band, no dip.
    for (int y = 8; y < 200; y += 8) QVERIFY(image.pixelColor(0, y).red() >= image.pixelColor(0, y - 8).red());
  }

  // The column shortcut must give Qt's own smooth stretch pixel for pixel, at
  // the window's size, at high density, shrunk and for a picture wider than one.
  void stretchedPictureIsQtsSmoothScale_data() {
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QSize>("size");
    const QImage gradient = backgroundImage();
    QImage wide(3, 40, QImage::Format_RGB888);
    for (int y = 0; y < wide.height(); ++y)
      for (int x = 0; x < wide.width(); ++x) wide.setPixel(x, y, qRgb(x * 90, y * 6, 255 - y * 6));
    QTest::newRow("gradient at 260x238") << gradient << QSize(260, 238);
    QTest::newRow("gradient at 2x, 520x476") << gradient << QSize(520, 476);
    QTest::newRow("gradient at 1.25x, 325x298") << gradient << QSize(325, 298);
    QTest::newRow("gradient shrunk to 7x100") << gradient << QSize(7, 100);
    QTest::newRow("gradient one row") << gradient << QSize(5, 1);
    QTest::newRow("three columns at 260x238") << wide << QSize(260, 238);
  }
  void stretchedPictureIsQtsSmoothScale() {
    QFETCH(QImage, picture);
    QFETCH(QSize, size);
    const QImage expected = picture.convertToFormat(QImage::Format_RGB32)
                                .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage got = stretchedPicture(picture, size);
    QCOMPARE(got.size(), size);
    QCOMPARE(got.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
  }

  void speedButtonNeverTakesFocusAndActsOnReleaseOverIt() {
    TSpeedButton button;
    button.setGeometry(0, 0, 30, 30);
    button.setText(QStringLiteral("7"));
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QSignalSpy clicks(&button, &TSpeedButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks.size(), 1);
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(clicks.size(), 1);
    QTest::mouseClick(&button, Qt::RightButton);
    QCOMPARE(clicks.size(), 1);
    QVERIFY(!button.hasFocus());
  }

  // The face does not change under the pointer: entering or leaving a button
  // repaints nothing (the style would have it repaint both times).
  void speedButtonIgnoresThePointerPassingOver() {
    QWidget window;
    window.resize(90, 30);
    auto* button = new TSpeedButton(&window);
    button->setGeometry(0, 0, 30, 30);
    button->setText(QStringLiteral("7"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, QPoint(60, 15));
    QCoreApplication::processEvents();
    struct PaintCounter : QObject {
      int paints = 0;
      bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
      }
    } counter;
    button->installEventFilter(&counter);
    QTest::mouseMove(&window, QPoint(15, 15));  // enters the button
    QCoreApplication::processEvents();
    QTest::mouseMove(&window, QPoint(60, 15));  // and leaves it
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 0);
  }

  // A high-density screen scales the painter; the bold digits must stay
  // visibly bolder than a regular caption there too, even with a font that
  // has no bold face of its own.
  void boldCaptionsStayBoldAtEveryScale_data() {
    QTest::addColumn<qreal>("scale");
    QTest::newRow("1x") << qreal(1);
    QTest::newRow("2x") << qreal(2);
    QTest::newRow("1.5x") << qreal(1.5);
  }
  void boldCaptionsStayBoldAtEveryScale() {
    QFETCH(qreal, scale);
    ensureTahoma();  // the program's font, whose bold is drawn by emboldening
    const auto ink = [scale](bool bold) {
      TSpeedButton button;
      button.setGeometry(0, 0, 62, 30);
      button.setText(QStringLiteral("0 8 4"));
      button.setFont(windowFont(11, bold));
      QImage image((QSizeF(62, 30) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
      image.setDevicePixelRatio(scale);
      image.fill(Qt::white);
      button.render(&image);
      double sum = 0;  // darkness inside the bevel
      for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x) sum += 255 - qGray(image.pixel(x, y));
      return sum;
    };
    const double regular = ink(false);
    const double bold = ink(true);
    QVERIFY2(bold > regular * 1.2, qPrintable(QStringLiteral("bold %1, regular %2").arg(bold).arg(regular)));
  }

  void windowsUseTahomaWhereTheSystemHasIt() {
    ensureTahoma();
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) QSKIP("no Tahoma on this system");
    QCOMPARE(QFontInfo(windowFont(11, true)).family(), QStringLiteral("Tahoma"));
  }

  void captionsShrinkOnlyWhenTheyDoNotFit() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    QCOMPARE(TSpeedButton::fittingFont(font, QStringLiteral("Aide"), 56).pixelSize(), 11);
    const QFont narrow = TSpeedButton::fittingFont(font, QStringLiteral("A propos de..."), 40);
    QVERIFY(narrow.pixelSize() < 11);
    QVERIFY(QFontMetrics(narrow).horizontalAdvance(QStringLiteral("A propos de...")) <= 40 ||
            narrow.pixelSize() == 6);
  }

  void boxTextOfOrdinaryMessagesIsUnchanged() {
    QCOMPARE(QtHost::boxText("'abc' n'est pas une valeur en virgule flottante correcte."),
             QStringLiteral("'abc' n'est pas une valeur en virgule flottante correcte."));
    QCOMPARE(QtHost::boxText("Exception X.\r\nm.\r\n"), QStringLiteral("Exception X.\nm.\n"));
  }

  void boxTextNeverSplitsASurrogatePair() {
    std::string message;
    for (int i = 0; i < 2000; ++i) message += "\xF0\x9F\x98\x80";  // U+1F600, two UTF-16 units
    const QString shown = QtHost::boxText(message);
    for (qsizetype i = 0; i < shown.size(); ++i) {
      if (shown.at(i).isHighSurrogate()) {
        QVERIFY(i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate());
      } else {
        QVERIFY(!shown.at(i).isLowSurrogate() || (i > 0 && shown.at(i - 1).isHighSurrogate()));
      }
    }
  }
};

QTEST_MAIN(PartsTest)
#include "parts_test.moc"
