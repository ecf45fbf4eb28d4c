// The results window: its pictures saved as PNG with the marks where the
// staircase model puts them, the copy of the history file, and its note when
// the history could not be kept.

#include "dialogs/results_dlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "res/resource.h"
#include "results/results_pictures.h"
#include "tests/support/test_services.h"

namespace kelvora {
namespace {

using platform::TemplateDialog;

void Click(TemplateDialog& d, int id) { qobject_cast<QAbstractButton*>(d.GetDlgItem(id))->click(); }

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool IsMarkRed(QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }

class ResultsDlgTest : public ::testing::Test {
 protected:
  void RecordCheck(int hz, int answer, bool correct, std::optional<int> record) {
    HistoryRecord r;
    r.time = "2026-12-08T23:41:22+09:00";
    r.frequencyHz = hz;
    r.bursts = 3;
    r.answer = answer;
    r.correct = correct;
    r.recordHz = record;
    r.volumePercent = 30;
    history.Record(r);
  }

  QTemporaryDir temp;
  History history{QDir(temp.path()).filePath("kelvora/history.csv").toStdString()};
  testing::TestServices services;
};

TEST_F(ResultsDlgTest,
       SavedPictureHasCirclesForRightAnswersAndCrossesForOthersWhereTheModelPutsThem) {
  history.StartSession();
  RecordCheck(8000, 3, true, 8000);    // right
  RecordCheck(10000, 2, false, 8000);  // wrong
  RecordCheck(9000, 0, false, 8000);   // don't know
  RecordCheck(9000, 3, true, 9000);    // right
  const QString png = QDir(temp.path()).filePath("results.png");
  services.PushSaveFileAnswer(png);
  CResultsDlg dlg(history, services);
  QRectF top;
  services.PushModalAnswer([&top](TemplateDialog& d) {
    top = QRectF(QPointF(0, 0), d.GetDlgItem(IDC_RESULTS_STAIRCASE)->size());
    Click(d, IDC_RESULTS_SAVE_PNG);
    return IDOK;
  });
  dlg.DoModal();
  EXPECT_EQ(services.ShownDialogs().at(0).title, "検査結果の記録 [Kelvora]");
  ASSERT_EQ(services.SaveFileRequests().size(), 1u);
  EXPECT_EQ(services.SaveFileRequests()[0].defaultExtension, "png");

  QImage image;
  ASSERT_TRUE(image.load(png));
  const StaircaseModel& model = dlg.staircase();
  ASSERT_EQ(model.points.size(), 4u);
  for (const StaircasePoint& p : model.points) {
    SCOPED_TRACE(::testing::Message() << "check " << p.check);
    const QPoint at = results::StaircasePosition(top, model, p.check, p.frequencyHz).toPoint();
    // A cross is red where its strokes meet; a circle is red on its ring
    // and hollow, the blue line showing through.
    const bool centreRed = IsMarkRed(image.pixelColor(at));
    const bool ringRed = IsMarkRed(image.pixelColor(at + QPoint(5, 0))) ||
                         IsMarkRed(image.pixelColor(at + QPoint(4, 0)));
    EXPECT_EQ(centreRed, p.marker == Marker::Cross);
    EXPECT_EQ(ringRed, p.marker == Marker::Circle);
  }
}

TEST_F(ResultsDlgTest, CsvCopyIsTheHistoryFileAndEscCloses) {
  history.StartSession();
  RecordCheck(8000, 3, true, 8000);
  const QString csv = QDir(temp.path()).filePath("copy.csv");
  services.PushSaveFileAnswer(csv);
  CResultsDlg dlg(history, services);
  services.PushModalAnswer([](TemplateDialog& d) {
    Click(d, IDC_RESULTS_SAVE_CSV);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_TRUE(d.isEnded());
    return IDOK;
  });
  dlg.DoModal();
  EXPECT_EQ(ReadAll(csv), ReadAll(QString::fromStdString(history.path())));
  EXPECT_FALSE(ReadAll(csv).isEmpty());
  EXPECT_TRUE(services.ShownMessages().empty());
}

TEST_F(ResultsDlgTest, AHistoryThatCouldNotBeKeptIsNamedWithTheReason) {
  QFile(QDir(temp.path()).filePath("plain")).open(QIODevice::WriteOnly);
  History broken(QDir(temp.path()).filePath("plain/kelvora/history.csv").toStdString());
  broken.StartSession();
  HistoryRecord r;
  r.time = "2026-12-08T23:41:22+09:00";
  broken.Record(r);
  CResultsDlg dlg(broken, services);
  QString note;
  services.PushModalAnswer([&note](TemplateDialog& d) {
    note = d.GetDlgItemText(IDC_RESULTS_NOTE);
    return IDOK;
  });
  dlg.DoModal();
  EXPECT_TRUE(note.contains("残せませんでした")) << note.toStdString();
  EXPECT_TRUE(note.contains(HistoryErrorText(broken.writeError()))) << note.toStdString();
  EXPECT_EQ(dlg.staircase().points.size(), 1u);
}

}  // namespace
}  // namespace kelvora
