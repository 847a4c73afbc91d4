#include "ui/report/report_box.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "ui/report/long_text_view.h"

namespace tallix::ui {

bool ReportBox::isLong(const QString& text) {
  return text.size() > kLongCharacters || text.count(QLatin1Char('\n')) >= kLongLines;
}

ReportBox::ReportBox(MessageIcon icon, const QString& caption, const QString& text, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("ReportBox"));
  setWindowTitle(caption);
  setSizeGripEnabled(false);

  auto* iconLabel = new QLabel(this);
  const QStyle::StandardPixmap standard =
      icon == MessageIcon::Warning ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxCritical;
  const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  iconLabel->setPixmap(style()->standardIcon(standard, nullptr, this).pixmap(side, side));
  iconLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  view_ = new LongTextView(text, LongText::EmptyCopy::WholeText, this);
  view_->setObjectName(QStringLiteral("ReportText"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setText(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->addWidget(iconLabel, 0, 0, Qt::AlignTop);
  grid->addWidget(view_, 0, 1);
  grid->addWidget(buttons, 1, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(0, 1);

  // As wide as a long line of a short box, as tall as the text, and never
  // beyond two thirds of the screen: the text scrolls, the button stays in
  // reach.
  const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
  const QRect room = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  const int viewWidth = std::min(room.width() * 3 / 4, 60 * fontMetrics().averageCharWidth());
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const qsizetype lines = view_->wrapTo(viewWidth - scrollBar);
  const int chrome = buttons->sizeHint().height() + 4 * std::max(grid->spacing(), 6);
  const int most = std::max(view_->lineHeight(), room.height() * 2 / 3 - chrome);
  const qsizetype shownLines = std::min<qsizetype>(lines, most / view_->lineHeight());
  view_->setFixedSize(viewWidth, static_cast<int>(shownLines) * view_->lineHeight() + 2);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  ok->setFocus();
}

void ReportBox::keyPressEvent(QKeyEvent* event) {
  // Ctrl+C from the button or anywhere else in the box: the text view's own
  // copy rule, the selection or else the whole text.
  if (event->matches(QKeySequence::Copy)) {
    view_->content().copy();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace tallix::ui
