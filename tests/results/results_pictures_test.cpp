// The pictures as drawn: marks spread over the plot, no text over a mark,
// and a confirmed session showing both its markers. With
// KELVORA_PICTURES_DIR set, the pictures are also written there as PNG files
// to look at.

#include "results/results_pictures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "res/resource.h"
#include "res/resources.h"

namespace kelvora::results {
namespace {

const QRectF kArea(0, 0, 690, 230);

PictureTexts Texts() {
  return {res::LoadString(IDS_PICTURE_STAIRCASE_TITLE),
          res::LoadString(IDS_PICTURE_SESSIONS_TITLE),
          res::LoadString(IDS_PICTURE_NO_CHECKS),
          res::LoadString(IDS_PICTURE_NO_SESSIONS),
          res::LoadString(IDS_PICTURE_HZ),
          res::LoadString(IDS_PICTURE_RECORD_LINE),
          res::LoadString(IDS_PICTURE_RIGHT),
          res::LoadString(IDS_PICTURE_WRONG),
          res::LoadString(IDS_PICTURE_CONFIRMING),
          res::LoadString(IDS_PICTURE_LEVEL_CONFIRMED),
          res::LoadString(IDS_PICTURE_LEVEL_FAILED),
          res::LoadString(IDS_PICTURE_BOTH_EARS),
          res::LoadString(IDS_PICTURE_LEFT_EAR),
          res::LoadString(IDS_PICTURE_RIGHT_EAR),
          res::LoadString(IDS_PICTURE_RECORD),
          res::LoadString(IDS_PICTURE_CONFIRMED)};
}

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

}  // namespace
}  // namespace kelvora::results
