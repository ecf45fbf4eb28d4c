// The output submenu: the system's devices by description, listed as it
// opens, remembered by their stable name, and said when one goes away.

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <deque>

#include "main_dialog_fixture.h"
#include "platform/qt/menu_template.h"
#include "platform/qt/remembered_settings.h"
#include "results/history.h"
#include "ui/outputs.h"
#include "ui/sound_path_check.h"

namespace kelvora::uitest {
namespace {

using platform::OutputDevice;

const OutputDevice kBuiltIn = {"alsa_output.pci-0000_00_1f.3.analog-stereo",
                               "Built-in Audio Analog Stereo"};
const OutputDevice kRealtek = {"{0.0.0.00000000}.{5b0f7a4c}", "スピーカー (Realtek(R) Audio)"};
const OutputDevice kHeadset = {"bluez_output.00_1B_66.a2dp", "Headset & Mic"};

class FakeOutputs : public Outputs {
 public:
  std::vector<OutputDevice> List() override {
    ++listed;
    return devices;
  }
  std::string DefaultDescription() override { return "Built-in Audio Analog Stereo"; }
  void Use(const std::string& id) override { used.push_back(id); }
  std::optional<std::string> TakeMissing() override { return std::exchange(missing, {}); }
  std::vector<OutputDevice> devices = {kBuiltIn, kRealtek};
  std::vector<std::string> used;
  std::optional<std::string> missing;
  int listed = 0;
};

// Answers every question at once with the next queued rate (none: unknown),
// and records which output each question was about.
class RecordingPathCheck : public SoundPathCheck {
 public:
  void Start(Answer answer) override {
    asked.push_back(output);
    std::optional<std::uint32_t> rate;
    if (!rates.empty()) {
      rate = rates.front();
      rates.pop_front();
    }
    if (!rate) return answer(std::nullopt);
    platform::OutputPath path;
    path.rate = *rate;
    answer(path);
  }
  void SetOutput(std::string deviceId) override { output = std::move(deviceId); }
  std::string output;
  std::vector<std::string> asked;
  std::deque<std::optional<std::uint32_t>> rates;
};

class OutputTest : public MainDialogTest {
 protected:
  // The submenu as the user finds it when opening it.
  static std::vector<QAction*> Opened(TestDlg& dlg) {
    QMenu* menu = dlg.outputMenu();
    EXPECT_NE(menu, nullptr);
    if (!menu) return {};
    emit menu->aboutToShow();
    const QList<QAction*> items = menu->actions();
    return {items.begin(), items.end()};
  }
  static QStringList Texts(const std::vector<QAction*>& items) {
    QStringList texts;
    for (QAction* item : items) texts << item->text();
    return texts;
  }
  static QAction* Checked(const std::vector<QAction*>& items) {
    for (QAction* item : items) {
      if (item->isChecked()) return item;
    }
    return nullptr;
  }
  QStringList Messages() const {
    QStringList texts;
    for (const auto& shown : services.ShownMessages()) texts << shown.text;
    return texts;
  }

  QTemporaryDir temp;
  platform::QtRememberedSettings settings{QDir(temp.path()).filePath("kelvora.ini")};
  FakeOutputs outputs;
  RecordingPathCheck check;
};

TEST_F(OutputTest, TheSubmenuFollowsTheEarsAndListsTheDevicesAfreshEachTimeItOpens) {
  TestDlg dlg(player, clock, services, nullptr, &check, &outputs, &settings);
  Run(dlg, [&](TestDlg& main) {
    QAction* ears = platform::PopupActionOf(main.menuAction(ID_SOUND_EAR_BOTH));
    QAction* output = main.outputMenu()->menuAction();
    QMenu* sound = platform::PopupActionOf(ears)->menu();
    ASSERT_NE(sound, nullptr);
    const QList<QAction*> items = sound->actions();
    ASSERT_EQ(items.indexOf(output), items.indexOf(ears) + 1);
    EXPECT_EQ(output->text(), QString::fromUtf8("出力先(&O)"));

    const struct {
      std::vector<OutputDevice> devices;
      QStringList shown;
    } openings[] = {
        {{kBuiltIn, kRealtek},
         {"既定の出力(&D)", "Built-in Audio Analog Stereo", "スピーカー (Realtek(R) Audio)"}},
        {{kHeadset}, {"既定の出力(&D)", "Headset && Mic"}},  // "&" is shown, not a mnemonic
        {{}, {"既定の出力(&D)"}},
    };
    for (const auto& opening : openings) {
      outputs.devices = opening.devices;
      const std::vector<QAction*> shown = Opened(main);
      EXPECT_EQ(Texts(shown), opening.shown);
      EXPECT_EQ(Checked(shown), main.menuAction(ID_SOUND_OUTPUT_DEFAULT));
    }
    EXPECT_TRUE(outputs.used.empty());
  });
}

// Choosing a device plays there, remembers its stable name, starts afresh
// and asks about the path to it; a warning about it comes as at start-up.
TEST_F(OutputTest, ChoosingAnOutputPlaysThereRemembersItAndWarnsAboutItsPath) {
  check.rates = {48000, 44100, std::nullopt};
  TestDlg dlg(player, clock, services, nullptr, &check, &outputs, &settings);
  Run(dlg, [&](TestDlg& main) {
    QCoreApplication::processEvents();
    EXPECT_TRUE(Messages().isEmpty());
    CheckRight(main);
    Opened(main)[2]->trigger();  // the Realtek speakers
    EXPECT_EQ(outputs.used, std::vector<std::string>{kRealtek.id});
    EXPECT_EQ(settings.Value(platform::kOutputDeviceKey), QString::fromStdString(kRealtek.id));
    EXPECT_EQ(check.asked, (std::vector<std::string>{"", kRealtek.id}));
    EXPECT_EQ(main.view().trials, 0) << "a record belongs to the output it was heard on";
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains("44100 Hz"));
    EXPECT_EQ(Checked(Opened(main))->text(), QString::fromUtf8(kRealtek.description));

    main.OnCommand(ID_SOUND_OUTPUT_DEFAULT);
    EXPECT_EQ(outputs.used, (std::vector<std::string>{kRealtek.id, ""}));
    EXPECT_EQ(settings.Value(platform::kOutputDeviceKey), QString());
    EXPECT_EQ(check.asked.back(), "");
    EXPECT_EQ(Messages().size(), 1) << "an unknown path says nothing";
  });
}

TEST_F(OutputTest, TheRememberedOutputIsUsedAtStartOrTheOneStartUpBoxSaysItIsNotThere) {
  const struct {
    const char* name;
    std::vector<OutputDevice> devices;
    std::optional<std::uint32_t> rate;
    std::vector<std::string> used;
    int boxes;
    bool namesHeadset, namesRate;
  } cases[] = {
      {"present", {kBuiltIn, kHeadset}, 48000, {kHeadset.id}, 0, false, false},
      {"absent", {kBuiltIn}, 48000, {}, 1, true, false},
      {"absent, path below 48000", {kBuiltIn}, 44100, {}, 1, true, true},
      {"absent, path unknown", {kBuiltIn}, std::nullopt, {}, 1, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    services.Reset();
    settings.SetValue(platform::kOutputDeviceKey, QString::fromStdString(kHeadset.id));
    settings.SetValue(platform::kOutputDescriptionKey, QString::fromUtf8(kHeadset.description));
    outputs.devices = c.devices;
    outputs.used.clear();
    check.output.clear();
    check.asked.clear();
    check.rates = {c.rate};
    TestDlg dlg(player, clock, services, nullptr, &check, &outputs, &settings);
    Run(dlg, [&](TestDlg& main) {
      QCoreApplication::processEvents();
      EXPECT_EQ(outputs.used, c.used);
      EXPECT_EQ(check.asked, std::vector<std::string>{c.used.empty() ? "" : kHeadset.id});
      ASSERT_EQ(Messages().size(), c.boxes);
      if (c.boxes) {
        EXPECT_EQ(Messages()[0].contains("「Headset & Mic」"), c.namesHeadset)
            << Messages()[0].toStdString();
        EXPECT_EQ(Messages()[0].contains("44100 Hz"), c.namesRate) << Messages()[0].toStdString();
      }
      EXPECT_EQ(Checked(Opened(main))->text(),
                c.used.empty() ? QString::fromUtf8("既定の出力(&D)") : QString("Headset && Mic"));
    });
    EXPECT_EQ(settings.Value(platform::kOutputDeviceKey), QString::fromStdString(kHeadset.id))
        << "kept for the next run";
  }
}

TEST_F(OutputTest, TheSubmenuIsGrayedWhileACheckRunsOrAwaitsItsAnswer) {
  TestDlg dlg(player, clock, services, nullptr, nullptr, &outputs, &settings);
  Run(dlg, [&](TestDlg& main) {
    QAction* submenu = main.outputMenu()->menuAction();
    std::vector<bool> enabledWhilePlaying;
    player.onPlay = [&](std::span<const std::uint8_t>) {
      enabledWhilePlaying.push_back(submenu->isEnabled());
    };
    EXPECT_TRUE(submenu->isEnabled());
    main.OnCommand(IDC_START);
    EXPECT_FALSE(submenu->isEnabled()) << "awaiting the answer";
    main.OnCommand(ID_SOUND_CONTINUOUS);
    EXPECT_TRUE(outputs.used.empty());
    main.OnCommand(IDC_ANSWER1 + SessionProbe(main.session()).answerCount - 1);
    EXPECT_TRUE(submenu->isEnabled());
    EXPECT_EQ(enabledWhilePlaying, (std::vector<bool>{false, false})) << "pattern, chime";
  });
}

// Gone between sounds: the player plays on the default output and the window
// says so once. Gone during the pattern: the window names the device once.
TEST_F(OutputTest, AnOutputThatGoesAwayIsSaidOnceNamingIt) {
  const struct {
    const char* name;
    bool missingBeforeTheSound;  // the player found it absent and played on the default
    PlayOutcome outcome;
    bool stillListed;
    const char* said;  // null: nothing
  } cases[] = {
      {"gone while idle", true, PlayOutcome::Played, false,
       "出力先「Headset & Mic」が見つかりません。\r\n既定の出力で鳴らしました。"},
      {"gone during the pattern", false, PlayOutcome::GivenUp, false,
       "音を鳴らしている間に出力先「Headset & Mic」がなくなり、音を最後まで鳴らせませんでした。"
       "\r\n次の音からは既定の出力で鳴らします。"},
      {"server fault, output still there", false, PlayOutcome::GivenUp, true, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    services.Reset();
    outputs.devices = {kBuiltIn, kHeadset};
    settings.SetValue(platform::kOutputDeviceKey, QString::fromStdString(kHeadset.id));
    TestDlg dlg(player, clock, services, nullptr, nullptr, &outputs, &settings);
    Run(dlg, [&](TestDlg& main) {
      QCoreApplication::processEvents();
      ASSERT_TRUE(Messages().isEmpty());
      if (!c.stillListed) outputs.devices = {kBuiltIn};
      for (int check = 0; check < 3; ++check) {
        player.outcome = check == 0 ? c.outcome : PlayOutcome::Played;
        // From the first sound after it went, the player plays on the default.
        if (c.missingBeforeTheSound || (check > 0 && !c.stillListed)) {
          outputs.missing = kHeadset.id;
        }
        CheckRight(main);
        QCoreApplication::processEvents();
      }
      ASSERT_EQ(Messages().size(), c.said ? 1 : 0) << Messages().join("|").toStdString();
      if (c.said) {
        EXPECT_EQ(Messages()[0], QString::fromUtf8(c.said));
      }
      EXPECT_EQ(main.view().trials, 3) << "the window keeps working";
    });
    player.outcome = PlayOutcome::Played;
  }
}

// Each line names who listened and where it played, as the window showed
// them; both are there again at the next start.
TEST_F(OutputTest, TheListenerAndTheOutputGoIntoEveryLineAndComeBackAtTheNextStart) {
  const QString name = QString::fromUtf8("山田, \"花子\"");
  History history(QDir(temp.path()).filePath("history.csv").toStdString());
  const auto typeName = [&](const QString& text, int button) {
    services.PushModalAnswer([text, button](TemplateDialog& d) {
      EXPECT_EQ(d.dialogTemplate().id, IDD_LISTENER);
      qobject_cast<QLineEdit*>(d.GetDlgItem(IDC_LISTENER_NAME))->setText(text);
      qobject_cast<QAbstractButton*>(d.GetDlgItem(button))->click();
      return button;
    });
  };
  for (int run = 0; run < 2; ++run) {
    TestDlg dlg(player, clock, services, &history, nullptr, &outputs, &settings);
    Run(dlg, [&](TestDlg& main) {
      if (run == 1) {
        CheckRight(main);  // as the last run left it
        return;
      }
      CheckRight(main);  // unnamed, on the default output
      Opened(main)[2]->trigger();
      typeName(name, IDOK);
      main.OnCommand(ID_FILE_LISTENER);
      EXPECT_EQ(main.view().trials, 0) << "another listener starts afresh";
      typeName("someone else", IDCANCEL);
      main.OnCommand(ID_FILE_LISTENER);
      CheckRight(main);
    });
  }
  const std::vector<HistoryRecord> lines = history.ReadAll();
  ASSERT_EQ(lines.size(), 3u);
  const std::pair<QString, std::string> expected[] = {
      {"", "Built-in Audio Analog Stereo"},
      {name, kRealtek.description},
      {name, kRealtek.description},
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(QString::fromStdString(lines[i].listener), expected[i].first) << i;
    EXPECT_EQ(lines[i].output, expected[i].second) << i;
  }
}

}  // namespace
}  // namespace kelvora::uitest
