// The main window's controls, each at its place on the 262 x 240 client area
// (pixels at 96 dpi; Qt scales them with the screen's device pixel ratio).

#include <optional>

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QPainter>

#include "ui/report/align_edit.h"
#include "ui/common/background.h"
#include "ui/main_window/calculette_main.h"
#include "ui/common/glyphs.h"
#include "ui/main_window/speed_button.h"
#include "ui/common/window_font.h"

namespace tallix::ui {
namespace {

// The background picture stretched over the whole widget. It is scaled to
// the widget's device pixels first and then copied one to one: a stretched
// draw would hand the rows to Qt's drawing thread pool, two threads kept
// alive for one gradient. The scaled copy is not kept; a paint is rare.
class TImage : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    const qreal ratio = devicePixelRatioF();
    QImage scaled = stretchedPicture(backgroundImage(), (QSizeF(size()) * ratio).toSize());
    scaled.setDevicePixelRatio(ratio);
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), scaled);
  }
};

struct ButtonLayout {
  Control control;
  int left, top, width, height;
  const char* caption;          // nullptr for a glyph button
  std::optional<Glyph> glyph;
  int fontPixels;               // 0: the window's 11 pixels
  bool bold;
  const char* accessibleName;
};

constexpr ButtonLayout kButtons[] = {
    {Control::Button6, 18, 38, 30, 30, "6", {}, 0, true, "6"},
    {Control::Button7, 50, 38, 30, 30, "7", {}, 0, true, "7"},
    {Control::Button8, 82, 38, 30, 30, "8", {}, 0, true, "8"},
    {Control::Button9, 114, 38, 30, 30, "9", {}, 0, true, "9"},
    {Control::ButtonCancel, 151, 38, 46, 30, "C", {}, 13, false, "effacer tout"},
    {Control::RetourArriereButton, 199, 38, 46, 30, nullptr, Glyph::Backspace, 0, false, "retour arrière"},
    {Control::Button2, 18, 70, 30, 30, "2", {}, 0, true, "2"},
    {Control::Button3, 50, 70, 30, 30, "3", {}, 0, true, "3"},
    {Control::Button4, 82, 70, 30, 30, "4", {}, 0, true, "4"},
    {Control::Button5, 114, 70, 30, 30, "5", {}, 0, true, "5"},
    {Control::MultiplicationButton, 151, 70, 30, 30, nullptr, Glyph::Multiply, 0, false, "multiplier"},
    {Control::DivisionButton, 183, 70, 30, 30, nullptr, Glyph::Divide, 0, false, "diviser"},
    {Control::PourcentageButton, 215, 70, 30, 30, "%", {}, 13, false, "pourcentage"},
    {Control::VirguleButton, 18, 102, 30, 30, ".", {}, 13, true, "virgule"},
    {Control::Button0, 50, 102, 62, 30, "0", {}, 0, true, "0"},
    {Control::Button1, 114, 102, 30, 30, "1", {}, 0, true, "1"},
    {Control::AdditionButton, 151, 102, 62, 30, nullptr, Glyph::Plus, 0, false, "plus"},
    {Control::SoustractionButton, 215, 102, 30, 30, nullptr, Glyph::Minus, 0, false, "moins"},
    {Control::ButtonNeg, 18, 134, 30, 30, "+/-", {}, 0, false, "changer de signe"},
    {Control::NombrePiButton, 49, 134, 47, 30, "Pi", {}, 13, false, "pi"},
    {Control::NombrePhiButton, 97, 134, 47, 30, "Phi", {}, 13, false, "phi, nombre d'or"},
    {Control::RacineCarreeButton, 151, 134, 30, 30, nullptr, Glyph::SquareRoot, 0, false, "racine carrée"},
    {Control::PuissanceCarreeButton, 183, 134, 30, 30, nullptr, Glyph::Square, 0, false, "carré"},
    {Control::PuissanceCubeButton, 215, 134, 30, 30, nullptr, Glyph::Power, 0, false, "puissance"},
    {Control::ResultatButton, 151, 166, 94, 38, "=", {}, 21, false, "égal"},
    {Control::ButtonToutesDecimales, 71, 176, 23, 22, "...", {}, 0, false, "toutes les décimales"},
    {Control::ButtonLimiterADeuxDecimales, 95, 176, 23, 22, "2", {}, 0, false, "deux décimales"},
    {Control::ButtonLimiterAQuatreDecimales, 119, 176, 23, 22, "4", {}, 0, false, "quatre décimales"},
};
static_assert(std::size(kButtons) == kControlCount);

TSpeedButton* makeButton(QWidget* parent, const char* name, QRect geometry, const QString& caption,
                         const char* accessibleName) {
  auto* button = new TSpeedButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(geometry);
  button->setText(caption);
  button->setAccessibleName(QString::fromUtf8(accessibleName));
  return button;
}

}  // namespace

void TCalculetteMain::buildControls() {
  ensureTahoma();
  setFont(windowFont(11, false));

  PanelCalculette = new QFrame(this);
  PanelCalculette->setObjectName(QStringLiteral("PanelCalculette"));
  PanelCalculette->setFrameStyle(QFrame::Panel | QFrame::Raised);
  PanelCalculette->setLineWidth(1);
  PanelCalculette->setGeometry(0, 0, 262, 240);
  PanelCalculette->setAccessibleName(QStringLiteral("calculatrice"));

  ImageCalculette = new TImage(PanelCalculette);
  ImageCalculette->setObjectName(QStringLiteral("ImageCalculette"));
  ImageCalculette->setGeometry(1, 1, 260, 238);
  ImageCalculette->setAccessibleName(QStringLiteral("fond"));

  Ecran = new TAlignEdit(PanelCalculette);
  Ecran->setObjectName(QStringLiteral("Ecran"));
  Ecran->setGeometry(18, 8, 226, 27);
  Ecran->setFont(windowFont(16, false));
  Ecran->SetAlignment(TAlignEdit::taRightJustify);
  Ecran->setAccessibleName(QStringLiteral("affichage"));

  decimalGroup_ = new QButtonGroup(this);
  decimalGroup_->setExclusive(true);  // a down toggle cannot be raised by a click
  for (const ButtonLayout& b : kButtons) {
    const QString caption = b.caption != nullptr ? QString::fromUtf8(b.caption) : QString();
    TSpeedButton* button = makeButton(PanelCalculette, controlName(b.control).data(),
                                      QRect(b.left, b.top, b.width, b.height), caption, b.accessibleName);
    if (b.fontPixels != 0 || b.bold) button->setFont(windowFont(b.fontPixels != 0 ? b.fontPixels : 11, b.bold));
    if (b.glyph) button->setGlyph(glyphImage(*b.glyph));
    button->Tag = operatorCode(b.control).value_or(Sequencer::Egal);
    buttons_[static_cast<std::size_t>(b.control)] = button;
    const Control control = b.control;
    connect(button, &TSpeedButton::clicked, this, [this, control] { press(control); });
  }
  button(Control::Button1)->setTransparent(false);
  button(Control::Button2)->setTransparent(false);
  button(Control::NombrePhiButton)->setToolTip(QStringLiteral("Nombre d'or"));
  for (Control toggle : {Control::ButtonToutesDecimales, Control::ButtonLimiterADeuxDecimales,
                         Control::ButtonLimiterAQuatreDecimales}) {
    button(toggle)->setCheckable(true);
    decimalGroup_->addButton(button(toggle));
  }
  button(Control::ButtonToutesDecimales)->setChecked(true);

  // Plain text said so: the label's automatic format would ask the rich-text
  // detector about its caption, and that code is otherwise never paged in.
  LabelDecimales = new QLabel(PanelCalculette);
  LabelDecimales->setTextFormat(Qt::PlainText);
  LabelDecimales->setText(QStringLiteral("Décimales"));
  LabelDecimales->setObjectName(QStringLiteral("LabelDecimales"));
  LabelDecimales->setGeometry(18, 184, 47, 13);
  LabelDecimales->setAttribute(Qt::WA_TranslucentBackground);
  LabelDecimales->setFont(TSpeedButton::fittingFont(font(), LabelDecimales->text(), 47));

  ButtonAide = makeButton(PanelCalculette, "ButtonAide", QRect(18, 206, 60, 25), QStringLiteral("Aide"), "Aide");
  AboutButton = makeButton(PanelCalculette, "AboutButton", QRect(78, 206, 77, 25),
                           QStringLiteral("A propos de..."), "A propos de");
  FermerButton = makeButton(PanelCalculette, "FermerButton", QRect(155, 206, 90, 25), QStringLiteral("Fermer"),
                            "Fermer");
  connect(ButtonAide, &TSpeedButton::clicked, this, &TCalculetteMain::ButtonAideClick);
  connect(AboutButton, &TSpeedButton::clicked, this, &TCalculetteMain::AboutButtonClick);
  connect(FermerButton, &TSpeedButton::clicked, this, &TCalculetteMain::FermerButtonClick);

  Ecran->setFocus();  // the only control that takes the focus
}

}  // namespace tallix::ui
