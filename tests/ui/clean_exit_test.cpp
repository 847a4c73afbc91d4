// The whole program with its own services (the Qt host's real message
// boxes, the help viewer, the machine's figures): help, About, an error
// report, copy and paste, then Fermer. It must end with exit code 0 and, in
// the sanitizer build, with no leak report: every connection and window
// start-up and use make is closed by the time the process exits. It runs
// twice: on a private session bus, then (in a child process) with no session
// bus to be found, where the toolkit's bus library tries to start one.
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/machine_figures.h"
#include "ui/report/qt_host.h"
#include "ui/help/help.h"
#include "ui/main_window/calculette_main.h"

namespace {

constexpr int kSkip = 77;

// A session bus of the test's own: dbus-daemon forks, prints its address
// and its process id, and is stopped at the end.
class PrivateSessionBus {
 public:
  PrivateSessionBus() {
    FILE* out = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    if (out == nullptr) return;
    char address[512] = {};
    char pid[32] = {};
    const bool read =
        std::fgets(address, sizeof address, out) != nullptr && std::fgets(pid, sizeof pid, out) != nullptr;
    pclose(out);
    if (!read) return;
    std::string text = address;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (text.empty()) return;
    pid_ = static_cast<pid_t>(std::atol(pid));
    setenv("DBUS_SESSION_BUS_ADDRESS", text.c_str(), 1);
  }
  ~PrivateSessionBus() {
    if (pid_ > 0) kill(pid_, SIGTERM);
  }
  PrivateSessionBus(const PrivateSessionBus&) = delete;
  PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;
  bool running() const { return pid_ > 0; }

 private:
  pid_t pid_ = 0;
};

// An X server of the test's own, when Xvfb is installed: the program then
// runs on Qt's X11 platform as on a desktop (the X clipboard, the
// screen-reader bridge, the startup notification). -displayfd writes the
// display number it chose.
class PrivateXServer {
 public:
  PrivateXServer() {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(pipeFds[0]);
      const std::string fd = std::to_string(pipeFds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(pipeFds[1]);
    // The number and its newline come in two writes: the pipe stays open
    // until the newline, or the server's second write fails and it exits.
    std::string number;
    char c = 0;
    while (pid_ > 0 && read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeFds[0]);
    if (c != '\n' || number.empty()) {
      stop();
      return;
    }
    display_ = ":" + number;
  }
  ~PrivateXServer() { stop(); }
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;
  const std::string& display() const { return display_; }

 private:
  void stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    pid_ = 0;
  }
  pid_t pid_ = 0;
  std::string display_;
};

tallix::ui::TCalculetteMain* mainWindow() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* main = qobject_cast<tallix::ui::TCalculetteMain*>(w)) return main;
  }
  return nullptr;
}

// The steps, each run from the event loop once the one before it has
// returned. A step that opens a modal window first asks for it to be
// closed a moment later, from the modal window's own loop.
class Script {
 public:
  using Step = std::function<void(tallix::ui::TCalculetteMain&)>;
  void add(const char* name, Step step) { steps_.push_back({name, std::move(step)}); }
  void start() {
    QTimer::singleShot(50, [this] { next(); });
  }
  std::vector<std::string> done;
  std::vector<std::string> modalsClosed;

  // Closes the modal window shown meanwhile (the About window, a report).
  void closeModalSoon() {
    QTimer::singleShot(300, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) return;
      modalsClosed.push_back(modal->windowTitle().toStdString());
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
      } else {
        modal->close();
      }
    });
  }

 private:
  void next() {
    tallix::ui::TCalculetteMain* main = mainWindow();
    if (main == nullptr || index_ >= steps_.size()) return;
    const auto& [name, step] = steps_[index_++];
    step(*main);
    done.push_back(name);
    QTimer::singleShot(200, [this] { next(); });
  }
  std::vector<std::pair<std::string, Step>> steps_;
  std::size_t index_ = 0;
};

QWidget* control(tallix::ui::TCalculetteMain& main, const char* name) {
  auto* widget = main.findChild<QWidget*>(QString::fromLatin1(name));
  if (widget == nullptr) std::fprintf(stderr, "no control %s\n", name);
  return widget;
}

void click(tallix::ui::TCalculetteMain& main, const char* name) {
  if (QWidget* widget = control(main, name)) QTest::mouseClick(widget, Qt::LeftButton);
}

// One run of the program through the script, started as a launcher starts
// it; returns the number of failed checks. `onX11` when it runs on an X
// server.
int drive(bool onX11) {
  setenv("DESKTOP_STARTUP_ID", "tallix-clean-exit_TIME0", 1);
  tallix::ui::QtHost host;
  tallix::ui::ViewerHelpOpener help;
  const tallix::platform::LinuxMachineFigures machine;
  const tallix::ui::Services services{host, help, machine};

  Script script;
  QString pasted;
  script.add("help", [](auto& main) { click(main, "ButtonAide"); });
  script.add("help closed", [](auto& main) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w != &main && w->isVisible() && w->inherits("tallix::ui::HelpViewer")) w->close();
    }
  });
  script.add("About", [&script](auto& main) {
    script.closeModalSoon();
    click(main, "AboutButton");
  });
  script.add("report", [&script](auto& main) {
    script.closeModalSoon();
    QTest::keyClicks(control(main, "Ecran"), QStringLiteral("4"));
    click(main, "ButtonNeg");
    click(main, "RacineCarreeButton");  // the square root of -4: the invalid-input box
  });
  script.add("copy and paste", [&pasted](auto& main) {
    QTest::keyClicks(control(main, "Ecran"), QStringLiteral("12"));
    QTest::keyClick(control(main, "Ecran"), Qt::Key_C, Qt::ControlModifier);
    click(main, "ButtonCancel");
    QTest::keyClick(control(main, "Ecran"), Qt::Key_V, Qt::ControlModifier);
    pasted = QString::fromStdString(main.session().displayText());
  });
  script.add("Fermer", [](auto& main) { click(main, "FermerButton"); });

  tallix::app::StartupHooks hooks;
  hooks.beforeLoop = [&script] { script.start(); };
  static char name[] = "test_clean_exit";
  char* argv[] = {name, nullptr};
  const int code = tallix::app::run(1, argv, services, hooks);

  int failures = 0;
  auto check = [&failures](bool ok, const std::string& what) {
    if (!ok) {
      std::fprintf(stderr, "FAIL: %s\n", what.c_str());
      ++failures;
    }
  };
  check(code == 0, "the program ends with exit code 0, got " + std::to_string(code));
  check(script.done.size() == 6, "every step ran: " + std::to_string(script.done.size()) + " of 6");
  std::string modals;
  for (const std::string& title : script.modalsClosed) modals += " [" + title + "]";
  check(script.modalsClosed == std::vector<std::string>{"A propos de...", "Duvuroreza"},
        "the About window, then the error report, were shown and closed:" + modals);
  check(pasted == QStringLiteral("12"), "the copied display pasted back: " + pasted.toStdString());
  // On X11 the startup id went to Qt's X connection, which sent the
  // launcher its "remove" message, and stays out of the environment.
  const bool idInEnvironment = std::getenv("DESKTOP_STARTUP_ID") != nullptr;
  check(idInEnvironment != onX11, "the startup id goes to the X11 connection, not the environment");
  return failures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--without-bus") {
    return drive(std::getenv("DISPLAY") != nullptr) == 0 ? 0 : 1;
  }
  PrivateSessionBus bus;
  if (!bus.running()) {
    std::puts("SKIP: dbus-daemon could not start a private session bus (package dbus)");
    return kSkip;
  }
  // A desktop session's: the X11 platform on an X server of the test's own
  // (else Qt's offscreen platform).
  PrivateXServer x;
  if (!x.display().empty()) {
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("DISPLAY", x.display().c_str(), 1);
  } else {
    std::puts("Xvfb could not start: on Qt's offscreen platform");
  }
  int failures = drive(!x.display().empty());

  // Then with no session bus to be found: no address, and a runtime folder
  // without a bus socket, in a process of its own (the leak check runs when
  // a process ends).
  char runtime[] = "/tmp/tallix-runtime-XXXXXX";
  if (mkdtemp(runtime) == nullptr) {
    std::puts("FAIL: no runtime folder for the run without a bus");
    return 1;
  }
  const pid_t child = fork();
  if (child == 0) {
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    setenv("XDG_RUNTIME_DIR", runtime, 1);
    execl("/proc/self/exe", argv[0], "--without-bus", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  const bool ended = child > 0 && waitpid(child, &status, 0) == child;
  rmdir(runtime);
  if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::printf("FAIL: without a session bus the program did not end cleanly (wait status %d)\n", status);
    ++failures;
  }
  if (failures == 0) std::puts("ui_clean_exit: all checks passed");
  return failures == 0 ? 0 : 1;
}
