#include "platform/regional_settings.h"

#include <langinfo.h>
#include <locale.h>

namespace tallix::platform {

Separateurs readRegionalSettings() {
  locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (numeric == static_cast<locale_t>(nullptr)) {
    // A locale the system does not have: its numbers are read as in "C".
    numeric = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
  }
  if (numeric == static_cast<locale_t>(nullptr)) return LireReglagesRegionaux(".", "");
  const Separateurs read = LireReglagesRegionaux(nl_langinfo_l(RADIXCHAR, numeric),
                                                 nl_langinfo_l(THOUSEP, numeric));
  freelocale(numeric);
  return read;
}

}  // namespace tallix::platform
