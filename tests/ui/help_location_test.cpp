#include "ui/help_location.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
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
  const QString japanese = ".\\help\\index.html";
  const QString english = ".\\help\\en\\index.html";
  const QString japaneseInstalled = "prefix/share/kelvora/help/index.html";
  const QString englishInstalled = "prefix/share/kelvora/help/en/index.html";
  const struct {
    const char* situation;
    const char* language;      // its code
    QStringList inWorkingDir;  // files made in the working directory
    QStringList installed;     // files made under the temporary root
    QString want;              // relative path, or the installed file under the root
    bool wantInstalled;
  } cases[] = {
      {"started in its data folder",
       "ja",
       {"help/index.html"},
       {japaneseInstalled},
       japanese,
       false},
      {"started elsewhere", "ja", {}, {japaneseInstalled}, japaneseInstalled, true},
      {"a help folder without the page",
       "ja",
       {"help/other.html"},
       {japaneseInstalled},
       japaneseInstalled,
       true},
      {"nowhere to be found", "ja", {}, {}, japanese, false},
      {"English, started in its data folder",
       "en",
       {"help/index.html", "help/en/index.html"},
       {japaneseInstalled, englishInstalled},
       english,
       false},
      {"English, started elsewhere",
       "en",
       {},
       {japaneseInstalled, englishInstalled},
       englishInstalled,
       true},
      {"English, only the Japanese page here",
       "en",
       {"help/index.html"},
       {japaneseInstalled, englishInstalled},
       englishInstalled,
       true},
      {"English, only Japanese pages anywhere",
       "en",
       {"help/index.html"},
       {japaneseInstalled},
       english,
       false},
      {"Japanese, only the English page here",
       "ja",
       {"help/en/index.html"},
       {japaneseInstalled, englishInstalled},
       japaneseInstalled,
       true},
      {"unpacked with help/ beside the program",
       "ja",
       {},
       {"prefix/bin/help/index.html"},
       "prefix/bin/help/index.html",
       true},
      {"English, unpacked with help/ beside the program",
       "en",
       {"help/index.html"},
       {"prefix/bin/help/index.html", "prefix/bin/help/en/index.html"},
       "prefix/bin/help/en/index.html",
       true},
      {"beside the program, started in a folder with pages",
       "ja",
       {"help/index.html"},
       {"prefix/bin/help/index.html"},
       japanese,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString work = root.filePath("work");
    const QString bin = root.filePath("prefix/bin");
    ASSERT_TRUE(QDir().mkpath(work) && QDir().mkpath(bin));
    for (const QString& file : c.inWorkingDir) Touch(work, file);
    for (const QString& file : c.installed) Touch(root.path(), file);

    const QString want = c.wantInstalled ? root.filePath(c.want) : c.want;
    EXPECT_EQ(HelpPageToOpen(work, bin, *res::FindLanguage(c.language)).toStdString(),
              want.toStdString());
  }
}

}  // namespace
}  // namespace kelvora
