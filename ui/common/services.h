#pragma once
// What the windows need from the outside world, in one object: the host
// (message boxes, clipboard), the help opener and the machine's figures.
// The program builds it once (app/) and hands it to each window at
// construction; a test builds its own with fakes.

#include <QString>

class QWidget;

namespace tallix {
class Host;
}

namespace tallix::platform {
class MachineFigures;
}

namespace tallix::ui {

// Opens the compiled help at a context number.
class HelpOpener {
 public:
  virtual ~HelpOpener() = default;
  // The help file of a program installed in `programFolder` (ending in '/'):
  // "/usr/lib/tallix/" -> "/usr/lib/tallix/Tallix.chm".
  virtual QString helpFile(const QString& programFolder) const {
    return programFolder + QStringLiteral(TALLIX_HELP_FILE_NAME);
  }
  // Shows `chmPath` at help context `context` and returns at once. With an
  // owner the help belongs to that window; with nullptr it stands on its own.
  virtual void open(const QString& chmPath, int context, QWidget* owner) = 0;
};

struct Services {
  Host& host;
  HelpOpener& help;
  const platform::MachineFigures& machine;
};

}  // namespace tallix::ui
