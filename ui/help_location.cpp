#include "ui/help_location.h"

#include <QDir>
#include <QFileInfo>

namespace kelvora {

QString HelpPageToOpen(const QString& currentDir, const QString& applicationDir) {
  const QString relative = QStringLiteral(".\\help\\index.html");
  if (QFileInfo(QDir(currentDir), QStringLiteral("help/index.html")).isFile()) return relative;
  const QString installed =
      QDir::cleanPath(applicationDir + QStringLiteral("/../share/kelvora/help/index.html"));
  return QFileInfo(installed).isFile() ? installed : relative;
}

}  // namespace kelvora
