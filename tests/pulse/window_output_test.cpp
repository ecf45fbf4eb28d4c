// The main window's output submenu with the program's own player and
// outputs, as the program wires them, on a real PulseAudio and a real
// PipeWire server with two sinks: what the submenu lists, where a check's
// sounds really arrive (each sink's monitor recorded), what is remembered at
// the next start, and what the window does when the chosen sink goes away.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <functional>
#include <future>

#include "app/system_outputs.h"
#include "check/session_probe.h"
#include "platform/audio/system_player.h"
#include "platform/qt/remembered_settings.h"
#include "res/resource.h"
#include "res/resources.h"
#include "results/history.h"
#include "sound/synthesis.h"
#include "tests/pulse/main_window.h"
#include "tests/pulse/two_sinks.h"
#include "tests/support/test_services.h"
#include "ui/kelvora_dlg.h"

namespace kelvora::pulsetest {
namespace {

using Clock = std::chrono::steady_clock;

// One run of the program, wired as main() wires it, on the test's own
// settings and history files.
struct Program {
  explicit Program(const fs::path& dir)
      : settings(QString::fromStdString((dir / "kelvora.ini").string())),
        history((dir / "history.csv").string()) {}

  // Answers the start-up volume dialog, runs `body` in the window, closes it.
  void Run(const std::function<void(MainDlg&)>& body) {
    services.PushModalAnswer([](platform::TemplateDialog&) { return IDOK; });
    services.PushModalAnswer([&](platform::TemplateDialog& dialog) {
      QCoreApplication::processEvents();
      body(static_cast<MainDlg&>(dialog));
      return IDCANCEL;
    });
    dlg.DoModal();
  }
  QStringList Messages() const {
    QStringList texts;
    for (const auto& shown : services.ShownMessages()) texts << shown.text;
    return texts;
  }

  SystemPlayer player;
  SystemOutputs outputs{player};
  InstantClock clock;
  testing::TestServices services;
  platform::QtRememberedSettings settings;
  History history;
  MainDlg dlg{player, clock, services, &history, nullptr, &outputs, &settings};
};

// The submenu's items as the user finds them when opening it.
std::vector<QAction*> Opened(MainDlg& dlg) {
  QMenu* menu = dlg.outputMenu();
  if (!menu) return {};
  emit menu->aboutToShow();
  const QList<QAction*> items = menu->actions();
  return {items.begin(), items.end()};
}

QAction* Item(const std::vector<QAction*>& items, const char* text) {
  for (QAction* item : items) {
    if (item->text() == QString::fromUtf8(text)) return item;
  }
  return nullptr;
}

// One check answered right: its pattern as the synthesis renders it for the
// pattern the session chose, then the chime.
std::vector<Sound> CheckRight(MainDlg& dlg) {
  dlg.OnCommand(IDC_START);
  const SessionProbe probe(dlg.session());
  const SessionView view = dlg.view();
  Bytes pattern(kTestWaveBufferSize), chime(kChimeWaveBufferSize), buzz(kBuzzWaveBufferSize);
  RenderTestPattern(pattern, view.frequency, view.volume, probe.pattern);
  RenderChimeAndBuzz(chime, buzz, view.volume);
  dlg.OnCommand(IDC_ANSWER1 + probe.answerCount - 1);
  // The window's boxes come from its event loop.
  QCoreApplication::processEvents();
  return {{"pattern", pattern, Ear::Both}, {"chime", chime, Ear::Both}};
}

class WindowOutputTest : public TwoSinksTest {
 protected:
  void SetUp() override {
    TwoSinksTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // The program's player and outputs find the server as the program does.
    setenv("PULSE_SERVER", m_servers.address.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("PULSE_SERVER");
    TwoSinksTest::TearDown();
  }
};

TEST_P(WindowOutputTest, TheChosenSinkHearsTheCheckBitExactTheOtherNothingAlsoAfterARestart) {
  const QString listener = QString::fromUtf8("山田 花子");
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run == 0 ? "chosen" : "remembered");
    Program program(m_dir);
    program.Run([&](MainDlg& main) {
      const std::vector<QAction*> items = Opened(main);
      ASSERT_FALSE(items.empty());
      EXPECT_EQ(items.front(), main.menuAction(ID_SOUND_OUTPUT_DEFAULT));
      const auto first = std::find(items.begin(), items.end(), Item(items, kFirstDescription));
      const auto second = std::find(items.begin(), items.end(), Item(items, kSecondDescription));
      ASSERT_TRUE(first != items.end() && second != items.end())
          << "both sinks by their descriptions";
      EXPECT_LT(first, second) << "in the server's order";
      if (run == 0) {
        EXPECT_TRUE(items.front()->isChecked());
        (*second)->trigger();
        program.services.PushModalAnswer([&](platform::TemplateDialog& dialog) {
          qobject_cast<QLineEdit*>(dialog.GetDlgItem(IDC_LISTENER_NAME))->setText(listener);
          qobject_cast<QAbstractButton*>(dialog.GetDlgItem(IDOK))->click();
          return IDOK;
        });
        main.OnCommand(ID_FILE_LISTENER);
      }
      EXPECT_TRUE((*second)->isChecked());

      Monitor firstMonitor(m_servers, kFirst, m_dir / "first.raw");
      Monitor secondMonitor(m_servers, kSecond, m_dir / "second.raw");
      const std::vector<Sound> sounds = CheckRight(main);
      ExpectSoundsIn(secondMonitor.Finish(), sounds);
      EXPECT_TRUE(AllZero(firstMonitor.Finish()));
      EXPECT_TRUE(program.Messages().isEmpty()) << program.Messages().join("|").toStdString();
      // The player's test reads the stream's other properties.
      const std::string streams = Shell(m_servers.Pactl("list sink-inputs"));
      EXPECT_NE(streams.find("application.name = \"Kelvora\""), std::string::npos) << streams;
    });
  }
  const std::vector<HistoryRecord> lines = History((m_dir / "history.csv").string()).ReadAll();
  ASSERT_EQ(lines.size(), 2u);
  for (const HistoryRecord& line : lines) {
    EXPECT_EQ(QString::fromStdString(line.listener), listener);
    EXPECT_EQ(line.output, kSecondDescription);
    EXPECT_TRUE(line.played);
  }
}

// Gone while idle, the next sounds play on the default sink and the window
// says so once; gone in the middle of the pattern, that check is kept as not
// played, and the checks go on on the default sink.
TEST_P(WindowOutputTest, AChosenSinkThatGoesAwayIsSaidOnceAndTheChecksGoOnOnTheDefault) {
  const struct {
    const char* name;
    bool duringThePattern;
    int said;
    bool firstPlayed;
    const char* firstOutput;  // in the history line of the first check
  } cases[] = {
      {"while idle", false, IDS_OUTPUT_GONE, true, kFirstDescription},
      {"during the pattern", true, IDS_OUTPUT_LOST_DURING_SOUND, false, kSecondDescription},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path dir = m_dir / (c.duringThePattern ? "during" : "idle");
    fs::create_directory(dir);
    ASSERT_TRUE(c.duringThePattern ? m_servers.Load(kSecond, kSecondDescription) : true);
    {
      platform::QtRememberedSettings remembered(
          QString::fromStdString((dir / "kelvora.ini").string()));
      remembered.SetValue(platform::kOutputDeviceKey, QString::fromUtf8(kSecond));
      remembered.SetValue(platform::kOutputDescriptionKey, QString::fromUtf8(kSecondDescription));
    }
    Program program(dir);
    program.Run([&](MainDlg& main) {
      ASSERT_TRUE(program.Messages().isEmpty()) << program.Messages().join("|").toStdString();
      Monitor first(m_servers, kFirst, dir / "first.raw");
      std::vector<Sound> heard;
      if (c.duringThePattern) {
        // The sink goes as soon as our stream plays on it, which leaves the
        // whole of the pattern's two seconds for the server to take it away.
        auto unloaded = std::async(std::launch::async, [&] {
          const auto deadline = Clock::now() + std::chrono::seconds(10);
          bool playing = false;
          while (!playing && Clock::now() < deadline) {
            playing =
                Shell(m_servers.Pactl("list sink-inputs")).find("Corked: no") != std::string::npos;
          }
          m_servers.Unload(kSecond);
          return playing;
        });
        heard.push_back(CheckRight(main)[1]);  // the chime, on the default
        ASSERT_TRUE(unloaded.get()) << "the pattern never played";
      } else {
        m_servers.Unload(kSecond);
        heard = CheckRight(main);
      }
      for (const Sound& sound : CheckRight(main)) heard.push_back(sound);
      ExpectSoundsIn(first.Finish(), heard);
      EXPECT_EQ(main.view().trials, 2);
      ASSERT_EQ(program.Messages().size(), 1) << program.Messages().join("|").toStdString();
      EXPECT_EQ(program.Messages()[0],
                res::LoadString(c.said).arg(QString::fromUtf8(kSecondDescription)));
    });
    const std::vector<HistoryRecord> lines = program.history.ReadAll();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].played, c.firstPlayed);
    EXPECT_EQ(lines[0].output, c.firstOutput);
    EXPECT_TRUE(lines[1].played);
    EXPECT_EQ(lines[1].output, kFirstDescription);
  }
}

INSTANTIATE_TEST_SUITE_P(Servers, WindowOutputTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "PipeWire" : "PulseAudio"; });

}  // namespace
}  // namespace kelvora::pulsetest
