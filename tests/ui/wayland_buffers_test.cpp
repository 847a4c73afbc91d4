// Shared-memory buffers on Wayland: when the program expects Qt's generic
// Wayland client, which integration it then asks for (the user's own choice
// always wins), and which running Qt a built plugin suits.
#include <QFileInfo>
#include <QTest>

#include "app/wayland_buffers.h"

using tallix::app::pluginFolder;
using tallix::app::pluginSuitsQt;
using tallix::app::preferSharedMemoryBuffers;
using tallix::app::WaylandBuffers;
using tallix::app::waylandClientLikely;

namespace {

constexpr const char* kVariables[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY",
                                      "QT_WAYLAND_CLIENT_BUFFER_INTEGRATION"};

void setOrUnset(const char* name, const QByteArray& value) {
  value.isNull() ? qunsetenv(name) : qputenv(name, value);
}

}  // namespace

class WaylandBuffersTest : public QObject {
  Q_OBJECT

 private slots:
  void waylandClientLikely_data() {
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("likely");
    QTest::newRow("unset platform, a Wayland display") << ""
                                                       << "wayland-0" << true;
    QTest::newRow("unset platform, no Wayland display") << ""
                                                        << "" << false;
    QTest::newRow("wayland named") << "wayland"
                                   << "" << true;
    QTest::newRow("wayland first in a list") << "wayland;xcb"
                                             << "wayland-1" << true;
    QTest::newRow("xcb first in a list") << "xcb;wayland"
                                         << "wayland-1" << false;
    QTest::newRow("wayland-egl sets EGL up itself") << "wayland-egl"
                                                    << "wayland-0" << false;
    QTest::newRow("xcb with a Wayland display") << "xcb"
                                                << "wayland-0" << false;
    QTest::newRow("offscreen") << "offscreen"
                               << "wayland-0" << false;
  }
  void waylandClientLikely() {
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(bool, likely);
    const QByteArray p = platform.toUtf8();
    const QByteArray d = display.toUtf8();
    QCOMPARE(::waylandClientLikely(std::string_view(p.constData(), static_cast<std::size_t>(p.size())),
                                   std::string_view(d.constData(), static_cast<std::size_t>(d.size()))),
             likely);
  }

  void pluginSuitsQt_data() {
    QTest::addColumn<QString>("builtFor");
    QTest::addColumn<QString>("running");
    QTest::addColumn<bool>("suits");
    QTest::newRow("same minor, later patch") << "6.4"
                                             << "6.4.2" << true;
    QTest::newRow("bare major.minor") << "6.4"
                                      << "6.4" << true;
    QTest::newRow("next minor") << "6.4"
                                << "6.5.0" << false;
    QTest::newRow("longer minor with the same digits") << "6.4"
                                                       << "6.40.1" << false;
    QTest::newRow("older minor") << "6.4"
                                 << "6.3.2" << false;
    QTest::newRow("private headers: the same release") << "6.8.2"
                                                       << "6.8.2" << true;
    QTest::newRow("private headers: the next patch") << "6.8.2"
                                                     << "6.8.3" << false;
    QTest::newRow("nothing built") << ""
                                   << "6.4.2" << false;
  }
  void pluginSuitsQt() {
    QFETCH(QString, builtFor);
    QFETCH(QString, running);
    QFETCH(bool, suits);
    QCOMPARE(::pluginSuitsQt(builtFor.toStdString(), running.toStdString()), suits);
  }

  // Each row sets the three variables (a null value unsets one) and checks
  // the choice and what the integration variable then says.
  void choice_data() {
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("userChoice");
    QTest::addColumn<bool>("ownIntegration");
    QTest::addColumn<QByteArray>("variableAfter");
#ifdef TALLIX_TEST_SHM_PLUGIN
    const bool built = true;
    const QByteArray ours("tallix-shm");
#else
    const bool built = false;
    const QByteArray ours;  // no plugin: Qt's own Wayland path, unchanged
#endif
    const QByteArray none;
    QTest::newRow("wayland named") << QByteArray("wayland") << QByteArray("tallix-test-none") << none << built
                                   << ours;
    QTest::newRow("a Wayland session") << none << QByteArray("tallix-test-none") << none << built << ours;
    QTest::newRow("the user's choice wins")
        << QByteArray("wayland") << QByteArray("tallix-test-none") << QByteArray("wayland-egl") << false
        << QByteArray("wayland-egl");
    QTest::newRow("even an empty one")
        << QByteArray("wayland") << none << QByteArray("") << false << QByteArray("");
    QTest::newRow("X11") << QByteArray("xcb") << QByteArray("tallix-test-none") << none << false << none;
  }
  void choice() {
    QFETCH(QByteArray, platform);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, userChoice);
    QFETCH(bool, ownIntegration);
    QFETCH(QByteArray, variableAfter);
    QByteArray before[std::size(kVariables)];
    for (std::size_t i = 0; i < std::size(kVariables); ++i) {
      before[i] = qEnvironmentVariableIsSet(kVariables[i]) ? qgetenv(kVariables[i]) : QByteArray();
    }
    setOrUnset(kVariables[0], platform);
    setOrUnset(kVariables[1], display);
    setOrUnset(kVariables[2], userChoice);
    const WaylandBuffers chosen = preferSharedMemoryBuffers();
    const bool variableSet = qEnvironmentVariableIsSet(kVariables[2]);
    const QByteArray variable = qgetenv(kVariables[2]);
    for (std::size_t i = 0; i < std::size(kVariables); ++i) setOrUnset(kVariables[i], before[i]);

    QCOMPARE(chosen == WaylandBuffers::OwnIntegration, ownIntegration);
    QCOMPARE(variableSet, !variableAfter.isNull());
    QCOMPARE(variable, variableAfter);
    if (ownIntegration) {
      const QString folder = QFileInfo(QString::fromStdString(pluginFolder())).canonicalFilePath();
      QVERIFY2(!folder.isEmpty() && QCoreApplication::libraryPaths().contains(folder),
               "Qt is told where the plugin lies");
    }
  }
};

QTEST_GUILESS_MAIN(WaylandBuffersTest)
#include "wayland_buffers_test.moc"
