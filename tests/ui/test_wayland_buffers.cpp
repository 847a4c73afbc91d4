// Shared-memory buffers on Wayland: when the program expects Qt's generic
// Wayland client, and the hand-written registry question asked of a real
// compositor (a headless Weston of the test's own).
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "app/wayland_buffers.h"

using tallix::app::compositorOffers;
using tallix::app::waylandClientLikely;

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

  void compositorAnswersTheRegistryQuestion() {
    const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
    if (weston.isEmpty()) QSKIP("weston is not installed: no compositor to ask");
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QFile::setPermissions(runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString socket = QStringLiteral("tallix-test-%1").arg(QCoreApplication::applicationPid());
    QProcess compositor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    compositor.setProcessEnvironment(env);
    compositor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    compositor.start(weston,
                     {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--socket=") + socket,
                      QStringLiteral("--shell=desktop-shell.so"), QStringLiteral("--idle-time=0")});
    if (!compositor.waitForStarted()) QSKIP("weston does not start here");
    const QString path = QDir(runtime.path()).filePath(socket);
    for (int i = 0; i < 100 && !QFileInfo::exists(path); ++i) QTest::qWait(50);
    if (!QFileInfo::exists(path)) QSKIP("weston's headless backend did not come up");

    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray displayBefore = qgetenv("WAYLAND_DISPLAY");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("WAYLAND_DISPLAY", socket.toUtf8());
    const bool shm = compositorOffers("wl_shm");
    const bool frames = compositorOffers("zxdg_decoration_manager_v1");
    qputenv("WAYLAND_DISPLAY", "tallix-test-no-such-compositor");
    const bool nobody = compositorOffers("wl_shm");
    qputenv("XDG_RUNTIME_DIR", runtimeBefore);
    displayBefore.isNull() ? qunsetenv("WAYLAND_DISPLAY") : qputenv("WAYLAND_DISPLAY", displayBefore);
    compositor.terminate();
    compositor.waitForFinished(3000);

    QVERIFY2(shm, "every compositor offers wl_shm");
    QVERIFY2(!frames, "Weston leaves window frames to its clients");
    QVERIFY2(!nobody, "no compositor, no answer");
  }
};

QTEST_GUILESS_MAIN(WaylandBuffersTest)
#include "test_wayland_buffers.moc"
