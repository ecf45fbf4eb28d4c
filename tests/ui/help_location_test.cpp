#include "ui/help_location.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace kelvora {
namespace {

// Writes an empty file at root/relativePath, making its folders.
void Touch(const QString& root, const QString& relativePath) {
  const QString path = root + "/" + relativePath;
  ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(HelpLocationTest, WorkingDirectoryFirstThenTheInstalledPagesThenNothing) {
  const QString relative = ".\\help\\index.html";
  const QString installedPage = "prefix/share/kelvora/help/index.html";
  const struct {
    const char* situation;
    QString inWorkingDir;  // file made in the working directory; empty: none
    QString installed;     // file made under the temporary root; empty: none
    bool wantInstalled;
  } cases[] = {
      {"started in its data folder", "help/index.html", installedPage, false},
      {"started elsewhere", "", installedPage, true},
      {"a help folder without the page", "help/other.html", installedPage, true},
      {"nowhere to be found", "", "", false},
      {"unpacked with help/ beside the program", "", "prefix/bin/help/index.html", true},
      {"beside the program, started in a folder with pages", "help/index.html",
       "prefix/bin/help/index.html", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString work = root.filePath("work");
    const QString bin = root.filePath("prefix/bin");
    ASSERT_TRUE(QDir().mkpath(work) && QDir().mkpath(bin));
    if (!c.inWorkingDir.isEmpty()) Touch(work, c.inWorkingDir);
    if (!c.installed.isEmpty()) Touch(root.path(), c.installed);

    const QString want = c.wantInstalled ? root.filePath(c.installed) : relative;
    EXPECT_EQ(HelpPageToOpen(work, bin).toStdString(), want.toStdString());
  }
}

}  // namespace
}  // namespace kelvora
