#include <QAction>
#include <QKeyEvent>
#include <algorithm>
#include <vector>

#include "check/session_probe.h"
#include "dialogs/volume_dlg.h"
#include "dialogs/wave_file_dlg.h"
#include "main_dialog_fixture.h"
#include "sound/synthesis.h"
#include "ui/session_commands.h"

namespace kelvora::uitest {
namespace {

// The continuous tone as the player gets it: header and samples.
std::vector<std::uint8_t> ContinuousTone(std::int32_t frequency, std::int32_t volume) {
  std::vector<std::uint8_t> image(kTestWaveBufferSize);
  RenderContinuousTone(image, frequency, volume);
  image.resize(kWaveHeaderSize + kTwoSecondDataSize);
  return image;
}

bool AllSamplesZero(const std::vector<std::uint8_t>& image) {
  return std::all_of(image.begin() + kWaveHeaderSize, image.end(),
                     [](std::uint8_t byte) { return byte == 0; });
}

using CommandsTest = MainDialogTest;

// A new level from the menu reaches every sound rendered afterwards, but the
// chime and the buzz keep the start-up level.
TEST_F(CommandsTest, TheVolumeFromTheMenuSilencesThePatternButNotTheChime) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [&](TestDlg& main) {
    int shownVolume = -1;
    services.PushModalAnswer([&](TemplateDialog& volume) {
      shownVolume = static_cast<CVolumeDlg&>(volume).volume();
      volume.SetDlgItemText(IDC_VOLUME_PERCENT, "0");
      return IDOK;
    });
    main.menuAction(ID_SOUND_VOLUME)->trigger();
    EXPECT_EQ(shownVolume, 9000);
    EXPECT_EQ(main.view().volume, 0);

    CheckRight(main);
    ASSERT_EQ(player.played.size(), 2u);
    EXPECT_TRUE(AllSamplesZero(player.played[0])) << "the pattern";
    EXPECT_FALSE(AllSamplesZero(player.played[1])) << "the chime";
  });
}

TEST_F(CommandsTest, TheContinuousToneAfterAVolumeChangePlaysAtTheNewLevelTheChimeAtTheOld) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [&](TestDlg& main) {
    services.PushModalAnswer([](TemplateDialog& volume) {
      volume.SetDlgItemText(IDC_VOLUME_PERCENT, "70");
      return IDOK;
    });
    main.menuAction(ID_SOUND_VOLUME)->trigger();
    main.menuAction(ID_SOUND_CONTINUOUS)->trigger();
    CheckRight(main);
  });
  ASSERT_EQ(player.played.size(), 3u) << "tone, pattern, chime";
  EXPECT_EQ(player.played[0], ContinuousTone(8000, 21000));
  EXPECT_EQ(player.played[2], Chime(9000));
}

TEST_F(CommandsTest, TheVolumeDialogFromTheMenuKeepsTheLevelOnEsc) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [&](TestDlg& main) {
    services.PushModalAnswer([](TemplateDialog& volume) {
      volume.SetDlgItemText(IDC_VOLUME_PERCENT, "150");
      QTest::keyClick(&volume, Qt::Key_Escape);
      return IDCANCEL;
    });
    main.menuAction(ID_SOUND_VOLUME)->trigger();
    EXPECT_EQ(main.view().volume, 30000);
    EXPECT_FALSE(main.isEnded());
  });
}

TEST_F(CommandsTest, TheExportDialogGetsTheCurrentVolume) {
  TestDlg dlg(player, clock, services);
  Run(
      dlg,
      [&](TestDlg& main) {
        int exportVolume = -1;
        services.PushModalAnswer([&](TemplateDialog& exportDialog) {
          exportVolume = static_cast<CWaveFileDlg&>(exportDialog).volume();
          return IDOK;
        });
        main.menuAction(ID_FILE_MAKE_WAVE)->trigger();
        EXPECT_EQ(exportVolume, 21000);
        QCoreApplication::processEvents();
        EXPECT_FALSE(main.isEnded());
      },
      [](TemplateDialog& volume) {
        volume.SetDlgItemText(IDC_VOLUME_PERCENT, "70");
        return IDOK;
      });
}

// The dialog says why; the main dialog then closes without a word of its own.
TEST_F(CommandsTest, ADialogFromTheMenuThatCannotHaveItsBufferClosesTheApplication) {
  for (const int command : {ID_SOUND_VOLUME, ID_FILE_MAKE_WAVE}) {
    SCOPED_TRACE(command);
    services.Reset();
    allocator = CountingAllocator{};
    // Test, chime, buzz and the start-up volume sample come first.
    allocator.failOn = [](int request, std::size_t) { return request == 5; };
    TestDlg dlg(player, clock, services);
    Run(dlg, [&](TestDlg& main) {
      main.menuAction(command)->trigger();
      EXPECT_EQ(main.view().volume, 9000);
      QCoreApplication::processEvents();
      EXPECT_TRUE(main.isEnded());
    });
    EXPECT_EQ(services.ShownMessages().size(), 1u);
    EXPECT_EQ(dlg.endResult(), IDCANCEL);
    EXPECT_EQ(allocator.releases, allocator.allocations);
  }
}

TEST_F(CommandsTest, HelpMenuOpensTheHelpPageAndTheAboutBox) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    main.OnCommand(IDC_START);
    // Neither item is ever grayed, so both work while an answer is awaited.
    main.menuAction(ID_HELP_USAGE)->trigger();
    main.menuAction(ID_HELP_ABOUT)->trigger();
    EXPECT_EQ(main.view().state, CheckState::AwaitingAnswer);
  });
  ASSERT_EQ(services.OpenRequests().size(), 1u);
  EXPECT_EQ(services.OpenRequests()[0].argument, ".\\help\\index.html");
  EXPECT_EQ(services.ShownDialogs().back().templateId, IDD_ABOUTBOX);
}

// With no browser to hand the page to, F1 says where the page is, so that
// the user can open it by hand; opened, it says nothing.
TEST_F(CommandsTest, HelpThatCannotBeOpenedNamesItsPage) {
  for (const bool opens : {true, false}) {
    SCOPED_TRACE(opens ? "opened" : "no browser");
    services.Reset();
    services.SetOpensFail(!opens);
    TestDlg dlg(player, clock, services);
    Run(dlg, [](TestDlg& main) { main.menuAction(ID_HELP_USAGE)->trigger(); });
    ASSERT_EQ(services.OpenRequests().size(), 1u);
    if (opens) {
      EXPECT_TRUE(services.ShownMessages().empty());
      continue;
    }
    ASSERT_EQ(services.ShownMessages().size(), 1u);
    const auto& message = services.ShownMessages()[0];
    EXPECT_TRUE(message.text.endsWith("\r\n" + QDir::current().filePath("help/index.html")))
        << message.text.toStdString();
    EXPECT_EQ(message.caption, "Kelvora ver 1.000");
    EXPECT_EQ(message.icon, platform::MessageIcon::Stop);
  }
}

TEST_F(CommandsTest, AWrongAnswerShowsTheRevealDialogForTheTestedFrequency) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) { CheckWrong(main); });
  ASSERT_EQ(services.ShownDialogs().back().templateId, IDD_ANSWER);
  EXPECT_EQ(services.ShownDialogs().back().title, QString::fromUtf8("8000 Hzのチェック"));
}

// Input that arrives while a sound blocks waits, and is then handled in order
// against the state as it stands: a digit typed during the pattern answers.
TEST_F(CommandsTest, ADigitTypedWhileThePatternPlaysAnswersTheCheckAfterwards) {
  TestDlg dlg(player, clock, services);
  bool posted = false;
  player.onPlay = [&](std::span<const std::uint8_t>) {
    if (posted) return;
    posted = true;
    const char digit = static_cast<char>('0' + SessionProbe(dlg.session()).answerCount);
    QCoreApplication::postEvent(
        &dlg, new QKeyEvent(QEvent::KeyPress, Qt::Key_0 + SessionProbe(dlg.session()).answerCount,
                            Qt::NoModifier, QString(QChar::fromLatin1(digit))));
    QCoreApplication::postEvent(&dlg, new QKeyEvent(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier));
  };
  Run(dlg, [](TestDlg& main) {
    Type(main, Qt::Key_Return);
    EXPECT_EQ(main.view().state, CheckState::AwaitingAnswer) << "nothing handled during the sound";
    EXPECT_EQ(main.view().corrects, 0);

    QCoreApplication::processEvents();
    EXPECT_EQ(main.view().record, 8000) << "answered right";
    EXPECT_EQ(main.view().state, CheckState::Idle);
    // The arrow came after the answer, so it moved the raised frequency.
    EXPECT_EQ(main.view().frequency, 10100);
    EXPECT_EQ(
        main.commands,
        (std::vector<int>{IDC_START, IDC_ANSWER1 + SessionProbe(main.session()).answerCount - 1,
                          IDC_UP_100}));
  });
}

TEST_F(CommandsTest, TheWaitCursorIsUpWhileTheSoundPlays) {
  TestDlg dlg(player, clock, services);
  std::vector<int> depths;
  player.onPlay = [&](std::span<const std::uint8_t>) {
    depths.push_back(platform::WaitCursorDepth());
  };
  Run(dlg, [](TestDlg& main) { main.OnCommand(IDC_START); });
  ASSERT_FALSE(depths.empty());
  EXPECT_EQ(depths[0], 1);
  EXPECT_EQ(platform::WaitCursorDepth(), 0);
}

// The session hears only its own commands; every one of them has a control.
TEST(SessionCommandTable, MapsEachSessionCommandBothWaysAndNothingElse) {
  for (int c = 0; c <= static_cast<int>(SessionCommand::Volume); ++c) {
    const auto command = static_cast<SessionCommand>(c);
    SCOPED_TRACE(c);
    EXPECT_NE(ControlOf(command), 0);
    EXPECT_EQ(SessionCommandOf(ControlOf(command)), command);
  }
  for (int id : {0, IDOK, IDCANCEL, IDM_ABOUTBOX, IDC_FREQ_GROUP, 1006, 32774, ID_APP_EXIT_CMD,
                 ID_HELP_ABOUT, ID_HELP_USAGE, ID_FILE_MAKE_WAVE, ID_FILE_RESULTS,
                 ID_SOUND_EAR_BOTH, ID_SOUND_EAR_LEFT, ID_SOUND_EAR_RIGHT}) {
    EXPECT_EQ(SessionCommandOf(id), std::nullopt) << id;
  }
}

}  // namespace
}  // namespace kelvora::uitest
