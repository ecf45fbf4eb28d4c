// The main window writes one history line per answered check, with what the
// panel shows after it, and offers the results window between checks only.

#include "results/history.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>

#include "check/session_probe.h"
#include "main_dialog_fixture.h"

namespace kelvora::uitest {
namespace {

class HistoryTest : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    setenv("TZ", "JST-9", 1);
    tzset();
  }
  void TearDown() override {
    unsetenv("TZ");
    tzset();
    MainDialogTest::TearDown();
  }
  QTemporaryDir temp;
  History history{QDir(temp.path()).filePath("kelvora/history.csv").toStdString(),
                  [] { return std::int64_t{1000}; }};
};

// Lines without the session number, which the next check compares.
std::vector<std::string> LinesOf(const std::string& path, std::vector<std::int64_t>& sessions) {
  QFile file(QString::fromStdString(path));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  std::vector<std::string> lines;
  for (QByteArray line : file.readAll().split('\n')) {
    if (line.isEmpty()) continue;
    QList<QByteArray> fields = line.split(',');
    if (fields.size() > 1 && fields[1] != "session") sessions.push_back(fields[1].toLongLong());
    if (fields.size() > 1) fields.removeAt(1);
    lines.push_back(fields.join(',').toStdString());
  }
  return lines;
}

TEST_F(HistoryTest, EachAnsweredCheckAppendsWhatThePanelShowsAfterIt) {
  clock.now = 1700000000;  // 2023-11-15T07:13:20+09:00
  TestDlg dlg(player, clock, services, &history);
  std::vector<int> bursts;
  Run(dlg, [&bursts](TestDlg& d) {
    QAction* results = d.menuAction(ID_FILE_RESULTS);
    ASSERT_NE(results, nullptr);
    EXPECT_TRUE(results->isEnabled());
    CheckRight(d);  // 8000 Hz, then 10000
    bursts.push_back(SessionProbe(d.session()).answerCount);
    CheckWrong(d);  // don't know at 10000, then 9000
    bursts.push_back(SessionProbe(d.session()).answerCount);
    d.OnCommand(IDC_START);  // a wrong number at 9000
    EXPECT_FALSE(results->isEnabled()) << "grayed while an answer is awaited";
    bursts.push_back(SessionProbe(d.session()).answerCount);
    d.OnCommand(IDC_ANSWER1 + SessionProbe(d.session()).answerCount % 5);
    EXPECT_TRUE(results->isEnabled());
    d.OnCommand(IDC_START);
    d.OnCommand(IDC_RESTART);  // drops the pending check: no line
    CheckRight(d);             // 8000 Hz in a new session
    bursts.push_back(SessionProbe(d.session()).answerCount);
  });
  ASSERT_EQ(bursts.size(), 4u);
  const auto b = [&bursts](int n) { return std::to_string(bursts[n]); };
  std::vector<std::int64_t> sessions;
  const std::vector<std::string> lines = LinesOf(history.path(), sessions);
  const std::string t = "2023-11-15T07:13:20+09:00";
  const std::vector<std::string> expected = {
      "time,ear,frequency_hz,bursts,answer,correct,record_hz,rate_percent,volume_percent,"
      "confirming_hz,confirmed_hz,played,listener,output\r",
      t + ",both,8000," + b(0) + "," + b(0) + ",1,8000,100.0,30,,,1,,\r",
      t + ",both,10000," + b(1) + ",?,0,8000,50.0,30,,,1,,\r",
      t + ",both,9000," + b(2) + "," + std::to_string(bursts[2] % 5 + 1) +
          ",0,8000,33.3,30,,,1,,\r",
      t + ",both,8000," + b(3) + "," + b(3) + ",1,8000,100.0,30,,,1,,\r",
  };
  EXPECT_EQ(lines, expected);
  ASSERT_EQ(sessions.size(), 4u);
  EXPECT_EQ(sessions[0], sessions[1]);
  EXPECT_EQ(sessions[1], sessions[2]);
  EXPECT_GT(sessions[3], sessions[2]) << "a restart starts a new session";
}

// The ear chosen from the menu goes into the lines, and a record of another
// ear is another session.
TEST_F(HistoryTest, ChecksAfterAChangeOfEarNameTheEarInANewSession) {
  TestDlg dlg(player, clock, services, &history);
  Run(dlg, [](TestDlg& d) {
    CheckRight(d);
    d.menuAction(ID_SOUND_EAR_RIGHT)->trigger();
    CheckRight(d);
    d.menuAction(ID_SOUND_EAR_LEFT)->trigger();
    CheckWrong(d);
  });
  std::vector<std::int64_t> sessions;
  const std::vector<std::string> lines = LinesOf(history.path(), sessions);
  ASSERT_EQ(lines.size(), 4u);
  const char* const ears[] = {"both", "right", "left"};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(lines[k + 1].substr(lines[k + 1].find(',') + 1, std::strlen(ears[k])), ears[k]);
  }
  ASSERT_EQ(sessions.size(), 3u);
  EXPECT_LT(sessions[0], sessions[1]);
  EXPECT_LT(sessions[1], sessions[2]);
}

TEST_F(HistoryTest, TheFileMenuOpensTheResultsWindow) {
  TestDlg dlg(player, clock, services, &history);
  Run(dlg, [this](TestDlg& d) {
    CheckRight(d);
    services.PushModalAnswer([](TemplateDialog&) { return IDOK; });
    d.menuAction(ID_FILE_RESULTS)->trigger();
  });
  ASSERT_EQ(services.ShownDialogs().size(), 3u);
  EXPECT_EQ(services.ShownDialogs()[2].templateId, IDD_RESULTS);
  EXPECT_EQ(services.ShownDialogs()[2].title, "検査結果の記録 [Kelvora]");
}

}  // namespace
}  // namespace kelvora::uitest
