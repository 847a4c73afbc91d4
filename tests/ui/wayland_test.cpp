// The calculator on a real Wayland compositor: a headless Weston of the
// test's own (its own runtime folder and socket, so it never meets the
// desktop's), then the program's start-up on Qt's native Wayland platform.
// The window must map with its title, its caption must offer a close box
// only and the About window's a minimise and a close box, "Fermer" must close
// it with exit code 0, and the compositor must still run. Where the program's own shared-memory
// buffer integration is built, the window must also get its frame from Qt
// while no EGL driver, Mesa renderer or LLVM is loaded; where its own
// window frame is built, Qt must draw that one. Where Weston cannot start,
// the test says why and is skipped (exit code 77). With
// TALLIX_WAYLAND_SHOTS=FOLDER, Weston renders in software and
// weston-screenshooter saves the screen with both windows there.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMargins>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/startup.h"
#include "app/wayland_frame/caption_buttons.h"
#include "ui/about/about_box.h"
#include "ui/main_window/calculette_main.h"
#include "ui_services.h"

namespace {

constexpr int kSkipped = 77;

// A headless Weston in a temporary runtime folder; stopped and removed again
// by the destructor.
class HeadlessWeston {
 public:
  ~HeadlessWeston() {
    stop();
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }

  // Starts the compositor and waits for its socket; on failure returns
  // false with the reason.
  bool start(std::string& why) {
    char pattern[] = "/tmp/tallix-wayland-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
      why = std::string("cannot make a runtime folder: ") + std::strerror(errno);
      return false;
    }
    folder_ = pattern;  // mkdtemp makes it 0700, as XDG_RUNTIME_DIR must be
    socket_ = "tallix-test-" + std::to_string(getpid());
    const std::string log = folder_ + "/weston.log";
    pid_ = fork();
    if (pid_ == 0) {
      const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (out >= 0) {
        dup2(out, 1);
        dup2(out, 2);
      }
      setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
      unsetenv("WAYLAND_DISPLAY");
      unsetenv("DISPLAY");
      const std::string socketOption = "--socket=" + socket_;
      if (std::getenv("TALLIX_WAYLAND_SHOTS") != nullptr) {
        execlp("weston", "weston", "--backend=headless-backend.so", socketOption.c_str(), "--idle-time=0",
               "--width=800", "--height=600", "--use-pixman", "--debug", static_cast<char*>(nullptr));
      }
      execlp("weston", "weston", "--backend=headless-backend.so", socketOption.c_str(), "--idle-time=0",
             "--width=800", "--height=600", static_cast<char*>(nullptr));
      std::fprintf(stderr, "cannot run weston: %s\n", std::strerror(errno));
      _exit(127);
    }
    if (pid_ < 0) {
      why = std::string("cannot fork: ") + std::strerror(errno);
      return false;
    }
    // The socket appears once the compositor listens; a compositor that
    // cannot start exits instead. Give up after 20 s.
    const std::string socketPath = folder_ + "/" + socket_;
    for (int tries = 0; tries < 200; ++tries) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        why = "weston exited at start-up (status " + std::to_string(status) + "): " + logTail(log);
        return false;
      }
      if (std::filesystem::exists(socketPath)) return true;
      usleep(100'000);
    }
    why = "weston did not open its socket within 20 s: " + logTail(log);
    return false;
  }

  bool running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

  // SIGTERM, as a session ends it; true when it then exited normally.
  bool stop() {
    if (pid_ <= 0) return false;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status);
  }

  const std::string& folder() const { return folder_; }
  const std::string& socket() const { return socket_; }

 private:
  static std::string logTail(const std::string& log) {
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > 800 ? all.substr(all.size() - 800) : all;
  }

  std::string folder_;
  std::string socket_;
  pid_t pid_ = -1;
};

int failures = 0;

std::string readFile(const char* path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The boxes the window's frame offers, from its flags as Qt settled them.
tallix::app::CaptionButtons captionButtons(const QWindow* window) {
  return tallix::app::captionButtons(window->flags(), window->minimumSize() == window->maximumSize());
}

void check(bool ok, const std::string& what) {
  if (!ok) {
    std::fprintf(stderr, "FAIL: %s\n", what.c_str());
    ++failures;
  }
}

}  // namespace

int main() {
  HeadlessWeston weston;
  std::string why;
  if (!weston.start(why)) {
    std::printf("SKIPPED: no headless Wayland compositor could start here: %s\n", why.c_str());
    return kSkipped;
  }
  setenv("XDG_RUNTIME_DIR", weston.folder().c_str(), 1);
  setenv("WAYLAND_DISPLAY", weston.socket().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "wayland", 1);
  unsetenv("DISPLAY");

  QString platform;
  bool exposed = false;
  QString title;
  QMargins frame;
  QMargins aboutFrame;
  tallix::app::CaptionButtons mainButtons;
  tallix::app::CaptionButtons aboutButtons;
  std::string maps;
  tallix::ui::testing::TestServices services;
  tallix::app::StartupHooks hooks;
  hooks.beforeLoop = [&] {
    QTimer::singleShot(0, [&] {
      platform = QGuiApplication::platformName();
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* main = qobject_cast<tallix::ui::TCalculetteMain*>(w)) {
          exposed = QTest::qWaitForWindowExposed(main, 10000);
          if (main->windowHandle() != nullptr) {
            title = main->windowHandle()->title();
            frame = main->windowHandle()->frameMargins();
            mainButtons = captionButtons(main->windowHandle());
          }
          // The About window as the About button shows it, without its modal
          // loop.
          tallix::ui::TAboutBox about(services.services(), main);
          about.show();
          if (QTest::qWaitForWindowExposed(&about, 10000) && about.windowHandle() != nullptr) {
            aboutFrame = about.windowHandle()->frameMargins();
            aboutButtons = captionButtons(about.windowHandle());
            if (const char* shots = std::getenv("TALLIX_WAYLAND_SHOTS")) {
              QTest::qWait(500);
              const std::string command = std::string("cd '") + shots + "' && weston-screenshooter";
              check(std::system(command.c_str()) == 0, "weston-screenshooter saves the screen");
            }
          }
          about.close();
          maps = readFile("/proc/self/maps");
          QTest::mouseClick(main->findChild<QWidget*>(QStringLiteral("FermerButton")), Qt::LeftButton);
        }
      }
    });
  };
  static char name[] = "ui_wayland";
  char* argv[] = {name, nullptr};
  const int code = tallix::app::run(1, argv, services.services(), hooks);

  check(platform == QStringLiteral("wayland"), "Qt's platform is " + platform.toStdString());
  check(exposed, "the window is mapped and exposed by the compositor");
  check(title == QStringLiteral("Duvuroreza"), "the window's title is '" + title.toStdString() + "'");
  using tallix::app::CaptionButton;
  check(mainButtons == CaptionButton::Close, "the calculator's caption offers a close box only");
  check(aboutButtons == (tallix::app::CaptionButtons(CaptionButton::Minimize) | CaptionButton::Close),
        "the About window's caption offers a minimise and a close box");
#ifdef TALLIX_TEST_SHM_PLUGIN
  check(qgetenv("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION") == "tallix-shm",
        "the program asks for its own integration");
  // Qt 6.4 sets a buffer integration up at the first show, to learn whether
  // it may draw frames; later releases set none up for windows drawn in
  // software. Any integration loaded must be ours.
  const bool ownIntegration = maps.find("/libtallix_shm.so") != std::string::npos;
  check(ownIntegration || QT_VERSION >= QT_VERSION_CHECK(6, 5, 0), "the program's own integration is loaded");
  check(ownIntegration || maps.find("wayland-graphics-integration-client/") == std::string::npos,
        "no integration but the program's own is loaded");
  for (const char* heavy : {"libEGL_mesa", "swrast_dri", "libLLVM"}) {
    check(maps.find(heavy) == std::string::npos,
          std::string(heavy) + " is loaded for a window drawn in software");
  }
  check(frame.top() > 0,
        "Qt draws the window's title bar (top frame margin " + std::to_string(frame.top()) + ")");
#endif
#ifdef TALLIX_TEST_FRAME_PLUGIN
  check(qgetenv("QT_WAYLAND_DECORATION") == "tallix-frame", "the program asks for its own window frame");
  check(maps.find("/libtallix_frame.so") != std::string::npos, "the program's own window frame is loaded");
  check(frame == QMargins(3, 30, 3, 3) && aboutFrame == frame,
        "both windows get the program's frame (top margin " + std::to_string(frame.top()) + ", About's " +
            std::to_string(aboutFrame.top()) + ")");
#endif
  check(services.host.messages.empty(), "no message box on the way");
  check(code == 0, "Fermer ends the program with exit code 0, not " + std::to_string(code));
  check(weston.running(), "the compositor still runs after the program closed");
  check(weston.stop(), "the compositor ends normally");
  if (failures == 0) std::puts("ui_wayland: the window mapped on Weston as \"Duvuroreza\" and closed");
  return failures == 0 ? 0 : 1;
}
