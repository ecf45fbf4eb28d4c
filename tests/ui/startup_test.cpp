#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <vector>

#include "check/session_probe.h"
#include "dialogs/volume_dlg.h"
#include "main_dialog_fixture.h"

namespace kelvora::uitest {
namespace {

const QString kAppTitle = QString::fromUtf8("Kelvora ver 1.000");
const QString kNoMemory = QString::fromUtf8(
    "動作に必要なメモリが確保出来ませんでした。\r\nアプリケーションを強制終了します。");

constexpr int kAnswerControls[] = {IDC_ANSWER1, IDC_ANSWER2, IDC_ANSWER3,
                                   IDC_ANSWER4, IDC_ANSWER5, IDC_DONT_KNOW};

std::vector<int> ShownTemplates(const TestServices& services) {
  std::vector<int> ids;
  for (const auto& shown : services.ShownDialogs()) ids.push_back(shown.templateId);
  return ids;
}

using StartupTest = MainDialogTest;

TEST_F(StartupTest, TheVolumeDialogComesFirstAt30PercentThenTheMainDialogInItsStartState) {
  TestDlg dlg(player, clock, services);
  bool mainVisibleDuringVolume = true;
  Run(
      dlg,
      [&](TestDlg& main) {
        EXPECT_EQ(main.windowTitle(), kAppTitle);
        for (int id : kAnswerControls) EXPECT_FALSE(main.GetDlgItem(id)->isEnabled()) << id;
        auto* start = qobject_cast<QPushButton*>(main.GetDlgItem(IDC_START));
        EXPECT_EQ(QApplication::focusWidget(), start);
        EXPECT_TRUE(start->isDefault());
        EXPECT_TRUE(main.menuAction(ID_SOUND_AUTO_CHANGE)->isChecked());
        EXPECT_FALSE(main.windowIcon().isNull());

        EXPECT_EQ(main.statusPanel().texts(), (PanelTexts{" 8000 Hz", "----- Hz", "---.- %"}));
        EXPECT_EQ(main.view().volume, 9000);
        EXPECT_EQ(main.view().frequency, 8000);
        EXPECT_EQ(main.view().step, 2000);
        EXPECT_EQ(main.view().state, CheckState::Idle);
        EXPECT_TRUE(main.view().autoChange);
      },
      [&](TemplateDialog& volume) {
        mainVisibleDuringVolume = dlg.isVisible();
        EXPECT_EQ(static_cast<CVolumeDlg&>(volume).volume(), 9000);
        EXPECT_EQ(volume.GetDlgItemText(IDC_VOLUME_PERCENT), "30");
        return IDOK;
      });

  EXPECT_FALSE(mainVisibleDuringVolume);
  EXPECT_EQ(ShownTemplates(services), (std::vector<int>{IDD_VOLUME, IDD_MAIN}));
  EXPECT_EQ(services.ShownDialogs()[0].title, QString::fromUtf8("スピーカの音量設定 [Kelvora]"));
  EXPECT_TRUE(services.ShownMessages().empty());
}

TEST_F(StartupTest, EscInTheStartUpVolumeDialogStillTakesItsVolumeForEverySound) {
  TestDlg dlg(player, clock, services);
  Run(
      dlg,
      [&](TestDlg& main) {
        EXPECT_EQ(main.view().volume, 15000);
        // The chime is rendered once, at the start-up volume.
        const std::vector<std::uint8_t> chime(
            SessionProbe(main.session()).chimeWave.data(),
            SessionProbe(main.session()).chimeWave.data() + kWaveHeaderSize + kChimeDataSize);
        EXPECT_EQ(chime, Chime(15000));
      },
      [](TemplateDialog& volume) {
        volume.SetDlgItemText(IDC_VOLUME_PERCENT, "50");
        QTest::keyClick(&volume, Qt::Key_Escape);
        return IDCANCEL;
      });
}

TEST_F(StartupTest, AFailedBufferShowsOneMessageAndClosesWithoutVolumeDialogOrPanel) {
  // Test, chime and buzz buffers are taken in this order.
  for (int failing = 1; failing <= 3; ++failing) {
    SCOPED_TRACE(failing);
    services.Reset();
    allocator = CountingAllocator{};
    allocator.failOn = [failing](int request, std::size_t) { return request == failing; };
    int result = 0;
    {
      TestDlg dlg(player, clock, services);
      bool bodyRan = false;
      result = Run(dlg, [&](TestDlg&) { bodyRan = true; });
      EXPECT_FALSE(bodyRan);
      EXPECT_FALSE(dlg.statusPanel().IsDrawn());
      EXPECT_EQ(dlg.toolTips(), nullptr);
      EXPECT_EQ(allocator.releases, failing - 1) << "released when the dialog closed";
    }
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(services.ShownMessages().size(), 1u);
    EXPECT_EQ(services.ShownMessages()[0].text, kNoMemory);
    EXPECT_EQ(services.ShownMessages()[0].caption, kAppTitle);
    EXPECT_EQ(services.ShownMessages()[0].icon, platform::MessageIcon::Stop);
    ASSERT_EQ(ShownTemplates(services), std::vector<int>{IDD_MAIN});
    EXPECT_FALSE(services.ShownDialogs()[0].shown);
    EXPECT_EQ(allocator.allocations, failing - 1);
    EXPECT_EQ(allocator.releases, failing - 1) << "nothing released twice";
    EXPECT_TRUE(player.played.empty());
  }
}

TEST_F(StartupTest, AFailedVolumeDialogClosesTheApplicationWithoutAMessageOfItsOwn) {
  allocator.failOn = [](int, std::size_t size) { return size == kSampleWaveBufferSize; };
  TestDlg dlg(player, clock, services);
  bool bodyRan = false;
  EXPECT_EQ(Run(dlg, [&](TestDlg&) { bodyRan = true; }), IDCANCEL);

  EXPECT_FALSE(bodyRan);
  EXPECT_EQ(services.ShownMessages().size(), 1u) << "only the volume dialog's own";
  ASSERT_EQ(ShownTemplates(services), (std::vector<int>{IDD_VOLUME, IDD_MAIN}));
  EXPECT_FALSE(services.ShownDialogs()[1].shown);
  EXPECT_EQ(dlg.view().volume, 9000);
  EXPECT_EQ(allocator.allocations, 3);
  EXPECT_EQ(allocator.releases, 3);
  EXPECT_TRUE(allocator.sizes.empty());
}

struct ShutdownCase {
  const char* name;
  std::function<void(TestDlg&)> act;
  int result;
};

TEST_F(StartupTest, EveryWayOutReleasesTheThreeBuffersOnce) {
  const ShutdownCase cases[] = {
      {"Esc", [](TestDlg& d) { Type(d, Qt::Key_Escape); }, IDOK},
      {"Ctrl+X", [](TestDlg& d) { Type(d, Qt::Key_X, Qt::ControlModifier); }, IDOK},
      {"Alt+X",
       [](TestDlg& d) {
         Type(d, Qt::Key_X, Qt::AltModifier);
         // A mnemonic presses the button visibly, releasing it a moment later.
         EXPECT_TRUE(QTest::qWaitFor([&] { return d.isEnded(); }));
       },
       IDOK},
      {"button", [](TestDlg& d) { qobject_cast<QPushButton*>(d.GetDlgItem(IDOK))->click(); }, IDOK},
      {"close box", [](TestDlg& d) { d.close(); }, IDCANCEL},
      {"menu", [](TestDlg& d) { d.menuAction(ID_APP_EXIT_CMD)->trigger(); }, IDCANCEL},
      {"while an answer is awaited",
       [](TestDlg& d) {
         d.OnCommand(IDC_START);
         Type(d, Qt::Key_Escape);
       },
       IDOK},
  };
  for (const ShutdownCase& c : cases) {
    SCOPED_TRACE(c.name);
    services.Reset();
    allocator = CountingAllocator{};
    {
      TestDlg dlg(player, clock, services);
      bool endedInside = false;
      const int result = Run(dlg, [&](TestDlg& main) {
        c.act(main);
        endedInside = main.isEnded();
      });
      EXPECT_TRUE(endedInside);
      EXPECT_EQ(result, c.result);
      EXPECT_EQ(allocator.sizes.size(), 0u) << "released when the window goes";
    }
    // The main dialog's three, and the start-up volume dialog's sample.
    EXPECT_EQ(allocator.allocations, 4);
    EXPECT_EQ(allocator.releases, 4);
    for (std::size_t size : {kTestWaveBufferSize, kChimeWaveBufferSize, kBuzzWaveBufferSize}) {
      EXPECT_EQ(allocator.ReleasedOfSize(size), 1) << size;
    }
  }
}

TEST_F(StartupTest, TheMenuExitEndsTheDialogThroughACloseRequest) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) { main.menuAction(ID_APP_EXIT_CMD)->trigger(); });
  EXPECT_EQ(dlg.commands, (std::vector<int>{ID_APP_EXIT_CMD, IDCANCEL}));
}

TEST_F(StartupTest, TheContextMenuOffersTheWindowMenuItemThatOpensAbout) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [&](TestDlg& main) {
    QMenu* menu = main.systemMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QString::fromUtf8("Kelvoraについて(&A)"));

    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            main.client()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(main.client(), &event);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();

    menu->actions()[0]->trigger();
    EXPECT_EQ(ShownTemplates(services).back(), IDD_ABOUTBOX);
  });
  EXPECT_EQ(dlg.endResult(), IDCANCEL) << "the About box does not end the main dialog";
}

}  // namespace
}  // namespace kelvora::uitest
