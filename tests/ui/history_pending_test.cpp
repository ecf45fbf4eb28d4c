// A history file that cannot be written for a while: the main window keeps
// the checks, says so once, and the file gets every line, in order, once,
// as soon as it can be written; what is left at exit is counted.

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "dialogs/results_dlg.h"
#include "main_dialog_fixture.h"
#include "res/resources.h"
#include "results/history.h"

namespace kelvora::uitest {
namespace {

// Root writes any file whatever its mode: the checks then run as nobody,
// which the mode stops. The effective id alone changes, so it comes back.
class UnprivilegedScope {
 public:
  UnprivilegedScope() {
    if (geteuid() == 0) m_was = seteuid(65534) == 0;
  }
  ~UnprivilegedScope() {
    if (m_was) EXPECT_EQ(seteuid(0), 0);
  }

 private:
  bool m_was = false;
};

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
    ASSERT_TRUE(QFile::setPermissions(temp.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner | QFile::ReadOther |
                                                       QFile::WriteOther | QFile::ExeOther));
    const std::string path = QDir(temp.path()).filePath("history.csv").toStdString();
    const std::string header = std::string(kHistoryHeader) + "\r\n";
    {
      QFile file(QString::fromStdString(path));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(header.data(), static_cast<qint64>(header.size()));
    }
    const auto setWritable = [&path](bool writable) {
      ASSERT_EQ(chmod(path.c_str(), writable ? 0666 : 0444), 0);
    };
    setWritable(false);
    History history(path, [] { return std::int64_t{1000}; });
    const std::size_t messagesBefore = services.ShownMessages().size();
    TestDlg dlg(player, clock, services, &history);
    {
      UnprivilegedScope nobody;
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
            .arg(HistoryErrorText({HistoryFault::kSystem, EACCES}), shownPath)};
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
