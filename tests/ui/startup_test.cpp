// Start-up and shutdown as the program runs them: the normal close with exit
// code 0, a fatal start-up error with its report and exit code 1.
#include <QTest>
#include <QTimer>

#include <locale.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/work_ahead.h"
#include "app/startup.h"
#include "engine/error.h"
#include "ui/main_window/calculette_main.h"
#include "ui_services.h"

using tallix::Message;
using tallix::ui::testing::TestServices;

namespace {

int failures = 0;

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "FAIL: %s\n", what);
    ++failures;
  }
}

// One run of the program with its own services.
int runWith(TestServices& services, const tallix::app::StartupHooks& hooks) {
  static char name[] = "test_startup";
  char* argv[] = {name, nullptr};
  return tallix::app::run(1, argv, services.services(), hooks);
}

}  // namespace

int main() {
  {  // Work reading the environment is done ahead only while the toolkit
     // will leave the environment alone: a launcher's tokens are taken out
     // first (and given back unchanged), WAYLAND_SOCKET cannot be.
    struct Row {
      const char* variable;  // set for the row, or nullptr
      bool unchanged;        // after the tokens are taken
      bool taken;            // out of the environment meanwhile
    };
    for (const Row& row : {Row{nullptr, true, false}, Row{"DESKTOP_STARTUP_ID", true, true},
                           Row{"XDG_ACTIVATION_TOKEN", true, true}, Row{"WAYLAND_SOCKET", false, false}}) {
      const char* name = row.variable != nullptr ? row.variable : "no launcher token";
      if (row.variable != nullptr) setenv(row.variable, "tallix-test", 1);
      const tallix::app::LaunchTokens tokens = tallix::app::takeLaunchTokens();
      const bool unchanged = tallix::app::environmentStaysUnchanged();
      const bool taken = row.variable != nullptr && std::getenv(row.variable) == nullptr;
      tallix::app::handBackLaunchTokens(tokens);  // no application object: back into the environment
      const char* back = row.variable != nullptr ? std::getenv(row.variable) : nullptr;
      check(row.variable == nullptr || (back != nullptr && std::string(back) == "tallix-test"), name);
      if (row.variable != nullptr) unsetenv(row.variable);
      check(unchanged == row.unchanged, name);
      check(taken == row.taken, name);
    }
    // The work ahead reads a locale of its own, not the process's, which
    // the application object sets while it runs.
    bool ownLocale = false;
    tallix::app::WorkAhead reading(
        [&ownLocale] { ownLocale = uselocale(static_cast<locale_t>(nullptr)) != LC_GLOBAL_LOCALE; });
    reading.wait();
    check(ownLocale, "the work ahead runs in a locale of its own");
    // An error in the work ahead is dropped, not fatal; no work, no thread.
    bool ran = false;
    tallix::app::WorkAhead failing([&ran] {
      ran = true;
      throw std::runtime_error("left for first use");
    });
    failing.wait();
    check(failing.started() && ran, "work ahead runs, and its error is dropped");
    const tallix::app::WorkAhead none{std::function<void()>()};
    check(!none.started(), "no work, no thread");
    // From a launcher: the tokens are out of the environment while the
    // application object is built, and back before the window is shown
    // (Qt's offscreen platform reads neither).
    setenv("DESKTOP_STARTUP_ID", "tallix-test", 1);
    setenv("XDG_ACTIVATION_TOKEN", "tallix-token", 1);
    TestServices services;
    tallix::app::StartupHooks hooks;
    bool outWhileBuilding = false;
    bool backWhenShown = false;
    hooks.beforeMainWindow = [&] {
      outWhileBuilding = !qEnvironmentVariableIsSet("DESKTOP_STARTUP_ID") &&
                         !qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN");
    };
    hooks.beforeLoop = [&] {
      backWhenShown =
          qgetenv("DESKTOP_STARTUP_ID") == "tallix-test" && qgetenv("XDG_ACTIVATION_TOKEN") == "tallix-token";
      QTimer::singleShot(0, [] { QApplication::closeAllWindows(); });
    };
    check(runWith(services, hooks) == 0, "started from a launcher: opens and closes");
    check(services.host.messages.empty(), "started from a launcher: no box");
    check(outWhileBuilding, "started from a launcher: the tokens are out while the toolkit connects");
    check(backWhenShown, "started from a launcher: the tokens are back when the window is shown");
    unsetenv("DESKTOP_STARTUP_ID");
    unsetenv("XDG_ACTIVATION_TOKEN");
  }
  {  // Closing the window ends the loop with code 0; the title is set.
    TestServices services;
    const std::vector<Message>& boxes = services.host.messages;
    tallix::app::StartupHooks hooks;
    std::string title;
    QString display;
    hooks.beforeLoop = [&] {
      QTimer::singleShot(0, [&] {
        title = QCoreApplication::applicationName().toStdString();
        for (QWidget* w : QApplication::topLevelWidgets()) {
          if (auto* main = qobject_cast<tallix::ui::TCalculetteMain*>(w)) {
            display = QString::fromStdString(main->session().displayText());
            QTest::mouseClick(main->findChild<QWidget*>(QStringLiteral("FermerButton")), Qt::LeftButton);
          }
        }
      });
    };
    check(runWith(services, hooks) == 0, "Fermer ends the program with exit code 0");
    check(title == "Tallix Standart", "application title");
    check(display == QStringLiteral("0"), "the display starts on 0");
    check(boxes.empty(), "no box at a normal start");
  }

  {  // An error while the main window is being built is fatal.
    TestServices services;
    const std::vector<Message>& boxes = services.host.messages;
    tallix::app::StartupHooks hooks;
    hooks.beforeMainWindow = [] { throw tallix::CalcError::conversion("abc"); };
    check(runWith(services, hooks) == 1, "a fatal start-up error exits with code 1");
    check(boxes.size() == 1, "one fatal report");
    if (boxes.size() == 1) {
      check(boxes[0].caption == "Erreur d'application", "fatal caption");
      check(boxes[0].taskModal, "the fatal report has no owner");
      check(boxes[0].text.rfind("Exception EConvertError dans le module ui_startup dans ", 0) == 0,
            boxes[0].text.c_str());
      const std::string ending = "'abc' n'est pas une valeur en virgule flottante correcte.\r\n";
      check(boxes[0].text.size() > ending.size() &&
                boxes[0].text.compare(boxes[0].text.size() - ending.size(), ending.size(), ending) == 0,
            boxes[0].text.c_str());
    }
  }

  {  // An error in FormCreate is not fatal: reported, and start-up goes on.
    TestServices services;
    const std::vector<Message>& boxes = services.host.messages;
    tallix::app::StartupHooks hooks;
    services.help.failure = std::make_exception_ptr(std::runtime_error("panne"));
    hooks.beforeLoop = [] {
      QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
          if (qobject_cast<tallix::ui::TCalculetteMain*>(w) != nullptr) w->close();
        }
      });
    };
    check(runWith(services, hooks) == 0, "start-up goes on after a FormCreate error");
    check(boxes.size() == 1 && boxes[0].text == "panne." && boxes[0].caption == "Tallix Standart",
          "the FormCreate error is an application error report");
  }

  {  // Without a display the program says so and fails.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    TestServices services;
    check(runWith(services, {}) == 2, "no display: exit code 2");
    if (!platform.isNull()) qputenv("QT_QPA_PLATFORM", platform);
    if (!display.isNull()) qputenv("DISPLAY", display);
    if (!wayland.isNull()) qputenv("WAYLAND_DISPLAY", wayland);
  }

  if (failures == 0) std::puts("ui_startup: all checks passed");
  return failures == 0 ? 0 : 1;
}
