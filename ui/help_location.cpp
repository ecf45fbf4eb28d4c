#include "ui/help_location.h"

#include <QDir>
#include <QFileInfo>

namespace kelvora {

QString HelpPageToOpen(const QString& currentDir, const QString& applicationDir,
                       const res::Language& language) {
  const QString page = QString::fromLatin1(language.helpFolder) + QStringLiteral("index.html");
  // The program has always named the page in the working directory this way.
  QString relative =
      QStringLiteral(".\\") + QString(page).replace(QLatin1Char('/'), QLatin1Char('\\'));
  if (QFileInfo(QDir(currentDir), page).isFile()) return relative;
  // Installed under a prefix, or unpacked with its help/ beside it (the zip for Windows).
  for (const QString& folder : {QStringLiteral("/../share/kelvora/"), QStringLiteral("/")}) {
    QString installed = QDir::cleanPath(applicationDir + folder + page);
    if (QFileInfo(installed).isFile()) return installed;
  }
  return relative;
}

}  // namespace kelvora
