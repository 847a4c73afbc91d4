// The built-in help viewer on the help file the project compiles: topics by
// context number, pages decoded in their charset, style sheet and picture
// served from the file, links kept inside it, its own message for a missing
// file or topic, the opener and its test hook, and a render at topic 1000.
#include <QtTest>

#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>

#include "test_fonts.h"
#include "ui/help/help.h"
#include "ui/help/help_viewer.h"

using tallix::ui::HelpViewer;

namespace {

const QString kChm = QStringLiteral(TALLIX_TEST_CHM);

QString plainText(const HelpViewer& viewer) { return viewer.browser()->document()->toPlainText(); }

}  // namespace

class HelpViewerTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    loadTahoma();
    QVERIFY2(QFile::exists(kChm), qPrintable(kChm));
  }

  void decoding_data();
  void decoding();
  void opensAtContext_data();
  void opensAtContext();
  void servesStyleSheetAndPicture();
  void linksStayInsideTheFile();
  void missingFileOrTopic_data();
  void missingFileOrTopic();
  void openHelpReturnsAtOnceWithAViewer();
  void render();
};

void HelpViewerTest::decoding_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::newRow("no charset is windows-1252") << QByteArray("caf\xe9 \x80 \x9c") << QStringLiteral("café € œ");
  QTest::newRow("declared windows-1252")
      << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\xe0")
      << QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">à");
  QTest::newRow("declared utf-8") << QByteArray("<meta charset=\"UTF-8\">d\xc3\xa9" "cimales")
                                  << QStringLiteral("<meta charset=\"UTF-8\">décimales");
  QTest::newRow("declared latin-1 has no euro") << QByteArray("<meta charset=iso-8859-1>\x80\xe9")
                                                << QStringLiteral("<meta charset=iso-8859-1>\u0080é");
  QTest::newRow("unknown charset falls back") << QByteArray("<meta charset=klingon-8>\xe9")
                                              << QStringLiteral("<meta charset=klingon-8>é");
  QTest::newRow("unassigned byte kept") << QByteArray("\x81\x8d") << QStringLiteral("\u0081\u008d");
}

void HelpViewerTest::decoding() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  QCOMPARE(tallix::ui::decodePage(bytes), text);
}

void HelpViewerTest::opensAtContext_data() {
  QTest::addColumn<int>("context");
  QTest::addColumn<QString>("page");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("phrase");
  QTest::newRow("1000, the main topic") << 1000 << "/index.htm" << "Aide de Tallix"
                                        << QStringLiteral("de gauche à droite");
  QTest::newRow("1020, not the default page") << 1020 << "/operations.htm" << QStringLiteral("Les opérations")
                                              << QStringLiteral("5 + 9 √ affiche 14");
  QTest::newRow("1060, the messages") << 1060 << "/erreurs.htm" << QStringLiteral("Les messages d'erreur")
                                      << QStringLiteral("Division par zéro en virgule flottante.");
}

void HelpViewerTest::opensAtContext() {
  QFETCH(int, context);
  QFETCH(QString, page);
  QFETCH(QString, title);
  QFETCH(QString, phrase);
  HelpViewer viewer;
  QVERIFY(viewer.open(kChm, context));
  QCOMPARE(viewer.currentPage(), page);
  QCOMPARE(viewer.browser()->documentTitle(), title);
  QVERIFY2(plainText(viewer).contains(phrase), qPrintable(plainText(viewer).left(400)));
  QVERIFY(viewer.windowTitle().endsWith(title));
}

void HelpViewerTest::servesStyleSheetAndPicture() {
  HelpViewer viewer;
  QVERIFY(viewer.open(kChm, 1000));
  auto* browser = viewer.browser();
  const QVariant css = browser->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("tallix.css")));
  QVERIFY(css.toString().contains(QLatin1String("font-family")));
  const QVariant picture = browser->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("calculette.png")));
  QImage image;
  QVERIFY(image.loadFromData(picture.toByteArray()));
  QCOMPARE(image.size(), QSize(32, 32));
  // Nothing is fetched from outside the file.
  QVERIFY(!browser->loadResource(QTextDocument::HtmlResource, QUrl(QStringLiteral("file:///etc/hostname"))).isValid());
  QVERIFY(!browser->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("absent.png"))).isValid());
  // The style sheet took effect: headings in the help's blue.
  const QTextBlock heading = browser->document()->firstBlock();
  QCOMPARE(heading.charFormat().foreground().color(), QColor(0x1f, 0x4f, 0x9f));
}

void HelpViewerTest::linksStayInsideTheFile() {
  HelpViewer viewer;
  QVERIFY(viewer.open(kChm, 1000));
  auto* browser = viewer.browser();
  emit browser->anchorClicked(QUrl(QStringLiteral("decimales.htm")));
  QCOMPARE(viewer.currentPage(), QStringLiteral("/decimales.htm"));
  QVERIFY(plainText(viewer).contains(QStringLiteral("Arrondi à 2 décimales")));
  for (const char* outside : {"https://example.org/", "mailto:auteur@example.org", "file:///etc/passwd"}) {
    emit browser->anchorClicked(QUrl(QLatin1String(outside)));
    QCOMPARE(viewer.currentPage(), QStringLiteral("/decimales.htm"));
  }
  browser->backward();
  QCOMPARE(viewer.currentPage(), QStringLiteral("/index.htm"));
}

void HelpViewerTest::missingFileOrTopic_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<int>("context");
  QTest::addColumn<QString>("message");
  QTest::newRow("no file") << QStringLiteral("/nonexistent/Tallix.chm") << 1000
                           << QStringLiteral(
                                  "Le fichier d'aide « /nonexistent/Tallix.chm » est introuvable.");
  QTest::newRow("not a help file") << QStringLiteral(TALLIX_TEST_HELP_PROJECT) << 1000
                                   << QStringLiteral("est endommagé ou illisible.");
  // Copies cut short: the directory may still map topic 1000.
  QFile whole(kChm);
  QVERIFY(whole.open(QIODevice::ReadOnly));
  const QByteArray bytes = whole.readAll();
  for (const qsizetype keep : {qsizetype(1000), bytes.size() / 2, bytes.size() - 100}) {
    const QString cut = QDir::temp().filePath(QStringLiteral("tallix_cut_%1.chm").arg(keep));
    QFile file(cut);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.left(keep));
    QTest::addRow("cut to %lld bytes", static_cast<long long>(keep))
        << cut << 1000 << QStringLiteral("est endommagé ou illisible.");
  }
  QTest::newRow("no such topic") << kChm << 999 << QStringLiteral("ne contient pas la rubrique n° 999.");
}

void HelpViewerTest::missingFileOrTopic() {
  QFETCH(QString, path);
  QFETCH(int, context);
  QFETCH(QString, message);
  HelpViewer viewer;
  QVERIFY(!viewer.open(path, context));
  QVERIFY(viewer.currentPage().isEmpty());
  QVERIFY2(plainText(viewer).contains(message), qPrintable(plainText(viewer)));
}

void HelpViewerTest::openHelpReturnsAtOnceWithAViewer() {
  QWidget owner;
  owner.show();
  for (QWidget* expectedParent : {static_cast<QWidget*>(nullptr), &owner}) {
    const QWidgetList existing = QApplication::allWidgets();
    const QSet<QWidget*> before(existing.cbegin(), existing.cend());
    tallix::ui::ViewerHelpOpener().open(kChm, 1000, expectedParent);
    HelpViewer* viewer = nullptr;
    for (QWidget* w : QApplication::allWidgets())
      if (auto* v = qobject_cast<HelpViewer*>(w); v != nullptr && !before.contains(v)) viewer = v;
    QVERIFY(viewer != nullptr);
    QVERIFY(viewer->isVisible());
    QVERIFY(!viewer->isModal());
    QVERIFY(viewer->isWindow());
    QCOMPARE(viewer->parentWidget(), expectedParent);
    QCOMPARE(viewer->currentPage(), QStringLiteral("/index.htm"));
    QVERIFY(viewer->testAttribute(Qt::WA_DeleteOnClose));
    QPointer<HelpViewer> watch(viewer);
    viewer->close();
    QVERIFY(QTest::qWaitFor([&] { return watch.isNull(); }));
  }
}

void HelpViewerTest::render() {
  for (const auto& [context, file] : {std::pair{1000, "help_viewer_1000.png"}, std::pair{1020, "help_viewer_1020.png"}}) {
    HelpViewer viewer;
    QVERIFY(viewer.open(kChm, context));
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QVERIFY(viewer.grab().save(QStringLiteral(TALLIX_TEST_OUTPUT_DIR "/") + QLatin1String(file)));
  }
  HelpViewer missing;
  missing.open(QStringLiteral("/nonexistent/Tallix.chm"), 1000);
  missing.show();
  QVERIFY(missing.grab().save(QStringLiteral(TALLIX_TEST_OUTPUT_DIR "/help_viewer_missing.png")));
}

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
