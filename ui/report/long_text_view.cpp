#include "ui/report/long_text_view.h"

#include <algorithm>
#include <cmath>

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace tallix::ui {
namespace {

constexpr int kMargin = 2;

QString withLineFeeds(const QString& text) {
  QString lines = text;
  lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return lines;
}

}  // namespace

LongTextView::LongTextView(const QString& text, LongText::EmptyCopy emptyCopy, QWidget* parent)
    : QAbstractScrollArea(parent), content_(emptyCopy, this) {
  installAccessibleText();
  content_.setText(withLineFeeds(text));
  content_.select(0, 0);
  connect(&content_, &LongText::selectionChanged, this, &LongTextView::showSelection);
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

qreal LongTextView::advance(qsizetype offset, int units) const {
  const QString& text = content_.text();
  const QChar c = text.at(offset);
  if (units == 1 && c.unicode() < latin_.size()) return latin_[c.unicode()];
  const char32_t code = units == 2 ? QChar::surrogateToUcs4(c, text.at(offset + 1)) : c.unicode();
  auto found = others_.constFind(code);
  if (found != others_.constEnd()) return *found;
  const qreal width = QFontMetricsF(font()).horizontalAdvance(text.mid(offset, units));
  others_.insert(code, width);
  return width;
}

qreal LongTextView::widthOf(qsizetype from, qsizetype to) const {
  qreal x = 0;
  for (qsizetype i = from; i < to;) {
    const int units = LineWrap::unitsAt(content_.text(), i);
    x += advance(i, units);
    i += units;
  }
  return x;
}

qsizetype LongTextView::wrapTo(int width) {
  // A pixel of slack: the painter's own shaping may round differently.
  const qreal room = std::max(8, width - 2 * kMargin - 1);
  lines_.wrap(content_.text(), room, [this](qsizetype offset, int units) { return advance(offset, units); });
  wrapWidth_ = width;
  updateScrollBar();
  return lineCount();
}

int LongTextView::lineHeight() const { return QFontMetrics(font()).lineSpacing(); }

void LongTextView::updateScrollBar() {
  const int visible = std::max(1, viewport()->height() / std::max(1, lineHeight()));
  const qsizetype hidden = std::max<qsizetype>(0, lineCount() - visible);
  verticalScrollBar()->setRange(0, static_cast<int>(std::min<qsizetype>(hidden, INT_MAX)));
  verticalScrollBar()->setPageStep(visible);
  verticalScrollBar()->setSingleStep(1);
}

QRect LongTextView::characterRect(qsizetype offset) const {
  const QString& text = content_.text();
  offset = std::clamp<qsizetype>(offset, 0, text.size());
  const qsizetype line = lineOf(offset);
  const int top = static_cast<int>((line - verticalScrollBar()->value()) * lineHeight());
  const qreal x = kMargin + widthOf(lineStart(line), offset);
  const qreal w = offset < text.size() ? advance(offset, LineWrap::unitsAt(text, offset)) : 0;
  return QRect(static_cast<int>(x), top, static_cast<int>(std::ceil(w)), lineHeight());
}

qsizetype LongTextView::offsetAt(QPoint point) const {
  const qsizetype line = std::clamp<qsizetype>(
      verticalScrollBar()->value() + (point.y() < 0 ? -1 : point.y() / lineHeight()), 0, lineCount() - 1);
  const qsizetype end = lineEnd(line);
  qreal x = kMargin;
  for (qsizetype i = lineStart(line); i < end;) {
    const int units = LineWrap::unitsAt(content_.text(), i);
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

void LongTextView::showSelection() {
  viewport()->update();
  if (QAccessible::isActive()) {
    QAccessibleTextSelectionEvent event(this, static_cast<int>(content_.selectionStart()),
                                        static_cast<int>(content_.selectionEnd()));
    event.setCursorPosition(static_cast<int>(content_.caret()));
    QAccessible::updateAccessibility(&event);
  }
}

QRect LongTextView::characterBox(qsizetype offset) const {
  return characterRect(offset).translated(viewport()->pos());
}

qsizetype LongTextView::offsetAtPoint(QPoint widgetPoint) {
  return offsetAt(widgetPoint - viewport()->pos());
}

QSize LongTextView::sizeHint() const {
  return QSize(40 * QFontMetrics(font()).averageCharWidth(), 12 * lineHeight());
}

void LongTextView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QString& text = content_.text();
  const int height = lineHeight();
  const int ascent = QFontMetrics(font()).ascent();
  const QPalette& colours = palette();
  painter.setPen(colours.color(QPalette::WindowText));
  const qsizetype selStart = content_.selectionStart(), selEnd = content_.selectionEnd();
  for (qsizetype line = verticalScrollBar()->value(), top = 0;
       line < lineCount() && top < viewport()->height(); ++line, top += height) {
    const qsizetype begin = lineStart(line), end = lineEnd(line);
    const QString shown = text.mid(begin, end - begin);
    const QPointF origin(kMargin, static_cast<qreal>(top + ascent));
    painter.drawText(origin, shown);
    const qsizetype from = std::max(selStart, begin);
    const qsizetype to = std::min(selEnd, end + (end < text.size() && end < selEnd ? 1 : 0));
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
  content_.select(event->modifiers() & Qt::ShiftModifier ? content_.anchor() : at, at);
}

void LongTextView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint at = event->position().toPoint();
  // Dragging above or below the text scrolls it, a line per move.
  if (at.y() < 0) verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  if (at.y() >= viewport()->height())
    verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  content_.select(content_.anchor(), offsetAt(at));
}

void LongTextView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QString& text = content_.text();
  qsizetype start = offsetAt(event->position().toPoint()), end = start;
  while (start > 0 && !text.at(start - 1).isSpace()) --start;
  while (end < text.size() && !text.at(end).isSpace()) ++end;
  content_.select(start, end);
}

void LongTextView::keyPressEvent(QKeyEvent* event) {
  if (content_.runKey(*event)) return;
  QScrollBar* bar = verticalScrollBar();
  if (event->key() == Qt::Key_Up) {
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
  content_.newMenu(this)->exec(event->globalPos());
}

void LongTextView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    resetMetrics();
    wrapTo(viewport()->width());
  }
  QAbstractScrollArea::changeEvent(event);
}

}  // namespace tallix::ui
