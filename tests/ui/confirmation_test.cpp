// The main window keeps each judged check before the listener hears the
// verdict, and confirms the record from the Sound menu.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>

#include "main_dialog_fixture.h"
#include "results/history.h"

namespace kelvora::uitest {
namespace {

class ConfirmationTest : public MainDialogTest {
 protected:
  QTemporaryDir temp;
  History history{QDir(temp.path()).filePath("history.csv").toStdString(),
                  [] { return std::int64_t{1000}; }};
  std::vector<std::uint8_t> chime = Chime(9000);
};

int LinesInFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return 0;
  return static_cast<int>(file.readAll().count('\n')) - 1;  // without the header
}

TEST_F(ConfirmationTest, TheLineIsInTheFileWhenTheChimeOrTheBuzzPlays) {
  TestDlg dlg(player, clock, services, &history);
  std::vector<int> linesAtVerdict;
  player.onPlay = [&](std::span<const std::uint8_t> image) {
    const std::span<const std::uint8_t> sound = WaveImageBytes(image);
    const bool pattern = sound.size() == kWaveHeaderSize + kTwoSecondDataSize;
    if (!pattern) linesAtVerdict.push_back(LinesInFile(history.path()));
  };
  Run(dlg, [](TestDlg& d) {
    CheckRight(d);  // chime
    CheckWrong(d);  // buzz, then the answer dialog
    CheckRight(d);
  });
  EXPECT_EQ(linesAtVerdict, (std::vector<int>{1, 2, 3}));
  ASSERT_EQ(history.currentSession().size(), 3u);
  EXPECT_TRUE(history.currentSession()[0].played);
}

// The file keeps what the window was told: read back, the current
// session's lines (the file's last ones) have the same confirmation and the
// same verdict on their sound.
void ExpectFileKeeps(const History& history) {
  const std::vector<HistoryRecord> kept = history.ReadAll();
  const std::vector<HistoryRecord>& told = history.currentSession();
  ASSERT_GE(kept.size(), told.size());
  const std::size_t first = kept.size() - told.size();
  for (std::size_t i = 0; i < told.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(kept[first + i].session, told[i].session);
    EXPECT_EQ(kept[first + i].confirmingHz, told[i].confirmingHz);
    EXPECT_EQ(kept[first + i].confirmedHz, told[i].confirmedHz);
    EXPECT_EQ(kept[first + i].played, told[i].played);
  }
}

TEST_F(ConfirmationTest, APatternThatWasNotHeardWholeIsMarkedInItsLine) {
  TestDlg dlg(player, clock, services, &history);
  Run(dlg, [this](TestDlg& d) {
    player.outcome = PlayOutcome::GivenUp;
    CheckRight(d);
    player.outcome = PlayOutcome::Played;
    CheckRight(d);
  });
  ASSERT_EQ(history.currentSession().size(), 2u);
  EXPECT_FALSE(history.currentSession()[0].played);
  EXPECT_TRUE(history.currentSession()[1].played);
  ExpectFileKeeps(history);
}

TEST_F(ConfirmationTest, TheMenuItemConfirmsTheRecordAndSaysHowLikelyLuckWas) {
  TestDlg dlg(player, clock, services, &history);
  Run(dlg, [this](TestDlg& d) {
    QAction* confirm = d.menuAction(ID_SOUND_CONFIRM_RECORD);
    ASSERT_NE(confirm, nullptr);
    EXPECT_FALSE(confirm->isEnabled()) << "no record yet";
    CheckRight(d);  // record 8000
    EXPECT_TRUE(confirm->isEnabled());
    d.menuAction(ID_SOUND_EAR_LEFT)->trigger();
    EXPECT_FALSE(confirm->isEnabled()) << "another ear starts without a record";
    CheckRight(d);
    CheckRight(d);  // record 10000, frequency 12000
    confirm->trigger();
    EXPECT_TRUE(confirm->isChecked());
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Kelvora ver 1.000 [左耳] [記録の確認 10000 Hz]"));
    EXPECT_EQ(d.view().frequency, 10000);
    bool grayedWhileBusy = false;
    player.onPlay = [&](std::span<const std::uint8_t>) {
      if (d.view().state == CheckState::Busy) grayedWhileBusy = !confirm->isEnabled();
    };
    CheckWrong(d);
    CheckWrong(d);  // the next level
    EXPECT_TRUE(grayedWhileBusy);
    EXPECT_EQ(d.windowTitle(),
              QString::fromUtf8(
                  "Kelvora ver 1.000 [左耳] [記録の確認 9750 Hz　10000 Hz は確かめられず]"));
    EXPECT_TRUE(services.ShownMessages().empty());
    CheckRight(d);
    CheckWrong(d);
    CheckRight(d);
    CheckRight(d);
    EXPECT_TRUE(services.ShownMessages().empty());
    CheckRight(d);
    EXPECT_FALSE(confirm->isChecked());
    EXPECT_EQ(d.windowTitle(),
              QString::fromUtf8("Kelvora ver 1.000 [左耳] [確かめた記録 9750 Hz]"));
    EXPECT_EQ(d.view().frequency, 9750);
    ASSERT_EQ(services.ShownMessages().size(), 1u);
    const TestServices::ShownMessage& shown = services.ShownMessages()[0];
    EXPECT_EQ(shown.text, QString::fromUtf8("9750 Hz を確かめました（5 回中 4 回正解）。\r\n"
                                            "当て推量だけで 5 回中 4 回以上正解する確率は 1% "
                                            "未満です。"));
    EXPECT_EQ(shown.caption, QString::fromUtf8("Kelvora ver 1.000"));
    EXPECT_EQ(shown.icon, platform::MessageIcon::Information);
    EXPECT_EQ(shown.owner, &d);
  });
  const std::vector<HistoryRecord>& lines = history.currentSession();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_FALSE(lines[1].confirmingHz);
  EXPECT_EQ(lines[2].confirmingHz, 10000);
  EXPECT_EQ(lines[4].confirmingHz, 9750);
  EXPECT_FALSE(lines[7].confirmedHz);
  EXPECT_EQ(lines[8].confirmedHz, 9750);
  ExpectFileKeeps(history);
}

TEST_F(ConfirmationTest, ChoosingItAgainOrAChangeOfEarEndsItWithoutAResult) {
  TestDlg dlg(player, clock, services, &history);
  Run(dlg, [this](TestDlg& d) {
    QAction* confirm = d.menuAction(ID_SOUND_CONFIRM_RECORD);
    CheckRight(d);
    confirm->trigger();
    confirm->trigger();
    EXPECT_FALSE(confirm->isChecked());
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Kelvora ver 1.000"));
    confirm->trigger();
    d.menuAction(ID_SOUND_EAR_RIGHT)->trigger();
    EXPECT_FALSE(confirm->isChecked());
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Kelvora ver 1.000 [右耳]"));
  });
  EXPECT_TRUE(services.ShownMessages().empty());
}

// The program's English on the running application while it lives.
class InEnglish {
 public:
  InEnglish() {
    EXPECT_TRUE(m_english.load(QStringLiteral(":/translations/kelvora_en.qm")));
    QCoreApplication::installTranslator(&m_english);
  }
  ~InEnglish() { QCoreApplication::removeTranslator(&m_english); }

 private:
  QTranslator m_english;
};

// Where the listener looks while answering: the title counts the checks of
// the level, says once that a level failed, and keeps the confirmed level
// until the session ends, by a restart or by another ear.
TEST_F(ConfirmationTest, TheTitleCountsEachLevelAndKeepsTheConfirmedOneUntilTheSessionEnds) {
  struct Language {
    bool english;
    const char* suffixes[8];  // after each step below, behind the program's name
    const char* leftEar;
  };
  const Language languages[] = {
      {false,
       {" [記録の確認 10000 Hz]", " [記録の確認 10000 Hz　1 回中 1 回正解]",
        " [記録の確認 10000 Hz　2 回中 1 回正解]", " [記録の確認 9750 Hz　10000 Hz は確かめられず]",
        " [記録の確認 9750 Hz　1 回中 1 回正解]", " [記録の確認 9750 Hz　3 回中 3 回正解]",
        " [確かめた記録 9750 Hz]", " [確かめた記録 9750 Hz]"},
       " [左耳]"},
      {true,
       {" [Confirming 10000 Hz]", " [Confirming 10000 Hz: 1 of 1 right]",
        " [Confirming 10000 Hz: 1 of 2 right]", " [Confirming 9750 Hz: 10000 Hz not confirmed]",
        " [Confirming 9750 Hz: 1 of 1 right]", " [Confirming 9750 Hz: 3 of 3 right]",
        " [Confirmed 9750 Hz]", " [Confirmed 9750 Hz]"},
       " [Left Ear]"},
  };
  const std::function<void(TestDlg&)> steps[] = {
      [](TestDlg& d) { d.menuAction(ID_SOUND_CONFIRM_RECORD)->trigger(); },
      CheckRight,
      CheckWrong,
      CheckWrong,  // the second miss: the next level
      CheckRight,
      [](TestDlg& d) {
        CheckRight(d);
        CheckRight(d);
      },
      CheckRight,  // the fourth right: confirmed
      CheckRight,  // the staircase goes on, the confirmed level stays
  };
  for (const Language& language : languages) {
    for (const bool byEar : {false, true}) {
      SCOPED_TRACE(::testing::Message() << (language.english ? "English" : "Japanese")
                                        << (byEar ? ", ended by an ear" : ", ended by a restart"));
      std::optional<InEnglish> english;
      if (language.english) english.emplace();
      const std::size_t messagesBefore = services.ShownMessages().size();
      TestDlg dlg(player, clock, services, &history);
      Run(dlg, [&](TestDlg& d) {
        CheckRight(d);
        CheckRight(d);  // record 10000
        for (std::size_t n = 0; n < std::size(steps); ++n) {
          SCOPED_TRACE(n);
          steps[n](d);
          EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Kelvora ver 1.000") +
                                         QString::fromUtf8(language.suffixes[n]));
        }
        EXPECT_EQ(services.ShownMessages().size(), messagesBefore + 1)
            << "only the confirmation's message";
        if (byEar) {
          d.menuAction(ID_SOUND_EAR_LEFT)->trigger();
        } else {
          d.OnCommand(IDC_RESTART);
        }
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Kelvora ver 1.000") +
                                       QString::fromUtf8(byEar ? language.leftEar : ""));
      });
    }
  }
}

}  // namespace
}  // namespace kelvora::uitest
