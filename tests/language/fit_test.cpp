// English that fits: every text of the dialog templates, and the texts the
// dialogs put into their controls, fits its control in English wherever it
// fits in Japanese, measured with the dialog font at the run's scale factor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QStyle>
#include <QTranslator>
#include <functional>

#include "dialogs/answer_dlg.h"
#include "dialogs/picture_texts.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/resource_text.h"
#include "res/resources.h"
#include "results/results_pictures.h"
#include "results/staircase.h"

namespace kelvora::res {
namespace {

using platform::ControlKind;

// The text as drawn: "&" marks a mnemonic and takes no room.
QString Drawn(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove('&');
  text.replace(QChar(1), QLatin1Char('&'));
  return text;
}

// The widest line the control can show on one line without cutting it off,
// by the style's own margins, or -1 where there is nothing to measure.
int RoomFor(ControlKind kind, int width) {
  QStyle* style = QApplication::style();
  switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
      return width - style->pixelMetric(QStyle::PM_ButtonMargin) -
             2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    case ControlKind::CheckBox:
      return width - style->pixelMetric(QStyle::PM_IndicatorWidth) -
             style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    case ControlKind::GroupBox:
      return width - 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth) - 8;
    case ControlKind::StaticText:
    case ControlKind::Edit:
      return width;
    default:
      return -1;
  }
}

struct Measured {
  std::string where;
  int needed[2];  // Japanese, English
  int room;
};

class FitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(english.load(QStringLiteral(":/translations/kelvora_en.qm")));
    metrics.emplace(font);
  }
  QString English(const char* text) const {
    const QString translated = english.translate(platform::kResourceTextContext, text);
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
  }
  // The widest line of `text` as drawn.
  int Needed(const QString& text) const {
    int widest = 0;
    for (const QString& line : Drawn(text).split('\n')) {
      widest = std::max(widest, metrics->horizontalAdvance(line));
    }
    return widest;
  }
  void Check(const std::string& where, ControlKind kind, int dialogWidth, const QString& japanese,
             const QString& inEnglish) {
    const platform::DialogBaseUnits base = platform::BaseUnitsOf(font);
    const int room =
        RoomFor(kind, platform::DialogToPixels(QRect(0, 0, dialogWidth, 8), base).width());
    if (room < 0) return;
    const int ja = Needed(japanese), en = Needed(inEnglish);
    ++measured;
    EXPECT_TRUE(ja > room || en <= room)
        << where << ": \"" << inEnglish.toStdString() << "\" needs " << en << " px of " << room
        << " (Japanese " << ja << ")";
  }

  QTranslator english;
  const QFont font = platform::DialogFont();
  std::optional<QFontMetrics> metrics;
  int measured = 0;
};

TEST_F(FitTest, EveryEnglishTextFitsItsControlWhereverTheJapaneseDoes) {
  for (const platform::DialogTemplate* dialog : AllDialogTemplates()) {
    for (const auto& control : dialog->controls) {
      if (!control.text || !*control.text || (control.style & platform::ControlStyle::Hidden)) {
        continue;
      }
      Check(std::to_string(dialog->id) + "/" + control.text, control.kind, control.width,
            QString::fromUtf8(control.text), English(control.text));
    }
  }
  // What the answer dialog writes into its caption field.
  for (const auto& control : kAnswerTemplate.controls) {
    if (control.id != IDC_ANSWER_CAPTION) continue;
    const char* caption = nullptr;
    for (const StringEntry& entry : StringTable()) {
      if (entry.id == IDS_ANSWER_CAPTION) caption = entry.text;
    }
    ASSERT_NE(caption, nullptr);
    for (int count = 1; count <= 5; ++count) {
      Check("answer caption", control.kind, control.width, QString::fromUtf8(caption).arg(count),
            English(caption).arg(count));
    }
  }
  EXPECT_GT(measured, 50);
}

int Overlaps(const results::PictureLayout& layout) {
  int overlaps = 0;
  for (std::size_t i = 0; i < layout.labels.size(); ++i) {
    for (std::size_t j = i + 1; j < layout.labels.size(); ++j) {
      overlaps += layout.labels[i].intersects(layout.labels[j]);
    }
  }
  return overlaps;
}

// The results window's pictures: the title and every legend entry (a session
// with a confirmed and a failed level shows them all) clear each other in
// English. (tests/results measures both languages.)
TEST_F(FitTest, ThePicturesTitlesAndLegendsClearEachOtherInEnglish) {
  const auto entry = [](int id) {
    for (const StringEntry& e : StringTable()) {
      if (e.id == id) return e.text;
    }
    return "";
  };
  const results::PictureTexts inEnglish =
      LoadPictureTexts([&](int id) { return English(entry(id)); });
  QRectF area;
  for (const auto& control : kResultsTemplate.controls) {
    if (control.id == IDC_RESULTS_STAIRCASE) {
      area = platform::DialogToPixels(QRect(0, 0, control.width, control.height),
                                      platform::BaseUnitsOf(font));
    }
  }
  ASSERT_FALSE(area.isEmpty());
  std::vector<HistoryRecord> session;
  const auto check = [&session](int hz, bool correct, std::optional<int> confirming = {},
                                std::optional<int> confirmed = {}) {
    HistoryRecord r;
    r.session = 1;
    r.time = "2026-12-09T10:00:00+09:00";
    r.frequencyHz = hz;
    r.answer = correct ? 1 : 2;
    r.correct = correct;
    r.confirmingHz = confirming;
    r.confirmedHz = confirmed;
    session.push_back(r);
  };
  check(8000, true);
  check(9000, false);
  for (bool right : {false, false}) check(8250, right, 8250);
  for (bool right : {true, true, true}) check(8000, right, 8000);
  check(8000, true, 8000, 8000);
  const StaircaseModel model = BuildStaircase(session);
  ASSERT_FALSE(model.levels.empty());
  const std::vector<SessionPoint> sessions = BuildSessions(session, {});
  const StaircaseModel withoutLevels = BuildStaircase({session.front(), session[1]});
  const struct {
    const char* picture;
    int overlaps;
  } cases[] = {
      {"staircase", Overlaps(results::LayOutStaircase(area, model, inEnglish))},
      {"staircase without confirmation",
       Overlaps(results::LayOutStaircase(area, withoutLevels, inEnglish))},
      {"sessions", Overlaps(results::LayOutSessions(area, sessions, inEnglish))},
  };
  for (const auto& c : cases) EXPECT_EQ(c.overlaps, 0) << c.picture;
}

}  // namespace
}  // namespace kelvora::res
