#include "app/startup.h"

#include <dlfcn.h>
#include <malloc.h>
#include <fontconfig/fontconfig.h>

#include <QDBusConnection>
#include <QEvent>
#include <QObject>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "app/work_ahead.h"
#include "app/wayland_buffers.h"
#include "engine/error.h"
#include "engine/regional.h"
#include "display/report.h"
#include "ui/common/application.h"
#include "ui/main_window/calculette_main.h"
#include "ui/common/glyphs.h"
#include "ui/report/qt_host.h"
#include "ui/common/window_font.h"
#include "ui/help/help.h"
#include "platform/machine_figures.h"
#include "platform/regional_settings.h"

namespace tallix::app {
namespace {

// Start-up needs none of GL, the input-method plugins or compose tables:
// leaving them out keeps the first paint fast and the process small. A user
// who sets these variables gets what they ask for.
void preferLightPlatform() {
  if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) qputenv("QT_XCB_GL_INTEGRATION", "none");
  preferSharedMemoryBuffers();
  preferOwnFrame();
}

// Every window is drawn in Tahoma, so the program's default font is Tahoma
// too (at the desktop's size): a control lays out its first text in the
// default font before it takes its own, and another default would load a
// second font file for that text alone.
void useWindowFontFamily() {
  ui::ensureTahoma();
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("Tahoma")});
  QApplication::setFont(font);
}

// Builds the main window with the default font at the window's own 11-pixel
// size: the display line lays its first, empty text out in the default font
// before it takes its own, and at the desktop's size that layout alone set up
// a font size nothing draws in. The default goes back to the desktop's size
// for every later window.
template <typename Build>
auto withWindowSizedDefaultFont(Build build) {
  const QFont desktop = QApplication::font();
  QApplication::setFont(ui::windowFont(11, false));
  struct Restore {
    const QFont& font;
    ~Restore() { QApplication::setFont(font); }
  } restore{desktop};
  return build();
}

// Start-up frees most of what it allocates (the font configuration's
// parse, the pictures' decode, Qt's first layouts) in the middle of the
// heap, where malloc keeps it. Once the window's first frame is drawn, the
// free pages go back to the system: the running calculator allocates little,
// and what it does finds room again.
class ReleaseFreedAfterFirstFrame : public QObject {
 public:
  explicit ReleaseFreedAfterFirstFrame(QWidget& window) : QObject(&window) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // Queued: the frame is handed to the display server at the end of
      // this paint, before the queue is read again.
      QMetaObject::invokeMethod(
          this,
          [this] {
#ifdef __GLIBC__
            malloc_trim(0);
#endif
            deleteLater();
          },
          Qt::QueuedConnection);
    }
    return false;
  }
};

// The fatal report: the module holding start-up's code and the offset of
// that code in it, as far as the dynamic loader can tell.
void showFatalReport(const Failure& error, Host& host) {
  std::string module = "tallix";
  std::uintptr_t offset = 0;
  Dl_info info{};
  const auto* here = reinterpret_cast<const void*>(static_cast<int (*)(int, char**)>(&run));
  if (dladdr(here, &info) != 0 && info.dli_fname != nullptr) {
    module = info.dli_fname;
    if (const auto slash = module.rfind('/'); slash != std::string::npos) module.erase(0, slash + 1);
    offset = reinterpret_cast<std::uintptr_t>(here) - reinterpret_cast<std::uintptr_t>(info.dli_fbase);
  }
  const Message report = fatalErrorReport(error.kind, module, offset, error.message);
  if (QCoreApplication::instance() != nullptr) {
    host.showMessage(report);
  } else {
    std::fprintf(stderr, "%s: %s", report.caption.c_str(), report.text.c_str());
  }
}

}  // namespace

bool displayAvailable() {
  return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
         qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

int run(int argc, char** argv) {
  ui::QtHost host;
  ui::ViewerHelpOpener help;
  const platform::LinuxMachineFigures machine;
  return run(argc, argv, ui::Services{host, help, machine});
}

int run(int argc, char** argv, const ui::Services& services, const StartupHooks& hooks) {
  if (!displayAvailable()) {
    std::fprintf(stderr,
                 "tallix: no display to open the calculator window on "
                 "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n");
    return 2;
  }
  // 1. The regional separators, before any window.
  const Separateurs regional = platform::readRegionalSettings();
  preferLightPlatform();
  // The font configuration and the pictures, on a second thread while the
  // application object is built. The order keeps the environment still
  // while a second thread runs: start-up's own changes come first, then the
  // launcher's tokens are taken out, so that the toolkit finds none to
  // remove while it connects; they go back once the last thread has ended.
  const LaunchTokens launch = takeLaunchTokens();
  std::function<void()> ahead;
  if (environmentStaysUnchanged()) {
    ahead = [] {
      FcInit();
      ui::preparePictures();
    };
  }
  WorkAhead fontsAndPictures(std::move(ahead));

  std::unique_ptr<ui::TallixApplication> app;
  std::unique_ptr<ui::TCalculetteMain> CalculetteMain;
  try {
    // 2. The application title: the name the desktop shows for the program.
    app = std::make_unique<ui::TallixApplication>(argc, argv, services.host);
    QCoreApplication::setApplicationName(QString::fromUtf8(kApplicationTitle.data(),
                                                           static_cast<qsizetype>(kApplicationTitle.size())));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tallix.Tallix"));
    // Windows without an owner (the help opened by F1) carry the icon too.
    QGuiApplication::setWindowIcon(ui::windowIcon());
    // The screen-reader bridge's session bus connects (a few round trips to
    // the bus) while the fonts load; the bridge then finds it ready.
    WorkAhead sessionBus([] { QDBusConnection::sessionBus(); });
    // Before the first font: fontconfig would otherwise load a second
    // configuration of its own alongside.
    fontsAndPictures.wait();
    useWindowFontFamily();
    if (hooks.beforeMainWindow) hooks.beforeMainWindow();
    // 3. The main window; FormCreate reports its own errors and start-up goes on.
    CalculetteMain =
        withWindowSizedDefaultFont([&] { return std::make_unique<ui::TCalculetteMain>(services, regional); });
    if (hooks.afterMainWindow) hooks.afterMainWindow();
    // 4. No About window is built ahead: none would ever be shown, since each
    // click of "A propos de..." builds its own.
  } catch (...) {
    const Failure error = describeCurrentException();
    CalculetteMain.reset();
    fontsAndPictures.wait();
    handBackLaunchTokens(launch);
    showFatalReport(error, services.host);
    return 1;
  }
  // 5. Both threads have ended (the session bus's with the block above):
  // the launcher's tokens go back before the first window is shown, where
  // the toolkit uses them. Then show the window and run the loop until it is
  // closed.
  handBackLaunchTokens(launch);
  new ReleaseFreedAfterFirstFrame(*CalculetteMain);
  CalculetteMain->show();
  if (hooks.beforeLoop) hooks.beforeLoop();
  const int code = QApplication::exec();
  // 6. Shutdown: the window goes before the application object.
  CalculetteMain.reset();
  // 7. The process ends with the loop's exit code, 0 after a normal end.
  return code;
}

}  // namespace tallix::app
