#pragma once
// The built-in help viewer: a window that shows the pages of a compiled
// HTML Help file, opened at a context number, entirely from inside the file.

#include <memory>

#include <QByteArray>
#include <QMainWindow>
#include <QString>
#include <QTextBrowser>

namespace tallix::ui {

class ChmFile;

// Decodes a page in the charset its <meta> declares (windows-1252 when it
// declares none or one this viewer does not know):
// decodePage("<meta charset=utf-8>\xc3\xa9") ends in u"é", decodePage("\xe9")
// is u"é", decodePage("\x80") is u"€".
QString decodePage(const QByteArray& bytes);

// windows-1252 to text; the five unassigned bytes keep their Latin-1 value.
QString fromWindows1252(const QByteArray& bytes);

// A text browser whose every page, style sheet and picture comes from one
// CHM file, under URLs of the form chm:/path/page.htm. Links that leave the
// file (web, mail, other files) are ignored.
class ChmBrowser final : public QTextBrowser {
  Q_OBJECT
 public:
  explicit ChmBrowser(QWidget* parent = nullptr);
  void setChm(std::shared_ptr<const ChmFile> chm) { chm_ = std::move(chm); }
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  void followLink(const QUrl& url);
  std::shared_ptr<const ChmFile> chm_;
};

class HelpViewer final : public QMainWindow {
  Q_OBJECT
 public:
  // With an owner the viewer belongs to that window; it is never modal.
  explicit HelpViewer(QWidget* owner = nullptr);
  ~HelpViewer() override;

  // Opens `chmPath` at the topic of context `context`. Returns false, with
  // the viewer's own message on show, when the file or the topic is missing.
  bool open(const QString& chmPath, int context);

  ChmBrowser* browser() const { return browser_; }
  // "/index.htm" while that page is shown; empty when a message is shown.
  QString currentPage() const;

 private:
  void showMessage(const QString& title, const QString& text);
  void goHome();

  ChmBrowser* browser_ = nullptr;
  std::shared_ptr<const ChmFile> chm_;
  QString home_;
};

}  // namespace tallix::ui
