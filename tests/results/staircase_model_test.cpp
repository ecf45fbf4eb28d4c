// What the results window is to draw, from the lines of a session and a file.

#include <gtest/gtest.h>

#include "results/staircase.h"

namespace kelvora {
namespace {

HistoryRecord Line(std::int64_t session, const char* time, int hz, int answer, bool correct,
                   std::optional<int> record, Ear ear = Ear::Both) {
  HistoryRecord r;
  r.session = session;
  r.time = time;
  r.frequencyHz = hz;
  r.answer = answer;
  r.correct = correct;
  r.recordHz = record;
  r.ear = ear;
  return r;
}

TEST(StaircaseModel, RightAnswersAreCirclesOthersCrossesAndTheRecordIsTheHighestRight) {
  const char* t = "2026-12-08T23:41:22+09:00";
  struct Case {
    const char* name;
    std::vector<HistoryRecord> session;
    std::vector<Marker> markers;
    std::optional<int> record;
  };
  const Case cases[] = {
      {"no check yet", {}, {}, std::nullopt},
      {"a wrong answer and a don't know: no record",
       {Line(1, t, 8000, 2, false, {}), Line(1, t, 7000, 0, false, {})},
       {Marker::Cross, Marker::Cross},
       std::nullopt},
      {"right, wrong, right, don't know",
       {Line(1, t, 8000, 3, true, 8000), Line(1, t, 10000, 1, false, 8000),
        Line(1, t, 9000, 4, true, 9000), Line(1, t, 10000, 0, false, 9000)},
       {Marker::Circle, Marker::Cross, Marker::Circle, Marker::Cross},
       9000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StaircaseModel model = BuildStaircase(c.session);
    ASSERT_EQ(model.points.size(), c.session.size());
    for (std::size_t n = 0; n < model.points.size(); ++n) {
      EXPECT_EQ(model.points[n].check, static_cast<int>(n) + 1);
      EXPECT_EQ(model.points[n].frequencyHz, c.session[n].frequencyHz);
      EXPECT_EQ(model.points[n].marker, c.markers[n]) << "check " << n + 1;
    }
    EXPECT_EQ(model.recordHz, c.record);
  }
}

TEST(StaircaseModel, PastSessionsOnePointEachWithTheCurrentSessionFromMemory) {
  const std::vector<HistoryRecord> file = {
      Line(5, "2026-01-02T10:00:00+09:00", 8000, 1, true, 8000, Ear::Left),
      Line(5, "2026-01-02T10:01:00+09:00", 12000, 1, true, 12000, Ear::Left),
      Line(3, "2026-01-01T10:00:00+09:00", 8000, 0, false, {}),  // no record: no point
      Line(4, "2026-01-01T09:00:00+09:00", 9000, 2, true, 9000, Ear::Right),
      // The session under way, whose second line the file could not take.
      Line(9, "2026-01-03T10:00:00+09:00", 8000, 1, true, 8000),
  };
  const std::vector<HistoryRecord> current = {
      Line(9, "2026-01-03T10:00:00+09:00", 8000, 1, true, 8000),
      Line(9, "2026-01-03T10:02:00+09:00", 10000, 1, true, 10000),
  };
  const std::vector<SessionPoint> points = BuildSessions(file, current);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].session, 4);
  EXPECT_EQ(points[0].ear, Ear::Right);
  EXPECT_EQ(points[1].session, 5);
  EXPECT_EQ(points[1].recordHz, 12000);
  EXPECT_EQ(points[1].time, *ParseIsoTime("2026-01-02T10:01:00+09:00"));
  EXPECT_EQ(points[2].session, 9);
  EXPECT_EQ(points[2].recordHz, 10000);
}

HistoryRecord Confirming(int hz, bool correct, std::optional<int> confirmed = {},
                         bool played = true) {
  HistoryRecord r = Line(1, "2026-12-09T03:04:00+09:00", hz, correct ? 1 : 2, correct, {});
  r.confirmingHz = hz;
  r.confirmedHz = confirmed;
  r.played = played;
  return r;
}

TEST(StaircaseModel, PatternsThatDidNotPlayAreNoResultAndLevelsKeepTheirOutcome) {
  const char* t = "2026-12-09T03:04:00+09:00";
  HistoryRecord silentRight = Line(1, t, 17000, 1, true, 17000);
  silentRight.played = false;
  const std::vector<HistoryRecord> session = {
      Line(1, t, 15000, 1, true, 15000),
      silentRight,  // a lucky answer to nothing: neither a point nor the record
      // 15000 fails at its second wrong answer (the silent one not counted)...
      Confirming(15000, false), Confirming(15000, false, {}, false), Confirming(15000, true),
      Confirming(15000, false),
      // ...14750 is confirmed at its fourth right answer...
      Confirming(14750, true), Confirming(14750, true), Confirming(14750, false),
      Confirming(14750, true), Confirming(14750, true, 14750),
      // ...and a confirmation cut short by a staircase check has no outcome.
      Line(1, t, 15000, 1, true, 15000), Confirming(15000, true)};
  const StaircaseModel model = BuildStaircase(session);
  ASSERT_EQ(model.points.size(), session.size() - 2);
  for (const StaircasePoint& p : model.points) {
    EXPECT_NE(p.check, 2);
    EXPECT_NE(p.check, 4);
    EXPECT_EQ(p.confirming, session[p.check - 1].confirmingHz.has_value()) << p.check;
  }
  EXPECT_EQ(model.recordHz, 15000);
  struct Expected {
    int hz, first, last;
    LevelOutcome outcome;
  };
  const Expected expected[] = {{15000, 3, 6, LevelOutcome::Failed},
                               {14750, 7, 11, LevelOutcome::Confirmed},
                               {15000, 13, 13, LevelOutcome::Unfinished}};
  ASSERT_EQ(model.levels.size(), std::size(expected));
  for (std::size_t n = 0; n < model.levels.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(model.levels[n].levelHz, expected[n].hz);
    EXPECT_EQ(model.levels[n].firstCheck, expected[n].first);
    EXPECT_EQ(model.levels[n].lastCheck, expected[n].last);
    EXPECT_EQ(model.levels[n].outcome, expected[n].outcome);
  }

  // The session's point: the record and the confirmed level, both from played checks.
  HistoryRecord silentConfirm = Confirming(16000, true, 16000, false);
  std::vector<HistoryRecord> withSilent = session;
  withSilent.push_back(silentConfirm);
  const std::vector<SessionPoint> points = BuildSessions({}, withSilent);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].recordHz, 15000);
  EXPECT_EQ(points[0].confirmedHz, 14750);
}

TEST(StaircaseModel, AxesFitTheDataWithRoundTicks) {
  struct Case {
    int low, high;
    double minLow, maxLow, minHigh, maxHigh;
    std::vector<std::int64_t> ticks;
  };
  const Case cases[] = {
      {14000, 16000, 13800, 14000, 16000, 16200, {14000, 14500, 15000, 15500, 16000}},
      {8000, 8000, 7400, 7500, 8500, 8600, {7600, 7800, 8000, 8200, 8400}},
      {200, 21000, 0, 200, 21000, 22500, {0, 5000, 10000, 15000, 20000}},
      {30, 40, 0, 30, 40, 1100, {0, 200, 400, 600, 800, 1000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.low << "-" << c.high);
    const Axis axis = FitFrequencyAxis(c.low, c.high);
    EXPECT_GE(axis.low, c.minLow);
    EXPECT_LT(axis.low, c.maxLow);
    EXPECT_GT(axis.high, c.minHigh);
    EXPECT_LE(axis.high, c.maxHigh);
    EXPECT_EQ(axis.ticks, c.ticks);
  }

  // Time: a single session gets about an hour, ticks on round minutes of
  // the local clock; a year of sessions gets whole days.
  const std::int64_t at0304 = *ParseIsoTime("2026-12-09T03:04:00+09:00");
  const Axis single = FitTimeAxis(at0304, at0304, 9 * 3600);
  EXPECT_LE(single.low, static_cast<double>(at0304 - 1800));
  EXPECT_GE(single.low, static_cast<double>(at0304 - 7200));
  EXPECT_GE(single.high, static_cast<double>(at0304 + 1800));
  EXPECT_LE(single.high, static_cast<double>(at0304 + 7200));
  ASSERT_GE(single.ticks.size(), 3u);
  EXPECT_LE(single.ticks.size(), 6u);
  EXPECT_TRUE(single.withinADay);
  for (std::int64_t t : single.ticks) EXPECT_EQ((t + 9 * 3600) % 300, 0) << t;

  const Axis year = FitTimeAxis(at0304 - 365 * 86400, at0304, 9 * 3600);
  EXPECT_FALSE(year.withinADay);
  EXPECT_LE(year.ticks.size(), 6u);
  for (std::int64_t t : year.ticks) EXPECT_EQ((t + 9 * 3600) % 86400, 0) << t;
}

}  // namespace
}  // namespace kelvora
