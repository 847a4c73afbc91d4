#pragma once
// Qt's own texts in French, like the rest of the program.

namespace tallix::ui {

// Installs Qt's French translation of its own texts (the display line's
// standard menu: "Copier", "Tout sélectionner", which the report's text menu
// takes from there too; the description's menu) once
// for the whole program. Returns false, leaving Qt's English texts, when the
// system has no such translation.
bool installFrenchToolkitTexts();

}  // namespace tallix::ui
