#pragma once
// The windows are designed in Tahoma; Debian ships a metric-compatible one
// with its fonts-wine package, outside fontconfig's folders. The renders of
// these tests load it so they show the window as designed.

#include <QDir>
#include <QFontDatabase>

inline void loadTahoma() {
  const QDir wine(QStringLiteral("/usr/share/wine/fonts"));
  for (const char* file : {"tahoma.ttf", "tahomabd.ttf"})
    if (wine.exists(QLatin1String(file))) QFontDatabase::addApplicationFont(wine.filePath(QLatin1String(file)));
}
