#include "ui/help_location.h"

#include <QDir>
#include <QFileInfo>

namespace kelvora {

QString HelpPageToOpen(const QString& currentDir, const QString& applicationDir) {
  const QString relative = QStringLiteral(".\\help\\index.html");
  if (QFileInfo(QDir(currentDir), QStringLiteral("help/index.html")).isFile()) return relative;
  // Installed under a prefix, or unpacked with its help/ beside it (the zip for Windows).
  for (const QString& page :
       {QStringLiteral("/../share/kelvora/help/index.html"), QStringLiteral("/help/index.html")}) {
    const QString installed = QDir::cleanPath(applicationDir + page);
    if (QFileInfo(installed).isFile()) return installed;
  }
  return relative;
}

}  // namespace kelvora
