// The pictures as drawn: marks spread over the plot, no text over a mark,
// and a confirmed session showing both its markers. With
// KELVORA_PICTURES_DIR set, the pictures are also written there as PNG files
// to look at.

#include "results/results_pictures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTranslator>
#include <algorithm>

#include "dialogs/picture_texts.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/resource_text.h"
#include "res/resource.h"
#include "res/resources.h"

namespace kelvora::results {
namespace {

const QRectF kArea(0, 0, 690, 230);

PictureTexts Texts() { return LoadPictureTexts(res::LoadString); }

HistoryRecord Check(std::int64_t session, const char* time, int hz, bool correct,
                    Ear ear = Ear::Both) {
  HistoryRecord r;
  r.session = session;
  r.time = time;
  r.ear = ear;
  r.frequencyHz = hz;
  r.answer = correct ? 1 : 2;
  r.correct = correct;
  return r;
}

// 24 checks between 14 000 and 16 000 Hz, the staircase climbing and
// falling around 15 000 Hz, then a confirmation that fails at 15 250 Hz and
// holds at 15 000 Hz.
std::vector<HistoryRecord> NarrowSession() {
  const char* t = "2026-12-09T03:04:00+09:00";
  std::vector<HistoryRecord> session;
  const int climb[] = {14000, 14500, 15000, 15500, 16000, 15500, 15000,
                       15250, 15500, 15250, 15000, 15250, 15500, 15250};
  const bool right[] = {true, true,  true, true, false, false, true,
                        true, false, true, true, true,  false, false};
  for (std::size_t n = 0; n < std::size(climb); ++n)
    session.push_back(Check(1, t, climb[n], right[n]));
  const auto confirm = [&](int hz, bool correct, bool confirms = false) {
    HistoryRecord r = Check(1, t, hz, correct);
    r.confirmingHz = hz;
    if (confirms) r.confirmedHz = hz;
    session.push_back(r);
  };
  confirm(15250, true);
  confirm(15250, false);
  confirm(15250, false);
  confirm(15000, true);
  confirm(15000, true);
  confirm(15000, false);
  confirm(15000, true);
  confirm(15000, true, true);
  session.push_back(Check(1, t, 15250, false));
  session.push_back(Check(1, t, 15000, true));
  return session;
}

std::vector<HistoryRecord> ManySessions() {
  std::vector<HistoryRecord> file = {
      Check(1, "2026-11-02T20:10:00+09:00", 16000, true, Ear::Both),
      Check(2, "2026-11-10T21:00:00+09:00", 15500, true, Ear::Left),
      Check(3, "2026-11-10T21:30:00+09:00", 17000, true, Ear::Right),
      Check(4, "2026-12-09T03:04:00+09:00", 15500, true, Ear::Both),
  };
  HistoryRecord confirmed = Check(2, "2026-11-10T21:05:00+09:00", 15000, true, Ear::Left);
  confirmed.confirmingHz = confirmed.confirmedHz = 15000;
  file.push_back(confirmed);
  confirmed = Check(4, "2026-12-09T03:10:00+09:00", 15500, true, Ear::Both);
  confirmed.confirmingHz = confirmed.confirmedHz = 15500;  // at the record itself
  file.push_back(confirmed);
  return file;
}

// An ear's colour, not the paper or a grey grid line.
bool Inked(QColor c) {
  return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 60;
}

void SaveToLook(const QString& name, const std::function<void(QPainter&)>& draw) {
  const QByteArray dir = qgetenv("KELVORA_PICTURES_DIR");
  if (dir.isEmpty()) return;
  QImage image(kArea.size().toSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  draw(painter);
  painter.end();
  image.save(QDir(QString::fromLocal8Bit(dir)).filePath(name), "PNG");
}

TEST(ResultsPictures, MarksFillThePlotAndNoTextCoversAMark) {
  const PictureTexts texts = Texts();
  const StaircaseModel narrow = BuildStaircase(NarrowSession());
  const std::vector<SessionPoint> oneSession = BuildSessions({}, NarrowSession());
  const std::vector<SessionPoint> sessions = BuildSessions(ManySessions(), {});
  SaveToLook("staircase.png", [&](QPainter& p) { DrawStaircase(p, kArea, narrow, texts); });
  SaveToLook("sessions.png", [&](QPainter& p) { DrawSessions(p, kArea, sessions, texts); });
  SaveToLook("one-session.png", [&](QPainter& p) { DrawSessions(p, kArea, oneSession, texts); });

  // A record among many marks above and below it.
  StaircaseModel crowded;
  for (int check = 1; check <= 40; ++check) {
    crowded.points.push_back({check, 15000 + (check % 3 - 1) * 250,
                              check % 3 == 2 ? Marker::Cross : Marker::Circle, false});
  }
  crowded.points.push_back({41, 16000, Marker::Cross, false});  // high, under the legend
  crowded.recordHz = 15000;
  struct Case {
    const char* name;
    PictureLayout layout;
    double minSpread;  // share of the plot's height the marks span
  };
  const Case cases[] = {
      {"24 checks between 14 and 16 kHz", LayOutStaircase(kArea, narrow, texts), 0.7},
      {"a record among 40 marks", LayOutStaircase(kArea, crowded, texts), 0.3},
      {"sessions", LayOutSessions(kArea, sessions, texts), 0.5},
      {"one session", LayOutSessions(kArea, oneSession, texts), 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(c.layout.marks.empty());
    double top = c.layout.marks.front().center().y(), bottom = top;
    for (const QRectF& mark : c.layout.marks) {
      EXPECT_TRUE(c.layout.plot.contains(mark.center()));
      top = std::min(top, mark.center().y());
      bottom = std::max(bottom, mark.center().y());
      for (const QRectF& label : c.layout.labels) {
        EXPECT_FALSE(label.intersects(mark))
            << "label at " << label.x() << "," << label.y() << " over the mark at "
            << mark.center().x() << "," << mark.center().y();
      }
    }
    EXPECT_GE((bottom - top) / c.layout.plot.height(), c.minSpread);
  }
  // The record's label is there, among the labels, in the narrow staircase.
  EXPECT_EQ(cases[0].layout.labels.size(), 7u);  // the title, five legend entries and the record
}

TEST(ResultsPictures, AConfirmedSessionShowsItsRecordHollowAndItsConfirmedFrequencyFilled) {
  const std::vector<SessionPoint> sessions = BuildSessions(ManySessions(), {});
  ASSERT_EQ(sessions.size(), 4u);
  QImage image(kArea.size().toSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    DrawSessions(painter, kArea, sessions, Texts());
  }
  const PictureLayout layout = LayOutSessions(kArea, sessions, Texts());
  // Marks in order: each session's record, then its confirmed frequency if any.
  std::size_t mark = 0;
  for (const SessionPoint& s : sessions) {
    SCOPED_TRACE(s.session);
    const QPoint record = layout.marks.at(mark++).center().toPoint();
    // The right ear's circle and the both-ears square are hollow: paper inside.
    if (s.ear != Ear::Left && s.confirmedHz != s.recordHz) {
      EXPECT_FALSE(Inked(image.pixelColor(record)));
    }
    if (!s.confirmedHz) continue;
    const QPoint confirmed = layout.marks.at(mark++).center().toPoint();
    EXPECT_TRUE(Inked(image.pixelColor(confirmed)));
    EXPECT_TRUE(Inked(image.pixelColor(confirmed + QPoint(2, 2))));
    // At the record itself, the hollow ring still shows around the filled mark.
    if (s.confirmedHz == s.recordHz) {
      EXPECT_TRUE(Inked(image.pixelColor(record + QPoint(5, 0))));
    }
  }
  EXPECT_EQ(mark, layout.marks.size());
  EXPECT_EQ(mark, 6u);
}

// The pictures' words in Japanese (the tables) or in the program's English.
PictureTexts TextsIn(bool english) {
  static QTranslator translator;
  static const bool loaded = translator.load(QStringLiteral(":/translations/kelvora_en.qm"));
  EXPECT_TRUE(loaded);
  const auto load = [english](int id) {
    for (const res::StringEntry& e : res::StringTable()) {
      if (e.id != id) continue;
      const QString translated =
          english ? translator.translate(platform::kResourceTextContext, e.text) : QString();
      return translated.isEmpty() ? QString::fromUtf8(e.text) : translated;
    }
    return QString();
  };
  return LoadPictureTexts(load);
}

// A picture's place in the results window, in pixels of the dialog font.
QRectF WindowArea(int control) {
  for (const auto& c : res::kResultsTemplate.controls) {
    if (c.id == control) {
      return platform::DialogToPixels(QRect(0, 0, c.width, c.height),
                                      platform::BaseUnitsOf(platform::DialogFont()));
    }
  }
  return {};
}

// Every picture as the results window shows it, in both languages: no text
// meets another, the legend ends clear of the frame's right edge, every
// marker is whole inside the frame, a record and a confirmed frequency
// 250 Hz apart stay two markers, and an empty picture draws no axis but
// says that there is nothing to draw.
TEST(ResultsPictures, EveryPictureKeepsItsPartsApartInBothLanguages) {
  std::vector<HistoryRecord> confirming;  // all five staircase legend entries
  const auto add = [&confirming](int hz, bool right, std::optional<int> level = {},
                                 std::optional<int> confirmed = {}) {
    HistoryRecord r = Check(1, "2026-12-09T10:00:00+09:00", hz, right);
    r.confirmingHz = level;
    r.confirmedHz = confirmed;
    confirming.push_back(r);
  };
  add(14000, true);
  add(14750, false);  // the highest value, a cross
  for (bool right : {false, false}) add(14500, right, 14500);
  for (bool right : {true, true, true}) add(14250, right, 14250);
  add(14250, true, 14250, 14250);
  StaircaseModel longRun;  // 200 checks: half a check is less than a marker
  for (int check = 1; check <= 200; ++check) {
    longRun.points.push_back(
        {check, 9000 + (check % 2) * 100, check % 2 ? Marker::Cross : Marker::Circle, false});
  }
  std::vector<HistoryRecord> file = {
      Check(1, "2026-11-02T20:10:00+09:00", 17000, true, Ear::Right),
      Check(2, "2026-11-10T21:00:00+09:00", 9000, true, Ear::Left),  // the bottom, a cross
      Check(3, "2026-12-09T03:04:00+09:00", 14500, true, Ear::Both),
  };
  HistoryRecord below = Check(3, "2026-12-09T03:10:00+09:00", 14250, true, Ear::Both);
  below.confirmingHz = below.confirmedHz = 14250;  // 250 Hz under the record
  file.push_back(below);
  const std::vector<SessionPoint> sessions = BuildSessions(file, {});
  ASSERT_EQ(sessions.size(), 3u);

  const QRectF staircaseArea = WindowArea(IDC_RESULTS_STAIRCASE);
  const QRectF sessionsArea = WindowArea(IDC_RESULTS_SESSIONS);
  ASSERT_FALSE(staircaseArea.isEmpty());
  for (const bool english : {false, true}) {
    const PictureTexts texts = TextsIn(english);
    const QString language = english ? "en" : "ja";
    SaveToLook("window-staircase-" + language + ".png", [&](QPainter& p) {
      DrawStaircase(p, staircaseArea, BuildStaircase(confirming), texts);
    });
    SaveToLook("window-sessions-" + language + ".png",
               [&](QPainter& p) { DrawSessions(p, sessionsArea, sessions, texts); });
    // The window names whose session the staircase is; a name may be long.
    PictureTexts named = texts;
    named.staircaseTitle += english
                                ? QStringLiteral(" (Alex, Speakers (Realtek(R) Audio))")
                                : QStringLiteral("（山田 花子、スピーカー (Realtek(R) Audio)）");
    PictureTexts longNamed = texts;
    longNamed.staircaseTitle += QString(1000, QChar(0x540D));
    const struct {
      const char* name;
      QRectF area;
      PictureLayout layout;
      std::size_t legendEntries;
    } cases[] = {
        {"a confirmation", staircaseArea,
         LayOutStaircase(staircaseArea, BuildStaircase(confirming), texts), 5},
        {"200 checks", staircaseArea, LayOutStaircase(staircaseArea, longRun, texts), 2},
        {"sessions", sessionsArea, LayOutSessions(sessionsArea, sessions, texts), 5},
        {"sessions in a low picture", QRectF(0, 0, sessionsArea.width(), 110),
         LayOutSessions(QRectF(0, 0, sessionsArea.width(), 110), sessions, texts), 5},
        {"a confirmation, the title naming the listener and the output", staircaseArea,
         LayOutStaircase(staircaseArea, BuildStaircase(confirming), named), 5},
        {"a confirmation, a name of 1000 characters", staircaseArea,
         LayOutStaircase(staircaseArea, BuildStaircase(confirming), longNamed), 5},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(english ? "English, " : "Japanese, ") + c.name);
      const PictureLayout& layout = c.layout;
      // The title, the legend, and the record line's label where there is one.
      ASSERT_GE(layout.labels.size(), 1 + c.legendEntries);
      for (std::size_t i = 0; i < layout.labels.size(); ++i) {
        const QRectF& label = layout.labels[i];
        EXPECT_TRUE(c.area.contains(label)) << "text " << i << " leaves the picture";
        for (std::size_t j = i + 1; j < layout.labels.size(); ++j) {
          EXPECT_FALSE(label.intersects(layout.labels[j])) << "texts " << i << " and " << j;
        }
      }
      for (std::size_t i = 1; i <= c.legendEntries; ++i) {
        EXPECT_LE(layout.labels[i].right(), layout.plot.right() - 4) << "legend entry " << i;
        EXPECT_LE(layout.labels[i].bottom(), layout.plot.top()) << "legend entry " << i;
      }
      ASSERT_FALSE(layout.marks.empty());
      for (const QRectF& mark : layout.marks) {
        EXPECT_TRUE(layout.plot.adjusted(1, 1, -1, -1).contains(mark))
            << "the mark at " << mark.center().x() << "," << mark.center().y()
            << " is cut by the frame";
      }
    }
    // Sessions' marks: one record, one record, then the record and the
    // confirmed frequency 250 Hz below it, side by side.
    const PictureLayout& both = cases[2].layout;
    ASSERT_EQ(both.marks.size(), 4u);
    EXPECT_FALSE(both.marks[2].intersects(both.marks[3]));

    const struct {
      const char* name;
      PictureLayout layout;
    } empty[] = {
        {"no checks", LayOutStaircase(staircaseArea, {}, texts)},
        {"no sessions", LayOutSessions(sessionsArea, {}, texts)},
    };
    for (const auto& e : empty) {
      SCOPED_TRACE(std::string(english ? "English, " : "Japanese, ") + e.name);
      EXPECT_TRUE(e.layout.hzAxis.ticks.empty()) << "an axis of nothing";
      EXPECT_TRUE(e.layout.marks.empty());
      ASSERT_EQ(e.layout.labels.size(), 2u);  // the title and what says there is nothing
      EXPECT_TRUE(e.layout.plot.contains(e.layout.labels[1]));
      EXPECT_FALSE(e.layout.labels[0].intersects(e.layout.labels[1]));
    }
  }
}

}  // namespace
}  // namespace kelvora::results
