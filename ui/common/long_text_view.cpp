#include "ui/common/long_text_view.h"

#include <algorithm>
#include <cmath>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "ui/common/accessible_text.h"

namespace tallix::ui {
namespace {

constexpr int kMargin = 2;

bool isBreak(QChar c) { return c == QLatin1Char('\n'); }

QAccessibleInterface* accessibleFactory(const QString&, QObject* object) {
  if (auto* view = qobject_cast<LongTextView*>(object)) return new AccessibleText(view, *view, true);
  return nullptr;
}

QString withLineFeeds(const QString& text) {
  QString lines = text;
  lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return lines;
}

}  // namespace

LongTextView::LongTextView(const QString& text, QWidget* parent)
    : QAbstractScrollArea(parent), text_(withLineFeeds(text)) {
  static const bool accessibleInstalled = [] {
    QAccessible::installFactory(accessibleFactory);
    return true;
  }();
  Q_UNUSED(accessibleInstalled);
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Window);
  resetMetrics();
}

void LongTextView::resetMetrics() {
  const QFontMetricsF metrics(font());
  for (std::size_t c = 0; c < latin_.size(); ++c) {
    latin_[c] = metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
  }
  others_.clear();
  wrapWidth_ = -1;
}

int LongTextView::unitsAt(qsizetype offset) const {
  return offset + 1 < text_.size() && text_.at(offset).isHighSurrogate() &&
                 text_.at(offset + 1).isLowSurrogate()
             ? 2
             : 1;
}

qreal LongTextView::advance(qsizetype offset, int units) const {
  const QChar c = text_.at(offset);
  if (units == 1 && c.unicode() < latin_.size()) return latin_[c.unicode()];
  const char32_t code = units == 2 ? QChar::surrogateToUcs4(c, text_.at(offset + 1)) : c.unicode();
  auto found = others_.constFind(code);
  if (found != others_.constEnd()) return *found;
  const qreal width = QFontMetricsF(font()).horizontalAdvance(text_.mid(offset, units));
  others_.insert(code, width);
  return width;
}

qreal LongTextView::widthOf(qsizetype from, qsizetype to) const {
  qreal x = 0;
  for (qsizetype i = from; i < to;) {
    const int units = unitsAt(i);
    x += advance(i, units);
    i += units;
  }
  return x;
}

qsizetype LongTextView::wrapTo(int width) {
  // A pixel of slack: the painter's own shaping may round differently.
  const qreal room = std::max(8, width - 2 * kMargin - 1);
  starts_.assign(1, 0);
  qsizetype lineBegin = 0;
  qsizetype lastBlank = -1;  // the last blank of this line: a line may break after it
  qreal x = 0, xAfterBlank = 0;
  for (qsizetype i = 0; i < text_.size();) {
    const QChar c = text_.at(i);
    if (isBreak(c)) {
      starts_.push_back(i + 1);
      lineBegin = i + 1;
      lastBlank = -1;
      x = 0;
      ++i;
      continue;
    }
    const int units = unitsAt(i);
    const qreal w = advance(i, units);
    if (x + w > room && i > lineBegin && !c.isSpace()) {
      if (lastBlank >= lineBegin) {
        lineBegin = lastBlank + 1;
        x -= xAfterBlank;
      } else {
        lineBegin = i;
        x = 0;
      }
      starts_.push_back(lineBegin);
      lastBlank = -1;
    }
    x += w;
    if (c.isSpace()) {
      lastBlank = i;
      xAfterBlank = x;
    }
    i += units;
  }
  wrapWidth_ = width;
  updateScrollBar();
  return lineCount();
}

int LongTextView::lineHeight() const { return QFontMetrics(font()).lineSpacing(); }

qsizetype LongTextView::lineOf(qsizetype offset) const {
  const auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return std::max<qsizetype>(0, (it - starts_.begin()) - 1);
}

qsizetype LongTextView::lineEnd(qsizetype line) const {
  qsizetype end = line + 1 < lineCount() ? lineStart(line + 1) : text_.size();
  if (end > lineStart(line) && isBreak(text_.at(end - 1))) --end;
  return end;
}

void LongTextView::updateScrollBar() {
  const int visible = std::max(1, viewport()->height() / std::max(1, lineHeight()));
  const qsizetype hidden = std::max<qsizetype>(0, lineCount() - visible);
  verticalScrollBar()->setRange(0, static_cast<int>(std::min<qsizetype>(hidden, INT_MAX)));
  verticalScrollBar()->setPageStep(visible);
  verticalScrollBar()->setSingleStep(1);
}

QRect LongTextView::characterRect(qsizetype offset) const {
  offset = std::clamp<qsizetype>(offset, 0, text_.size());
  const qsizetype line = lineOf(offset);
  const int top = static_cast<int>((line - verticalScrollBar()->value()) * lineHeight());
  const qreal x = kMargin + widthOf(lineStart(line), offset);
  const qreal w = offset < text_.size() ? advance(offset, unitsAt(offset)) : 0;
  return QRect(static_cast<int>(x), top, static_cast<int>(std::ceil(w)), lineHeight());
}

qsizetype LongTextView::offsetAt(QPoint point) const {
  const qsizetype line = std::clamp<qsizetype>(
      verticalScrollBar()->value() + (point.y() < 0 ? -1 : point.y() / lineHeight()), 0, lineCount() - 1);
  const qsizetype end = lineEnd(line);
  qreal x = kMargin;
  for (qsizetype i = lineStart(line); i < end;) {
    const int units = unitsAt(i);
    const qreal w = advance(i, units);
    if (point.x() < x + w / 2) return i;
    x += w;
    i += units;
  }
  return end;
}

void LongTextView::ensureVisible(qsizetype offset) {
  const qsizetype line = lineOf(offset);
  QScrollBar* bar = verticalScrollBar();
  if (line < bar->value()) bar->setValue(static_cast<int>(line));
  if (line >= bar->value() + bar->pageStep()) bar->setValue(static_cast<int>(line - bar->pageStep() + 1));
}

void LongTextView::setSelection(qsizetype anchor, qsizetype cursor) {
  anchor_ = std::clamp<qsizetype>(anchor, 0, text_.size());
  cursor_ = std::clamp<qsizetype>(cursor, 0, text_.size());
  viewport()->update();
  if (QAccessible::isActive()) {
    QAccessibleTextSelectionEvent event(this, static_cast<int>(selectionStart()),
                                        static_cast<int>(selectionEnd()));
    event.setCursorPosition(static_cast<int>(cursor_));
    QAccessible::updateAccessibility(&event);
  }
}

QString LongTextView::selectedText() const {
  return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

void LongTextView::copy() const {
  if (selectionStart() != selectionEnd()) QGuiApplication::clipboard()->setText(selectedText());
}

std::pair<qsizetype, qsizetype> LongTextView::selectionRange() const { return {anchor_, cursor_}; }

QRect LongTextView::characterBox(qsizetype offset) const {
  return characterRect(offset).translated(viewport()->pos());
}

qsizetype LongTextView::offsetAtPoint(QPoint widgetPoint) {
  return offsetAt(widgetPoint - viewport()->pos());
}

std::pair<qsizetype, qsizetype> LongTextView::lineAround(qsizetype offset) const {
  const qsizetype line = lineOf(offset);
  return {lineStart(line), line + 1 < lineCount() ? lineStart(line + 1) : text_.size()};
}

QSize LongTextView::sizeHint() const {
  return QSize(40 * QFontMetrics(font()).averageCharWidth(), 12 * lineHeight());
}

void LongTextView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int height = lineHeight();
  const int ascent = QFontMetrics(font()).ascent();
  const QPalette& colours = palette();
  painter.setPen(colours.color(QPalette::WindowText));
  const qsizetype selStart = selectionStart(), selEnd = selectionEnd();
  for (qsizetype line = verticalScrollBar()->value(), top = 0;
       line < lineCount() && top < viewport()->height(); ++line, top += height) {
    const qsizetype begin = lineStart(line), end = lineEnd(line);
    const QString shown = text_.mid(begin, end - begin);
    const QPointF origin(kMargin, static_cast<qreal>(top + ascent));
    painter.drawText(origin, shown);
    const qsizetype from = std::max(selStart, begin);
    const qsizetype to = std::min(selEnd, end + (end < text_.size() && end < selEnd ? 1 : 0));
    if (from < to) {
      const qreal x0 = kMargin + widthOf(begin, from);
      const qreal x1 = kMargin + widthOf(begin, std::min(to, end)) + (to > end ? 4 : 0);
      const QRectF band(x0, static_cast<qreal>(top), x1 - x0, static_cast<qreal>(height));
      painter.fillRect(band, colours.brush(QPalette::Highlight));
      painter.save();
      painter.setClipRect(band);
      painter.setPen(colours.color(QPalette::HighlightedText));
      painter.drawText(origin, shown);
      painter.restore();
    }
  }
}

void LongTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (viewport()->width() != wrapWidth_) {
    wrapTo(viewport()->width());
  } else {
    updateScrollBar();
  }
}

void LongTextView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const qsizetype at = offsetAt(event->position().toPoint());
  setSelection(event->modifiers() & Qt::ShiftModifier ? anchor_ : at, at);
}

void LongTextView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint at = event->position().toPoint();
  // Dragging above or below the text scrolls it, a line per move.
  if (at.y() < 0) verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  if (at.y() >= viewport()->height())
    verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  setSelection(anchor_, offsetAt(at));
}

void LongTextView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  qsizetype start = offsetAt(event->position().toPoint()), end = start;
  while (start > 0 && !text_.at(start - 1).isSpace()) --start;
  while (end < text_.size() && !text_.at(end).isSpace()) ++end;
  setSelection(start, end);
}

void LongTextView::keyPressEvent(QKeyEvent* event) {
  QScrollBar* bar = verticalScrollBar();
  if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
  } else if (event->matches(QKeySequence::Copy)) {
    copy();
  } else if (event->key() == Qt::Key_Up) {
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  } else if (event->key() == Qt::Key_Down) {
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  } else if (event->key() == Qt::Key_PageUp) {
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
  } else if (event->key() == Qt::Key_PageDown) {
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  } else if (event->key() == Qt::Key_Home && (event->modifiers() & Qt::ControlModifier)) {
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
  } else if (event->key() == Qt::Key_End && (event->modifiers() & Qt::ControlModifier)) {
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
  } else {
    event->ignore();  // Enter and Escape go on to the box
  }
}

void LongTextView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copier = menu.addAction(QStringLiteral("Copier"));
  copier->setShortcut(QKeySequence::Copy);
  copier->setEnabled(selectionStart() != selectionEnd());
  QAction* toutSelectionner = menu.addAction(QStringLiteral("Tout sélectionner"));
  toutSelectionner->setShortcut(QKeySequence::SelectAll);
  QAction* chosen = menu.exec(event->globalPos());
  if (chosen == copier) copy();
  if (chosen == toutSelectionner) selectAll();
}

void LongTextView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    resetMetrics();
    wrapTo(viewport()->width());
  }
  QAbstractScrollArea::changeEvent(event);
}

}  // namespace tallix::ui
