#include "ui/help/help_viewer.h"

#include <QAction>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QToolBar>
#include <QUrl>

#include "ui/help/chm_file.h"

namespace tallix::ui {

namespace {

constexpr char kScheme[] = "chm";

// Bytes 0x80..0x9F of windows-1252; 0 marks the five unassigned ones.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QUrl urlOf(const QString& path) {
  QUrl url;
  url.setScheme(QString::fromLatin1(kScheme));
  const qsizetype hash = path.indexOf(QLatin1Char('#'));
  url.setPath(hash < 0 ? path : path.left(hash));
  if (hash >= 0) url.setFragment(path.mid(hash + 1));
  return url;
}

}  // namespace

QString fromWindows1252(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    const char16_t high = c >= 0x80 && c < 0xA0 ? kWindows1252High[c - 0x80] : 0;
    text.append(QChar(high != 0 ? high : static_cast<char16_t>(c)));
  }
  return text;
}

QString decodePage(const QByteArray& bytes) {
  static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?([A-Za-z0-9._:-]+)"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QString head = QString::fromLatin1(bytes.left(2048));
  const QRegularExpressionMatch match = charset.match(head);
  if (match.hasMatch()) {
    const QString name = match.captured(1).toLower();
    if (name != QLatin1String("windows-1252") && name != QLatin1String("cp1252")) {
      QStringDecoder decoder(name.toLatin1().constData());
      if (decoder.isValid()) return decoder.decode(bytes);
    }
  }
  return fromWindows1252(bytes);
}

ChmBrowser::ChmBrowser(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, &ChmBrowser::followLink);
}

void ChmBrowser::followLink(const QUrl& url) {
  const QUrl target = url.isRelative() ? source().resolved(url) : url;
  if (target.scheme() != QLatin1String(kScheme)) return;  // stays inside the file
  if (target.path().isEmpty() || target.path() == source().path()) {
    if (target.hasFragment()) scrollToAnchor(target.fragment());
    return;
  }
  setSource(target, QTextDocument::HtmlResource);
}

QVariant ChmBrowser::loadResource(int type, const QUrl& name) {
  const QUrl url = name.isRelative() ? source().resolved(name) : name;
  if (url.scheme() != QLatin1String(kScheme) || !chm_) return {};
  const auto bytes = chm_->read(url.path().toStdString());
  if (!bytes) return {};
  const QByteArray content(bytes->data(), static_cast<qsizetype>(bytes->size()));
  switch (type) {
    case QTextDocument::HtmlResource:
      return decodePage(content);
    case QTextDocument::StyleSheetResource:
      return QString::fromUtf8(content);
    default:
      return content;
  }
}

HelpViewer::HelpViewer(QWidget* owner) : QMainWindow(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("Aide de Tallix"));
  resize(640, 520);

  browser_ = new ChmBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  setCentralWidget(browser_);

  QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
  bar->setObjectName(QStringLiteral("HelpToolBar"));
  bar->setMovable(false);
  QAction* home = bar->addAction(QStringLiteral("Sommaire"));
  QAction* back = bar->addAction(QStringLiteral("Précédent"));
  QAction* forward = bar->addAction(QStringLiteral("Suivant"));
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(home, &QAction::triggered, this, &HelpViewer::goHome);
  connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    // The main topic is itself called "Aide de Tallix": say it once.
    const QString base = QStringLiteral("Aide de Tallix");
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() || title == base ? base : base + QStringLiteral(" - ") + title);
  });
}

HelpViewer::~HelpViewer() = default;

bool HelpViewer::open(const QString& chmPath, int context) {
  if (!QFileInfo(chmPath).isFile()) {
    showMessage(QStringLiteral("Fichier d'aide introuvable"),
                QStringLiteral("Le fichier d'aide « %1 » est introuvable.").arg(chmPath));
    return false;
  }
  // A file cut short may still open and even map its topics: only a file
  // whose every object reads back whole is shown.
  auto chm = std::make_shared<const ChmFile>(chmPath.toStdString());
  if (!chm->isIntact()) {
    showMessage(QStringLiteral("Fichier d'aide endommagé"),
                QStringLiteral("Le fichier d'aide « %1 » est endommagé ou illisible. "
                               "Réinstallez Tallix pour le remplacer.")
                    .arg(chmPath));
    return false;
  }
  chm_ = chm;
  browser_->setChm(chm);
  if (auto home = chm->defaultTopic()) home_ = QString::fromStdString(*home);

  const auto topic = chm->contextPath(context);
  if (!topic) {
    showMessage(QStringLiteral("Rubrique d'aide introuvable"),
                QStringLiteral("Le fichier d'aide « %1 » ne contient pas la rubrique n° %2.")
                    .arg(chmPath)
                    .arg(context));
    return false;
  }
  if (home_.isEmpty()) home_ = QString::fromStdString(*topic);
  browser_->setSource(urlOf(QString::fromStdString(*topic)), QTextDocument::HtmlResource);
  return true;
}

QString HelpViewer::currentPage() const {
  const QUrl source = browser_->source();
  return source.scheme() == QLatin1String(kScheme) ? source.path() : QString();
}

void HelpViewer::goHome() {
  if (chm_ && !home_.isEmpty()) browser_->setSource(urlOf(home_), QTextDocument::HtmlResource);
}

void HelpViewer::showMessage(const QString& title, const QString& text) {
  browser_->clear();
  browser_->setHtml(QStringLiteral("<html><body><h3>%1</h3><p>%2</p>"
                                   "<p>Le reste du programme fonctionne normalement.</p></body></html>")
                        .arg(title.toHtmlEscaped(), text.toHtmlEscaped()));
  setWindowTitle(QStringLiteral("Aide de Tallix"));
}

}  // namespace tallix::ui
