#pragma once

// The main dialog on the offscreen platform with a player that records what
// it is given, a clock that never waits, and an allocator that counts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

#include "check/session_probe.h"
#include "res/resource.h"
#include "sound/player.h"
#include "sound/synthesis.h"
#include "sound/wave_buffer.h"
#include "tests/support/test_services.h"
#include "ui/kelvora_dlg.h"
#include "ui/status_panel.h"

namespace kelvora::uitest {

using platform::TemplateDialog;
using testing::TestServices;

// Keeps a copy of every image and lets a test act while a sound "plays".
class FakePlayer : public WavePlayer {
 public:
  PlayOutcome Play(std::span<const std::uint8_t> image) override {
    const std::span<const std::uint8_t> sound = WaveImageBytes(image);
    played.emplace_back(sound.begin(), sound.end());
    playedEars.push_back(ear);
    if (onPlay) onPlay(image);
    return outcome;
  }
  void SetEar(Ear chosen) override { ear = chosen; }
  std::vector<std::vector<std::uint8_t>> played;
  Ear ear = Ear::Both;
  std::vector<Ear> playedEars;  // the ear of each sound played
  std::function<void(std::span<const std::uint8_t>)> onPlay;
  PlayOutcome outcome = PlayOutcome::Played;  // what every sound comes to
};

class InstantClock : public SessionClock {
 public:
  void Sleep(int milliseconds) override { sleeps.push_back(milliseconds); }
  std::time_t Now() override { return now; }
  std::vector<int> sleeps;
  std::time_t now = 1700000000;
};

// malloc and free, counted; `failOn` decides which request fails.
class CountingAllocator : public BufferAllocator {
 public:
  std::uint8_t* Allocate(std::size_t size) override {
    ++requests;
    if (failOn && failOn(requests, size)) return nullptr;
    ++allocations;
    auto* block = static_cast<std::uint8_t*>(std::malloc(size));
    sizes[block] = size;
    return block;
  }
  void Release(std::uint8_t* block) override {
    ++releases;
    released.push_back(sizes[block]);
    sizes.erase(block);
    std::free(block);
  }
  // How many blocks of `size` bytes were given back.
  int ReleasedOfSize(std::size_t size) const {
    int count = 0;
    for (std::size_t each : released) count += each == size;
    return count;
  }
  int requests = 0;
  int allocations = 0;
  int releases = 0;
  std::map<std::uint8_t*, std::size_t> sizes;
  std::vector<std::size_t> released;
  std::function<bool(int request, std::size_t size)> failOn;
};

// The main dialog, with a record of every command it receives.
class TestDlg : public CKelvoraDlg {
 public:
  using CKelvoraDlg::CKelvoraDlg;
  std::vector<int> commands;

  // Public, so that tests can send a command as a click or a menu would.
  void OnCommand(int id) override {
    commands.push_back(id);
    CKelvoraDlg::OnCommand(id);
  }
};

class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { SetBufferAllocator(&allocator); }
  void TearDown() override { SetBufferAllocator(nullptr); }

  // Runs `dlg` modally: the start-up volume dialog gets `volumeAnswer`, then
  // `body` runs while the main dialog is up. Returns how the dialog ended.
  int Run(
      TestDlg& dlg, std::function<void(TestDlg&)> body,
      TestServices::ModalAnswer volumeAnswer = [](TemplateDialog&) { return IDOK; }) {
    services.PushModalAnswer(std::move(volumeAnswer));
    services.PushModalAnswer([body](TemplateDialog& dialog) {
      // The window is up and active before the user can do anything.
      dialog.activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
      body(static_cast<TestDlg&>(dialog));
      return IDCANCEL;
    });
    return dlg.DoModal();
  }

  TestServices services;
  FakePlayer player;
  InstantClock clock;
  CountingAllocator allocator;
};

// The chime as rendered at `volume`: header and samples, as the player gets it.
inline std::vector<std::uint8_t> Chime(std::int32_t volume) {
  std::vector<std::uint8_t> chime(kChimeWaveBufferSize), buzz(kBuzzWaveBufferSize);
  RenderChimeAndBuzz(chime, buzz, volume);
  chime.resize(kWaveHeaderSize + kChimeDataSize);
  return chime;
}

// A key typed into the main dialog, where the focus is.
inline void Type(TestDlg& dlg, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focus = QApplication::focusWidget();
  QWidget* target = focus && dlg.isAncestorOf(focus) ? focus : &dlg;
  QTest::keyClick(target, key, modifiers);
}
inline void Type(TestDlg& dlg, char character, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focus = QApplication::focusWidget();
  QWidget* target = focus && dlg.isAncestorOf(focus) ? focus : &dlg;
  QTest::keyClick(target, character, modifiers);
}

// Starts a check and gives the right answer, or the "don't know" answer.
inline void CheckRight(TestDlg& dlg) {
  dlg.OnCommand(IDC_START);
  dlg.OnCommand(IDC_ANSWER1 + SessionProbe(dlg.session()).answerCount - 1);
}
inline void CheckWrong(TestDlg& dlg) {
  dlg.OnCommand(IDC_START);
  dlg.OnCommand(IDC_DONT_KNOW);
}

// What the screen shows of the client area now (not a fresh rendering).
inline QImage OnScreen(TestDlg& dlg) {
  const QPoint origin = dlg.client()->mapTo(&dlg, QPoint(0, 0));
  return dlg.screen()
      ->grabWindow(dlg.winId(), origin.x(), origin.y(), dlg.client()->width(),
                   dlg.client()->height())
      .toImage();
}

inline bool IsMarkRed(QColor color) {
  return color.red() > 200 && color.green() < 60 && color.blue() < 60;
}

// Red pixels within `radius` of `at`.
inline bool RedNear(const QImage& image, QPoint at, int radius = 2) {
  for (int y = at.y() - radius; y <= at.y() + radius; ++y) {
    for (int x = at.x() - radius; x <= at.x() + radius; ++x) {
      if (image.valid(x, y) && IsMarkRed(image.pixelColor(x, y))) return true;
    }
  }
  return false;
}

inline int RedPixels(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.valid(x, y) && IsMarkRed(image.pixelColor(x, y))) ++count;
    }
  }
  return count;
}

}  // namespace kelvora::uitest
