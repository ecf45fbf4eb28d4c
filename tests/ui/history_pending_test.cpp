// A history file that cannot be written for a while: the main window keeps
// the checks, says so once, and the file gets every line, in order, once,
// as soon as it can be written; what is left at exit is counted.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "dialogs/error_text.h"
#include "dialogs/results_dlg.h"
#include "main_dialog_fixture.h"
#include "res/resources.h"
#include "results/history.h"

namespace kelvora::uitest {
namespace {

// No mode stops root: as root the file is made immutable instead, which
// stops anyone (where the file system has the flag).
bool SetWritable(const std::string& path, bool writable) {
  if (geteuid() != 0) return chmod(path.c_str(), writable ? 0644 : 0444) == 0;
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = writable ? flags & ~FS_IMMUTABLE_FL : flags | FS_IMMUTABLE_FL;
  done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  close(fd);
  return done;
}

std::string Contents(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

enum class WritableAgain { BeforeFourthCheck, WhenResultsOpen, AtExit, Never };

TEST_F(MainDialogTest, AFileThatCannotBeWrittenGetsTheKeptLinesInOrderOnceItCan) {
  struct Case {
    const char* name;
    WritableAgain when;
    int notSavedAtExit;  // the count the exit message gives; 0 for no message
  };
  const Case cases[] = {
      {"writable again before the fourth check", WritableAgain::BeforeFourthCheck, 0},
      {"writable again when the results window opens", WritableAgain::WhenResultsOpen, 0},
      {"writable again at exit", WritableAgain::AtExit, 0},
      {"never writable again", WritableAgain::Never, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir temp;
    const std::string path = QDir(temp.path()).filePath("history.csv").toStdString();
    const std::string header = std::string(kHistoryHeader) + "\r\n";
    {
      QFile file(QString::fromStdString(path));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(header.data(), static_cast<qint64>(header.size()));
    }
    const auto setWritable = [&path](bool writable) {
      ASSERT_TRUE(SetWritable(path, writable)) << std::strerror(errno);
    };
    if (!SetWritable(path, false)) GTEST_SKIP() << "cannot make a file unwritable here";
    History history(path, [] { return std::int64_t{1000}; });
    const std::size_t messagesBefore = services.ShownMessages().size();
    TestDlg dlg(player, clock, services, &history);
    {
      Run(dlg, [&](TestDlg& d) {
        CheckRight(d);
        CheckWrong(d);
        CheckRight(d);
        EXPECT_EQ(Contents(path), header) << "three checks kept, none written";
        EXPECT_EQ(history.pending().size(), 3u);
        if (c.when == WritableAgain::WhenResultsOpen) {
          setWritable(true);
          d.menuAction(ID_FILE_RESULTS)->trigger();
          EXPECT_TRUE(history.pending().empty());
        }
        if (c.when == WritableAgain::BeforeFourthCheck) setWritable(true);
        CheckRight(d);
        if (c.when == WritableAgain::AtExit) setWritable(true);
      });
    }
    SetWritable(path, true);  // for the folder to be removed
    std::string expected = header;
    const std::size_t written = c.notSavedAtExit == 0 ? 4u : 0u;
    ASSERT_EQ(history.currentSession().size(), 4u);
    for (std::size_t k = 0; k < written; ++k) {
      expected += FormatHistoryLine(history.currentSession()[k]);
    }
    EXPECT_EQ(Contents(path), expected) << "every line once, in the order of the checks";

    const QString shownPath = QDir::toNativeSeparators(QString::fromStdString(path));
    std::vector<QString> messages = {
        res::LoadString(IDS_HISTORY_CANNOT_WRITE)
            .arg(HistoryErrorText({HistoryFault::System, geteuid() == 0 ? EPERM : EACCES}),
                 shownPath)};
    if (c.notSavedAtExit != 0) {
      messages.push_back(
          res::LoadString(IDS_HISTORY_NOT_SAVED).arg(QString::number(c.notSavedAtExit), shownPath));
    }
    std::vector<QString> shown;
    for (std::size_t k = messagesBefore; k < services.ShownMessages().size(); ++k) {
      shown.push_back(services.ShownMessages()[k].text);
    }
    EXPECT_EQ(shown, messages);
  }
}

}  // namespace
}  // namespace kelvora::uitest
