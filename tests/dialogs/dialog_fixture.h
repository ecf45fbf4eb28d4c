#pragma once

// What the dialog tests share: a player that keeps what it was given, an
// allocator that can refuse, and a fixture that answers every modal UI.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/template_dialog.h"
#include "sound/player.h"
#include "sound/wave_buffer.h"
#include "tests/support/test_services.h"

namespace kelvora::testing {

using Bytes = std::vector<std::uint8_t>;

// Keeps a copy of every image it is asked to play, and whether the wait
// cursor was up meanwhile. Returns at once.
class RecordingPlayer final : public WavePlayer {
 public:
  PlayOutcome Play(std::span<const std::uint8_t> image) override {
    const std::span<const std::uint8_t> sound = WaveImageBytes(image);
    played.emplace_back(sound.begin(), sound.end());
    waitCursorDepths.push_back(platform::WaitCursorDepth());
    return PlayOutcome::Played;
  }
  std::vector<Bytes> played;
  std::vector<int> waitCursorDepths;
};

// Hands out blocks from malloc, or none when told to fail, and counts releases.
class RecordingAllocator final : public BufferAllocator {
 public:
  explicit RecordingAllocator(bool fail = false) : m_fail(fail) {}
  std::uint8_t* Allocate(std::size_t size) override {
    sizes.push_back(size);
    return m_fail ? nullptr : static_cast<std::uint8_t*>(std::malloc(size));
  }
  void Release(std::uint8_t* block) override {
    ++releases;
    std::free(block);
  }
  std::vector<std::size_t> sizes;
  int releases = 0;

 private:
  bool m_fail;
};

// Replaces the field's text the way a user does: select all, then type.
inline void TypeInto(QWidget* field, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(field);
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  edit->selectAll();
  if (text.isEmpty()) {
    QTest::keyClick(edit, Qt::Key_Backspace);
  } else {
    QTest::keyClicks(edit, text);
  }
}

// Switches the C library to a locale whose decimal separator is a comma for
// as long as it lives.
class DecimalCommaLocale {
 public:
  DecimalCommaLocale() : m_saved(std::setlocale(LC_ALL, nullptr)) {
    m_ok = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr &&
           std::string(std::localeconv()->decimal_point) == ",";
  }
  ~DecimalCommaLocale() { std::setlocale(LC_ALL, m_saved.c_str()); }
  bool ok() const { return m_ok; }

 private:
  std::string m_saved;
  bool m_ok = false;
};

class DialogTest : public ::testing::Test {
 protected:
  void TearDown() override { SetBufferAllocator(nullptr); }

  // Runs `dialog` modally; `user` acts while it is open. The dialog ends as
  // Cancel unless `user` ends it otherwise.
  int RunModal(platform::TemplateDialog& dialog,
               const std::function<void(platform::TemplateDialog&)>& user) {
    services.PushModalAnswer([&user](platform::TemplateDialog& open) {
      user(open);
      return platform::kIdCancel;
    });
    return dialog.DoModal();
  }

  TestServices services;
};

}  // namespace kelvora::testing
