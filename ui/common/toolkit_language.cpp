#include "ui/common/toolkit_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tallix::ui {

bool installFrenchToolkitTexts() {
  // One translator for the process, owned by the application object so it
  // goes with it; the .qm file is mapped, not read, so this costs start-up
  // next to nothing.
  static QTranslator* translator = nullptr;
  if (translator != nullptr) return true;
  auto* candidate = new QTranslator(QCoreApplication::instance());
  if (!candidate->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(candidate)) {
    delete candidate;
    return false;
  }
  translator = candidate;
  return true;
}

}  // namespace tallix::ui
