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
  // Installed under a prefix, or unpacked with its help/ beside it (the zip for Windows).
  for (const QString& folder : {QStringLiteral("/../share/kelvora/"), QStringLiteral("/")}) {
    const QString installed = QDir::cleanPath(applicationDir + folder + page);
    if (QFileInfo(installed).isFile()) return installed;
  }
  return relative;
}

}  // namespace kelvora
