#include "ui/help_location.h"

#include <QDir>
#include <QFileInfo>

namespace kelvora {

QString HelpPageToOpen(const QString& currentDir, const QString& applicationDir,
                       res::Language language) {
  const bool english = language == res::Language::English;
  const QString page =
      english ? QStringLiteral("help/en/index.html") : QStringLiteral("help/index.html");
  const QString relative =
      english ? QStringLiteral(".\\help\\en\\index.html") : QStringLiteral(".\\help\\index.html");
  if (QFileInfo(QDir(currentDir), page).isFile()) return relative;
  const QString installed =
      QDir::cleanPath(applicationDir + QStringLiteral("/../share/kelvora/") + page);
  return QFileInfo(installed).isFile() ? installed : relative;
}

}  // namespace kelvora
