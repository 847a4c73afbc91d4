#include "ui/report/long_text.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>

namespace tallix::ui {
namespace {

bool isBreak(QChar c) { return c == QLatin1Char('\n'); }

// The source texts of the two items in the line edit's standard menu, and
// the object names newer Qt versions give them.
constexpr const char* kCopySource = "&Copy";
constexpr const char* kSelectAllSource = "Select All";
constexpr const char* kCopyName = "edit-copy";
constexpr const char* kSelectAllName = "select-all";

// The caption Qt's translation gives the standard menu's item `source`.
QString standardText(const char* source) { return QCoreApplication::translate("QLineEdit", source); }

// The item of `menu` named `name` or, from a Qt that names none, captioned
// as the standard menu's item `source` (its shortcut text aside).
QAction* findItem(const QMenu& menu, const char* name, const char* source) {
  const QString caption = standardText(source);
  for (QAction* action : menu.actions()) {
    if (action->objectName() == QLatin1String(name) ||
        (action->objectName().isEmpty() && action->text().section(QLatin1Char('\t'), 0, 0) == caption)) {
      return action;
    }
  }
  return nullptr;
}

}  // namespace

LongText::LongText(EmptyCopy emptyCopy, QObject* parent) : QObject(parent), emptyCopy_(emptyCopy) {}

void LongText::setText(const QString& text) {
  text_ = text;
  anchor_ = caret_ = text_.size();
  emit textChanged();
}

QString LongText::selectedText() const {
  return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

void LongText::select(qsizetype anchor, qsizetype caret) {
  anchor_ = std::clamp<qsizetype>(anchor, 0, text_.size());
  caret_ = std::clamp<qsizetype>(caret, 0, text_.size());
  emit selectionChanged();
}

QString LongText::copiedText() const {
  if (hasSelection()) return selectedText();
  return emptyCopy_ == EmptyCopy::WholeText ? text_ : QString();
}

void LongText::copy() const {
  const QString copied = copiedText();
  if (!copied.isEmpty()) QGuiApplication::clipboard()->setText(copied);
}

bool LongText::runKey(const QKeyEvent& event) {
  if (event.matches(QKeySequence::SelectAll)) {
    selectAll();
    return true;
  }
  if (event.matches(QKeySequence::Copy)) {
    copy();
    return true;
  }
  return false;
}

QString LongText::copyCaption() { return standardText(kCopySource).remove(QLatin1Char('&')); }
QString LongText::selectAllCaption() { return standardText(kSelectAllSource).remove(QLatin1Char('&')); }

void LongText::takeOverMenu(QMenu& menu) {
  if (QAction* copyAction = findItem(menu, kCopyName, kCopySource)) {
    disconnect(copyAction, &QAction::triggered, nullptr, nullptr);
    connect(copyAction, &QAction::triggered, this, &LongText::copy);
    copyAction->setEnabled(canCopy());
  }
  if (QAction* selectAllAction = findItem(menu, kSelectAllName, kSelectAllSource)) {
    disconnect(selectAllAction, &QAction::triggered, nullptr, nullptr);
    connect(selectAllAction, &QAction::triggered, this, &LongText::selectAll);
    selectAllAction->setEnabled(!text_.isEmpty() && !allSelected());
  }
}

std::unique_ptr<QMenu> LongText::newMenu(QWidget* parent) {
  auto menu = std::make_unique<QMenu>(parent);
  QAction* copyAction = menu->addAction(copyCaption());
  copyAction->setObjectName(QLatin1String(kCopyName));
  copyAction->setShortcut(QKeySequence::Copy);
  QAction* selectAllAction = menu->addAction(selectAllCaption());
  selectAllAction->setObjectName(QLatin1String(kSelectAllName));
  selectAllAction->setShortcut(QKeySequence::SelectAll);
  takeOverMenu(*menu);
  return menu;
}

std::pair<qsizetype, qsizetype> LongText::window(qsizetype from, qsizetype length) const {
  from = std::clamp<qsizetype>(from, 0, std::max<qsizetype>(0, text_.size() - length));
  if (from > 0 && text_.at(from).isLowSurrogate()) --from;
  qsizetype size = std::min(length, text_.size() - from);
  if (from + size < text_.size() && text_.at(from + size).isLowSurrogate()) ++size;
  return {from, size};
}

int LineWrap::unitsAt(const QString& text, qsizetype offset) {
  return offset + 1 < text.size() && text.at(offset).isHighSurrogate() && text.at(offset + 1).isLowSurrogate()
             ? 2
             : 1;
}

qsizetype LineWrap::wrap(const QString& text, qreal room, const Advance& advance) {
  starts_.assign(1, 0);
  qsizetype lineBegin = 0;
  qsizetype lastBlank = -1;  // the last blank of this line: a line may break after it
  qreal x = 0, xAfterBlank = 0;
  for (qsizetype i = 0; i < text.size();) {
    const QChar c = text.at(i);
    if (isBreak(c)) {
      starts_.push_back(i + 1);
      lineBegin = i + 1;
      lastBlank = -1;
      x = 0;
      ++i;
      continue;
    }
    const int units = unitsAt(text, i);
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
  return lineCount();
}

qsizetype LineWrap::lineOf(qsizetype offset) const {
  const auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return std::max<qsizetype>(0, (it - starts_.begin()) - 1);
}

qsizetype LineWrap::lineEnd(const QString& text, qsizetype line) const {
  qsizetype end = line + 1 < lineCount() ? lineStart(line + 1) : text.size();
  if (end > lineStart(line) && isBreak(text.at(end - 1))) --end;
  return end;
}

std::pair<qsizetype, qsizetype> LineWrap::lineAround(const QString& text, qsizetype offset) const {
  const qsizetype line = lineOf(offset);
  return {lineStart(line), line + 1 < lineCount() ? lineStart(line + 1) : text.size()};
}

}  // namespace tallix::ui
