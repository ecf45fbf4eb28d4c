// The history: appending a line (must not delay an answer's sound, well
// under 1 ms) and what opening the results window costs with a long history
// (at most 200 ms for 10 000 lines, about 1 s for 1 000 000): reading, the
// models and both pictures.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <string>

#include "results/history.h"
#include "results/results_pictures.h"
#include "results/staircase.h"

namespace {

using namespace kelvora;

std::string TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kelvora-bench-XXXXXX").string();
  return mkdtemp(pattern.data());
}

HistoryRecord Check(int n) {
  HistoryRecord r;
  r.time = FormatLocalTime(1700000000 + n * 30);
  r.frequencyHz = 8000 + (n % 50) * 100;
  r.bursts = n % 5 + 1;
  r.answer = n % 3 ? r.bursts : 0;
  r.correct = n % 3 != 0;
  r.recordHz = 8000 + (n % 50) * 100;
  r.ratePercent = "66.7";
  r.volumePercent = 30;
  return r;
}

void BM_AppendLine(benchmark::State& state) {
  const std::string folder = TempFolder();
  History history(folder + "/kelvora/history.csv");
  history.StartSession();
  const HistoryRecord record = Check(1);
  for (auto _ : state) history.Record(record);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AppendLine)->Unit(benchmark::kMicrosecond);

void BM_OpenResults(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "kelvora_bench";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QGuiApplication app(argc, argv);

  const std::string folder = TempFolder();
  const std::string path = folder + "/history.csv";
  {
    std::ofstream file(path, std::ios::binary);
    for (int n = 0; n < state.range(0); ++n) {
      HistoryRecord r = Check(n);
      r.session = n / 20;  // sessions of 20 checks
      file << FormatHistoryLine(r);
    }
  }
  History history(path);
  history.StartSession();
  for (int n = 0; n < 30; ++n) history.Record(Check(n));
  QImage image(690, 2 * 230, QImage::Format_RGB32);
  // Words of typical length; the window takes them from its string table.
  results::PictureTexts texts;
  texts.recordLine = QStringLiteral("record %1 Hz");
  texts.right = texts.wrong = texts.bothEars = texts.leftEar = texts.rightEar =
      QStringLiteral("legend");
  for (auto _ : state) {
    const std::vector<HistoryRecord> file = history.ReadAll();
    const StaircaseModel staircase = BuildStaircase(history.currentSession());
    const std::vector<SessionPoint> sessions = BuildSessions(file, history.currentSession());
    QPainter painter(&image);
    results::DrawStaircase(painter, QRectF(0, 0, 690, 230), staircase, texts);
    results::DrawSessions(painter, QRectF(0, 230, 690, 230), sessions, texts);
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenResults)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
