#include "ui/about/about_box.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QUrl>

#include "ui/common/application.h"
#include "ui/common/background.h"
#include "ui/common/glyphs.h"
#include "ui/common/window_font.h"
#include "platform/machine_figures.h"
#include "platform/regional_settings.h"

#include "assets/about/calculette.xpm"
#include "assets/about/porte.xpm"
#include "assets/about/porte_grisee.xpm"

namespace tallix::ui {

namespace {

constexpr int kClientWidth = 429;
constexpr int kClientHeight = 392;
constexpr int kFigureRightEdge = 321;  // right edge of both figures
constexpr int kLabelHeight = 13;

// A 16-colour picture of this window with the colour of its bottom-left
// pixel drawn transparent, as its layout expects.
QImage transparentCornerPicture(const char* const xpm[]) { return withTransparentBackground(xpmImage(xpm)); }

// The close button: its glyph 6 pixels from the left edge, then the caption
// (36 blanks and "&Fermer") after a 4-pixel gap, over the usual push-button
// bevel. The greyed twin stands in while the button is disabled.
class CloseButton final : public QPushButton {
 public:
  explicit CloseButton(QWidget* parent) : QPushButton(parent) {
    glyph_ = QPixmap::fromImage(transparentCornerPicture(porte_xpm));
    greyed_ = QPixmap::fromImage(transparentCornerPicture(porte_grisee_xpm));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    const bool down = isDown();
    const int shift = down ? 1 : 0;
    const QPixmap& glyph = isEnabled() ? glyph_ : greyed_;
    const int glyphTop = (height() - glyph.height()) / 2 + shift;
    painter.drawPixmap(6 + shift, glyphTop, glyph);

    const QRect textRect(6 + glyph.width() + 4 + shift, shift, width() - 28, height());
    painter.drawItemText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                         palette(), isEnabled(), text(), QPalette::ButtonText);
  }

 private:
  QPixmap glyph_;
  QPixmap greyed_;
};

// A label whose bold text stays bold when a high-density screen scales it.
// Where the bold is the emboldened regular face, each character is placed at
// the advance of the true bold face, so the label has bold's width.
class BoldLabel final : public QLabel {
 public:
  BoldLabel(const QString& text, const QFont& font, QWidget* parent) : QLabel(text, parent) {
    setFont(font);
    const QRawFont advances = tahomaBoldAdvances(font.pixelSize());
    if (!advances.isValid()) return;
    const QList<QPointF> widths = advances.advancesForGlyphIndexes(advances.glyphIndexesForString(text));
    if (widths.size() != text.size()) return;
    qreal x = 0;
    for (const QPointF& width : widths) {
      starts_.append(x);
      x += width.x();
    }
    width_ = static_cast<int>(x);
  }
  // The width the text takes: 106 for "Tallix (Duvuroreza)" in Tahoma Bold at 11 pixels.
  int textWidth() const { return width_ > 0 ? width_ : fontMetrics().horizontalAdvance(text()); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const QRect area = contentsRect();
    if (starts_.isEmpty()) {
      drawTextAtDeviceSize(painter, area, static_cast<int>(alignment()), text());
      return;
    }
    for (qsizetype i = 0; i < starts_.size(); ++i) {
      const QRect cell = area.adjusted(qRound(starts_[i]), 0, 0, 0);
      drawTextAtDeviceSize(painter, cell, Qt::AlignLeft | Qt::AlignVCenter, text().mid(i, 1));
    }
  }

 private:
  QList<qreal> starts_;  // left edge of each character, from the true bold face
  int width_ = 0;
};

QLabel* makeLabel(QWidget* parent, const char* name, int left, int top, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setAutoFillBackground(false);
  label->move(left, top);
  label->resize(label->fontMetrics().horizontalAdvance(text), kLabelHeight);
  return label;
}

}  // namespace

const QStringList& TAboutBox::description() {
  static const QStringList lines = {
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
  return lines;
}

QString TAboutBox::authorUrl() { return QString::fromUtf8(TALLIX_AUTHOR_URL); }

TAboutBox::TAboutBox(const Services& services, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      services_(services) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("A propos de..."));
  setFixedSize(kClientWidth, kClientHeight);
  ensureTahoma();
  const QFont tahoma = windowFont(11, false);
  setFont(tahoma);
  QPalette black = palette();
  black.setColor(QPalette::WindowText, Qt::black);
  setPalette(black);

  ImageAboutBox1 = new QLabel(this);
  ImageAboutBox1->setObjectName(QStringLiteral("ImageAboutBox1"));
  ImageAboutBox1->setGeometry(0, 0, kClientWidth, kClientHeight);
  ImageAboutBox1->setScaledContents(true);
  ImageAboutBox1->setPixmap(QPixmap::fromImage(backgroundImage()));

  MemoirePhysiqueLabel =
      makeLabel(this, "MemoirePhysiqueLabel", 81, 268, QStringLiteral("Mémoire physique disponible :"));
  PhysMemLabel = makeLabel(this, "PhysMemLabel", 315, 268, QStringLiteral("0"));
  PhysMemLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
  placeRight(PhysMemLabel, QStringLiteral("0"));
  DisqueDurLabel = makeLabel(this, "DisqueDurLabel", 315, 283, QStringLiteral("0"));
  DisqueDurLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
  placeRight(DisqueDurLabel, QStringLiteral("0"));
  CapaciteDisqueDurLabel1 =
      makeLabel(this, "CapaciteDisqueDurLabel1", 81, 283, QStringLiteral("Capacité du disque dur C :"));

  const QString frieze(47, QChar(0x00A4));
  AboutFriseLabel1 = makeLabel(this, "AboutFriseLabel1", 72, 8, frieze);
  AboutFriseLabel2 = makeLabel(this, "AboutFriseLabel2", 72, 96, frieze);

  AboutImage1 = new QLabel(this);
  AboutImage1->setObjectName(QStringLiteral("AboutImage1"));
  AboutImage1->setGeometry(72, 32, 49, 49);
  AboutImage1->setAttribute(Qt::WA_TranslucentBackground);
  // Stretched pixel for pixel, as a 16-colour picture is, with no smoothing.
  AboutImage1->setPixmap(
      QPixmap::fromImage(transparentCornerPicture(calculette_xpm)
                             .scaled(49, 49, Qt::IgnoreAspectRatio, Qt::FastTransformation)));

  QFont bold = tahoma;
  bold.setBold(true);
  auto* productName = new BoldLabel(QStringLiteral("Tallix (Duvuroreza)"), bold, this);
  ProductNameLabel = productName;
  ProductNameLabel->setObjectName(QStringLiteral("ProductNameLabel"));
  ProductNameLabel->setForegroundRole(QPalette::WindowText);
  ProductNameLabel->move(184, 40);
  ProductNameLabel->resize(productName->textWidth(), kLabelHeight);

  CopyrightLabel = makeLabel(this, "CopyrightLabel", 172, 60, QString::fromUtf8(TALLIX_COPYRIGHT));

  ButtonAutresLogiciels = new QPushButton(QStringLiteral("Site Internet de l'auteur : ") + authorUrl(), this);
  ButtonAutresLogiciels->setObjectName(QStringLiteral("ButtonAutresLogiciels"));
  ButtonAutresLogiciels->setGeometry(70, 304, 289, 25);
  ButtonAutresLogiciels->setFocusPolicy(Qt::NoFocus);
  ButtonAutresLogiciels->setAutoDefault(false);
  ButtonAutresLogiciels->setCursor(Qt::PointingHandCursor);
  QFont link = tahoma;
  link.setUnderline(true);
  ButtonAutresLogiciels->setFont(link);
  QPalette blue = ButtonAutresLogiciels->palette();
  blue.setColor(QPalette::ButtonText, Qt::blue);
  ButtonAutresLogiciels->setPalette(blue);
  connect(ButtonAutresLogiciels, &QPushButton::clicked, this, &TAboutBox::ButtonMailToClick);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setGeometry(24, 124, 385, 133);
  Memo1->setPlainText(description().join(QLatin1Char('\n')));
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setWordWrapMode(QTextOption::WordWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setTabChangesFocus(true);
  QPalette white = Memo1->palette();
  white.setColor(QPalette::Base, Qt::white);
  white.setColor(QPalette::Text, Qt::black);
  Memo1->setPalette(white);

  ButtonFermer = new CloseButton(this);
  ButtonFermer->setObjectName(QStringLiteral("ButtonFermer"));
  ButtonFermer->setText(QString(36, QLatin1Char(' ')) + QStringLiteral("&Fermer"));
  ButtonFermer->setGeometry(70, 336, 289, 25);
  // Enter and Space press it while it has the focus; Enter in the
  // description does nothing.
  ButtonFermer->setAutoDefault(true);
  ButtonFermer->setDefault(false);
  connect(ButtonFermer, &QPushButton::clicked, this, &TAboutBox::AboutOKButtonClick);

  setTabOrder(Memo1, ButtonFermer);
  Memo1->setFocus();

  // No help anywhere in this window: F1 is swallowed before any shortcut of
  // the program can see it.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::placeRight(QLabel* label, const QString& text) {
  label->setText(text);
  const int width = label->fontMetrics().horizontalAdvance(text);
  label->setGeometry(kFigureRightEdge - width, label->y(), width, kLabelHeight);
}

void TAboutBox::FormShow() {
  const platform::MachineFigures& figures = services_.machine;
  const char32_t thousands = platform::readRegionalSettings().milliers;
  placeRight(PhysMemLabel,
             QString::fromStdString(platform::memoryFigure(figures.totalPhysicalMemory(), thousands)));
  const std::int64_t capacity = figures.diskCapacity();
  if (capacity != -1) placeRight(DisqueDurLabel, QString::fromStdString(platform::diskFigure(capacity)));
}

void TAboutBox::ButtonMailToClick() { QDesktopServices::openUrl(QUrl(authorUrl())); }

void TAboutBox::AboutOKButtonClick() { close(); }

void TAboutBox::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    // An error is reported while the window is being shown; it then shows
    // with whatever figures were filled before the error.
    reportErrors(services_.host, [this] { FormShow(); });
    // Centred on the whole desktop, all screens taken together.
    if (const QScreen* screen = this->screen()) {
      const QRect desktop = screen->virtualGeometry();
      const QSize frame = frameGeometry().size();
      move(desktop.x() + (desktop.width() - frame.width()) / 2, desktop.y() + (desktop.height() - frame.height()) / 2);
    }
  }
  QDialog::showEvent(event);
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
  // Only the close button and the title-bar close box close this window;
  // Escape, which would cancel an ordinary dialog, does nothing here.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F1) {
      event->accept();
      return true;
    }
    // The description takes Enter as a memo does, and being read-only does
    // nothing with it: only the focused close button closes on Enter.
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && event->type() == QEvent::KeyPress && watched == Memo1) return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tallix::ui
