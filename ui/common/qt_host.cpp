#include "ui/common/qt_host.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>

#include "engine/error.h"

namespace tallix::ui {
namespace {

QClipboard* clipboardOrThrow() {
  QClipboard* clipboard = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                              ? QGuiApplication::clipboard()
                              : nullptr;
  if (clipboard == nullptr) {
    throw CalcError::ofKind(ErrorKind::Exception);
  }
  return clipboard;
}

}  // namespace

QString QtHost::boxText(const std::string& utf8) {
  QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  if (text.size() > 2 * kBoxTextEnds + 3) {
    qsizetype head = kBoxTextEnds;
    qsizetype tail = text.size() - kBoxTextEnds;
    // Never split a character written as a surrogate pair.
    if (text.at(head - 1).isHighSurrogate()) --head;
    if (text.at(tail).isLowSurrogate()) ++tail;
    text = text.left(head) + QStringLiteral(" \u2026 ") + text.mid(tail);
  }
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
  QWidget* owner = nullptr;
  if (!message.taskModal) {
    owner = QApplication::activeModalWidget();
    if (owner == nullptr) owner = QApplication::activeWindow();
  }
  QMessageBox box(message.icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Critical,
                  QString::fromUtf8(message.caption), boxText(message.text), QMessageBox::Ok, owner);
  box.setWindowModality(Qt::ApplicationModal);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::string QtHost::clipboardText() { return clipboardOrThrow()->text().toStdString(); }

void QtHost::setClipboardText(std::string_view text) {
  clipboardOrThrow()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace tallix::ui
