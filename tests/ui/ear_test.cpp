#include <QAbstractButton>
#include <QAction>
#include <vector>

#include "check/session_probe.h"
#include "main_dialog_fixture.h"
#include "platform/qt/menu_template.h"

namespace kelvora::uitest {
namespace {

using EarTest = MainDialogTest;

QAction* EarSubmenu(const TestDlg& dlg) {
  return platform::PopupActionOf(dlg.menuAction(ID_SOUND_EAR_BOTH));
}

// Another ear restarts the session as "初めからやり直す" does and names the ear
// in the title; the ear already chosen changes nothing.
TEST_F(EarTest, ChoosingAnotherEarRestartsTheSessionAndNamesTheEarInTheTitle) {
  const struct {
    int command;
    Ear ear;
    const char* title;
    bool restarts;
  } steps[] = {
      {ID_SOUND_EAR_LEFT, Ear::Left, "Kelvora ver 1.000 [左耳]", true},
      {ID_SOUND_EAR_LEFT, Ear::Left, "Kelvora ver 1.000 [左耳]", false},
      {ID_SOUND_EAR_RIGHT, Ear::Right, "Kelvora ver 1.000 [右耳]", true},
      {ID_SOUND_EAR_BOTH, Ear::Both, "Kelvora ver 1.000", true},
  };
  TestDlg dlg(player, clock, services);
  Run(dlg, [&](TestDlg& main) {
    EXPECT_TRUE(main.menuAction(ID_SOUND_EAR_BOTH)->isChecked());
    for (const auto& step : steps) {
      SCOPED_TRACE(step.title);
      CheckRight(main);
      CheckWrong(main);
      const int frequency = main.view().frequency;
      const int maxHeard = main.view().record;
      main.menuAction(step.command)->trigger();
      EXPECT_EQ(main.windowTitle(), QString::fromUtf8(step.title));
      EXPECT_EQ(player.ear, step.ear);
      for (int id : {ID_SOUND_EAR_BOTH, ID_SOUND_EAR_LEFT, ID_SOUND_EAR_RIGHT}) {
        EXPECT_EQ(main.menuAction(id)->isChecked(), id == step.command) << id;
      }
      if (step.restarts) {
        EXPECT_EQ(main.view().frequency, 8000);
        EXPECT_EQ(main.view().step, 2000);
        EXPECT_EQ(main.view().record, 0);
        EXPECT_EQ(main.view().trials, 0);
        EXPECT_EQ(main.view().corrects, 0);
      } else {
        EXPECT_EQ(main.view().frequency, frequency);
        EXPECT_EQ(main.view().record, maxHeard);
        EXPECT_EQ(main.view().trials, 2);
        EXPECT_EQ(main.view().corrects, 1);
      }
    }
  });
}

// Like the volume, the ear changes only between checks.
TEST_F(EarTest, TheEarSubmenuIsGrayedWhileACheckRunsOrAwaitsItsAnswer) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [&](TestDlg& main) {
    std::vector<bool> enabledWhilePlaying;
    player.onPlay = [&](std::span<const std::uint8_t>) {
      enabledWhilePlaying.push_back(EarSubmenu(main)->isEnabled());
    };
    EXPECT_TRUE(EarSubmenu(main)->isEnabled());
    main.OnCommand(IDC_START);
    EXPECT_FALSE(EarSubmenu(main)->isEnabled()) << "awaiting the answer";
    main.OnCommand(ID_SOUND_EAR_LEFT);  // as no menu could send it now
    EXPECT_EQ(player.ear, Ear::Both);
    EXPECT_TRUE(main.menuAction(ID_SOUND_EAR_BOTH)->isChecked());
    main.OnCommand(IDC_ANSWER1 + SessionProbe(main.session()).answerCount - 1);
    EXPECT_TRUE(EarSubmenu(main)->isEnabled());
    EXPECT_EQ(enabledWhilePlaying, (std::vector<bool>{false, false})) << "pattern, chime";
  });
}

// The images stay as they are; every sound goes to the player whose ear is set.
TEST_F(EarTest, EverySoundOfTheProgramGoesToTheChosenEar) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [&](TestDlg& main) {
    main.menuAction(ID_SOUND_EAR_RIGHT)->trigger();
    main.menuAction(ID_SOUND_CONTINUOUS)->trigger();
    main.menuAction(ID_SOUND_SILENCE)->trigger();
    CheckRight(main);
    CheckWrong(main);
    services.PushModalAnswer([](TemplateDialog& volume) {
      qobject_cast<QAbstractButton*>(volume.GetDlgItem(IDC_PLAY_SAMPLE))->click();
      return IDOK;
    });
    main.menuAction(ID_SOUND_VOLUME)->trigger();
    services.PushModalAnswer([](TemplateDialog& exportDialog) {
      qobject_cast<QAbstractButton*>(exportDialog.GetDlgItem(IDC_EXPORT_PREVIEW))->click();
      return IDOK;
    });
    main.menuAction(ID_FILE_MAKE_WAVE)->trigger();
  });
  // Continuous, silence, pattern, chime, pattern, buzz, sample, preview.
  EXPECT_EQ(player.playedEars, std::vector<Ear>(8, Ear::Right));
  EXPECT_EQ(player.played[3], Chime(9000)) << "the image itself stays mono";
}

}  // namespace
}  // namespace kelvora::uitest
