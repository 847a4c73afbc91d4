// The whole program with its own services (the Qt host's real message
// boxes, the help viewer, the machine's figures) on a private session bus:
// help, About, an error report, copy and paste, then Fermer. It must end
// with exit code 0 and, in the sanitizer build, with no leak report: every
// connection and window start-up and use make is closed by the time the
// process exits.
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <signal.h>
#include <sys/types.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "ui/about/machine_figures.h"
#include "ui/common/qt_host.h"
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

}  // namespace

int main() {
  PrivateSessionBus bus;
  if (!bus.running()) {
    std::puts("SKIP: dbus-daemon could not start a private session bus (package dbus)");
    return kSkip;
  }
  tallix::ui::QtHost host;
  tallix::ui::ViewerHelpOpener help;
  const tallix::ui::LinuxMachineFigures machine;
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
  if (failures == 0) std::puts("ui_clean_exit: all checks passed");
  return failures == 0 ? 0 : 1;
}
