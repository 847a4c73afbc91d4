#include "ui/report/qt_host.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <memory>

#include "engine/error.h"
#include "ui/report/report_box.h"

namespace tallix::ui {
namespace {

QClipboard* clipboardOrThrow() {
  QClipboard* clipboard =
      qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
  if (clipboard == nullptr) {
    throw CalcError::ofKind(ErrorKind::Exception);
  }
  return clipboard;
}

// The window a box belongs to: the modal window on top (the About window
// while it is open), else the active window, else the program's visible
// main window, which is the one the user works in when no window manager
// tells which is active.
QWidget* reportOwner() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowType() == Qt::Window) return widget;
  }
  return nullptr;
}

}  // namespace

QString QtHost::boxText(const std::string& utf8) {
  QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  if (ReportBox::isLong(text)) return text;  // the long box wraps it itself
  QString shown;
  shown.reserve(text.size() + text.size() / kBoxWordLength);
  qsizetype run = 0;
  for (const QChar c : text) {
    if (run >= kBoxWordLength && !c.isLowSurrogate() && !c.isSpace()) {
      shown += QChar(0x200B);
      run = 0;
    }
    shown += c;
    run = c.isSpace() ? 0 : run + 1;
  }
  return shown;
}

void QtHost::showMessage(const Message& message) {
  QWidget* owner = message.taskModal ? nullptr : reportOwner();
  const QPointer<QWidget> focus = QApplication::focusWidget();
  const QString caption = QString::fromUtf8(message.caption);
  const QString text = boxText(message.text);
  std::unique_ptr<QDialog> box;
  if (ReportBox::isLong(text)) {
    box = std::make_unique<ReportBox>(message.icon, caption, text, owner);
  } else {
    auto shortBox = std::make_unique<QMessageBox>(
        message.icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Critical, caption, text,
        QMessageBox::Ok, owner);
    shortBox->setTextFormat(Qt::PlainText);
    box = std::move(shortBox);
  }
  box->setWindowModality(Qt::ApplicationModal);
  if (owner != nullptr) {
    // Shown first so the box has its final size, then centred over its owner:
    // the toolkit's own placement allows for a title bar that is not there
    // without a window manager.
    box->show();
    QRect place(QPoint(), box->frameGeometry().size());
    place.moveCenter(owner->frameGeometry().center());
    if (const QScreen* screen = owner->screen()) {
      const QRect room = screen->availableGeometry();
      place.moveLeft(
          std::clamp(place.left(), room.left(), std::max(room.left(), room.right() - place.width())));
      place.moveTop(
          std::clamp(place.top(), room.top(), std::max(room.top(), room.bottom() - place.height())));
    }
    box->move(place.topLeft());
  }
  box->exec();
  box.reset();
  // The owner is activated again and the focus put back explicitly: without
  // a window manager nobody else would, and keys typed next would be lost.
  if (owner != nullptr && owner->isVisible()) owner->activateWindow();
  if (focus != nullptr && focus->isVisible()) focus->setFocus(Qt::ActiveWindowFocusReason);
}

std::string QtHost::clipboardText() { return clipboardOrThrow()->text().toStdString(); }

void QtHost::setClipboardText(std::string_view text) {
  clipboardOrThrow()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace tallix::ui
