#include <QGroupBox>
#include <QPushButton>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "main_dialog_fixture.h"
#include "platform/qt/dialog_units.h"

namespace kelvora::uitest {
namespace {

TEST(PanelTextTest, FormatsAsTheFormattedPrintingOfTheCounts) {
  const struct {
    std::string text, expected;
  } cases[] = {
      {FormatFrequencyText(8000), " 8000 Hz"},  {FormatFrequencyText(20), "   20 Hz"},
      {FormatFrequencyText(22000), "22000 Hz"}, {FormatRecordText(0), "----- Hz"},
      {FormatRecordText(8000), " 8000 Hz"},     {FormatRecordText(22000), "22000 Hz"},
      {FormatRateText(0, 0), "---.- %"},        {FormatRateText(1, 1), "100.0 %"},
      {FormatRateText(2, 3), "66.7 %"},         {FormatRateText(0, 1), "0.0 %"},
      {FormatRateText(1, 3), "33.3 %"},         {FormatRateText(0, -1), "---.- %"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, c.expected);
}

using StatusPanelTest = MainDialogTest;

TEST_F(StatusPanelTest, ShowsTheSessionAfterEachStepOfARun) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    const StatusPanel& panel = main.statusPanel();
    EXPECT_EQ(panel.texts(), (PanelTexts{" 8000 Hz", "----- Hz", "---.- %"}));
    CheckRight(main);
    EXPECT_EQ(panel.texts(), (PanelTexts{"10000 Hz", " 8000 Hz", "100.0 %"}));
    CheckWrong(main);
    EXPECT_EQ(panel.texts(), (PanelTexts{" 9000 Hz", " 8000 Hz", "50.0 %"}));
    CheckRight(main);
    EXPECT_EQ(panel.texts(), (PanelTexts{"10000 Hz", " 9000 Hz", "66.7 %"}));
    Type(main, Qt::Key_C);
    EXPECT_EQ(panel.texts(), (PanelTexts{" 8000 Hz", "----- Hz", "---.- %"}));
    CheckWrong(main);
    EXPECT_EQ(panel.texts().rate, "0.0 %");
  });
}

TEST_F(StatusPanelTest, TheLowestFrequencyReadsTwentyHertz) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    for (int i = 0; i < 7; ++i) Type(main, Qt::Key_PageDown);
    for (int i = 0; i < 9; ++i) Type(main, Qt::Key_Down);
    for (int i = 0; i < 8; ++i) Type(main, Qt::Key_Left);
    EXPECT_EQ(main.view().frequency, 20);
    EXPECT_EQ(main.statusPanel().texts().frequency, "   20 Hz");
  });
}

TEST_F(StatusPanelTest, ARepaintWhileTheFirstCheckAwaitsItsAnswerShowsTheStartedCheck) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    main.OnCommand(IDC_START);
    EXPECT_EQ(main.statusPanel().texts().rate, "---.- %") << "starting does not redraw";
    main.repaint();
    EXPECT_EQ(main.statusPanel().texts().rate, "0.0 %");
  });
}

// The red circle stays on screen while the chime plays, the red cross while
// the buzz plays; the next drawing takes them away.
TEST_F(StatusPanelTest, TheMarksAreOnScreenForTheWholeSoundAndGoneAfterIt) {
  TestDlg dlg(player, clock, services);
  const PanelLayout& layout = dlg.statusPanel().layout();
  const QPoint top(layout.markBounds.center().x(), layout.markBounds.top());
  const QPoint left(layout.markBounds.left(), layout.markBounds.center().y());
  const QPoint centre = layout.markBounds.center();
  std::vector<QImage> shots;
  player.onPlay = [&](std::span<const std::uint8_t>) { shots.push_back(OnScreen(dlg)); };
  Run(dlg, [&](TestDlg& main) {
    CheckRight(main);
    const QImage afterRight = OnScreen(main);
    CheckWrong(main);
    const QImage afterWrong = OnScreen(main);

    ASSERT_EQ(shots.size(), 4u);  // pattern, chime, pattern, buzz
    const QImage& chime = shots[1];
    EXPECT_TRUE(RedNear(chime, top));
    EXPECT_TRUE(RedNear(chime, left));
    EXPECT_FALSE(RedNear(chime, centre, 4)) << "a circle, not a cross";
    const QImage& buzz = shots[3];
    EXPECT_TRUE(RedNear(buzz, centre));
    EXPECT_TRUE(RedNear(buzz, layout.crossFrom1));
    EXPECT_TRUE(RedNear(buzz, layout.crossFrom2));
    EXPECT_FALSE(RedNear(buzz, top, 1));

    EXPECT_EQ(RedPixels(shots[0], layout.frequencyArea), 0);
    EXPECT_EQ(RedPixels(afterRight, layout.frequencyArea), 0);
    EXPECT_EQ(RedPixels(afterWrong, layout.frequencyArea), 0);
  });
}

TEST_F(StatusPanelTest, ARepaintTakesAMarkAway) {
  TestDlg dlg(player, clock, services);
  bool markShown = false;
  player.onPlay = [&](std::span<const std::uint8_t>) {
    if (dlg.view().state != CheckState::AwaitingAnswer) return;
    const QRect area = dlg.statusPanel().layout().frequencyArea;
    markShown = RedPixels(OnScreen(dlg), area) > 0;
    dlg.update();
    QCoreApplication::processEvents();
    EXPECT_EQ(RedPixels(OnScreen(dlg), area), 0);
    // The mark waited for one paint only: the panel reads the session again.
    EXPECT_EQ(dlg.statusPanel().pendingMark(), PanelMark::None);
  };
  Run(dlg, [](TestDlg& main) { CheckRight(main); });
  EXPECT_TRUE(markShown);
}

int PixelsOf(const QImage& image, const QRect& area, std::function<bool(QColor)> match) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += match(image.pixelColor(x, y));
  }
  return count;
}

TEST_F(StatusPanelTest, TextsAreDrawnInDarkBlueOnTheDialogBackground) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    const StatusPanel& panel = main.statusPanel();
    const PanelLayout& layout = panel.layout();
    const QFontMetrics metrics(PanelFont(main));
    const QRect text(layout.frequencyText,
                     QSize(metrics.horizontalAdvance(" 8000 Hz"), metrics.height()));
    const QColor background = main.palette().color(QPalette::Window);

    const QImage painted = const_cast<StatusPanel&>(panel).grab().toImage();
    EXPECT_GT(PixelsOf(painted, text, [](QColor c) { return c == QColor(0, 0, 122); }), 100);
    EXPECT_EQ(painted.pixelColor(layout.frequencyArea.topLeft()), background);

    // On screen the group box may lay its shade over the panel, as over the
    // rest of its interior.
    const QImage shown = OnScreen(main);
    EXPECT_GT(PixelsOf(shown, text,
                       [](QColor c) {
                         return c.red() == 0 && c.green() == 0 && std::abs(c.blue() - 122) <= 4;
                       }),
              100);
    const QColor inside = shown.pixelColor(layout.frequencyArea.topLeft());
    const QColor boxInterior = shown.pixelColor(layout.frequencyArea.topLeft() - QPoint(3, 3));
    EXPECT_EQ(inside, boxInterior) << "no patch inside the box";
  });
}

TEST_F(StatusPanelTest, TheFontIsArial22PointAsLiberationSans) {
  TestDlg dlg(player, clock, services);
  const QFont font = PanelFont(dlg);
  EXPECT_EQ(font.pixelSize(), platform::MulDiv(220, dlg.logicalDpiY(), 720));
  EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
}

QRect GroupBoxTitled(TestDlg& dlg, const char* title) {
  for (const QGroupBox* box : dlg.client()->findChildren<QGroupBox*>()) {
    if (box->title() == QString::fromUtf8(title)) return box->geometry();
  }
  return {};
}

// Inside the frame, below the title.
QRect Inside(const QRect& box, int titleHeight) { return box.adjusted(2, titleHeight, -2, -2); }

TEST_F(StatusPanelTest, EachTextSitsInsideItsGroupBoxAndClearOfTheButtons) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    const PanelLayout& layout = main.statusPanel().layout();
    const QFontMetrics metrics(PanelFont(main));
    const int title = QFontMetrics(main.font()).height();
    const QSize blank(metrics.horizontalAdvance(QString(kPanelBlankLength, ' ')), metrics.height());

    const QRect frequencyBox = Inside(GroupBoxTitled(main, "現在の周波数"), title);
    EXPECT_TRUE(frequencyBox.contains(layout.frequencyArea));
    EXPECT_TRUE(frequencyBox.contains(
        QRect(layout.frequencyText, QSize(metrics.horizontalAdvance("22000 Hz"), 29))));
    EXPECT_TRUE(Inside(GroupBoxTitled(main, "最高可聴周波数"), title)
                    .contains(QRect(layout.recordText, blank)));
    EXPECT_TRUE(
        Inside(GroupBoxTitled(main, "正答率"), title).contains(QRect(layout.rateText, blank)));

    for (QPushButton* button : main.client()->findChildren<QPushButton*>()) {
      EXPECT_FALSE(main.statusPanel().mask().intersects(button->geometry()))
          << button->text().toStdString();
    }
    EXPECT_FALSE(GroupBoxTitled(main, "周波数手動設定").intersects(layout.frequencyArea));
  });
}

TEST_F(StatusPanelTest, KeepsItsDistancesFromTheGroupBoxCorners) {
  TestDlg dlg(player, clock, services);
  const PanelLayout& layout = dlg.statusPanel().layout();
  // Laid out over boxes whose corners stood at (12, 11), (12, 242) and (229, 242).
  const QPoint frequencyBox = GroupBoxTitled(dlg, "現在の周波数").topLeft();
  const QPoint recordBox = GroupBoxTitled(dlg, "最高可聴周波数").topLeft();
  const QPoint rateBox = GroupBoxTitled(dlg, "正答率").topLeft();
  EXPECT_EQ(layout.frequencyArea.topLeft() - frequencyBox, QPoint(18, 28) - QPoint(12, 11));
  EXPECT_EQ(layout.frequencyArea.size(), QSize(164, 54));
  EXPECT_EQ(layout.frequencyText - frequencyBox, QPoint(35, 38) - QPoint(12, 11));
  EXPECT_EQ(layout.markBounds.topLeft() - frequencyBox, QPoint(20, 30) - QPoint(12, 11));
  EXPECT_EQ(layout.markBounds.size(), QSize(160, 50));
  EXPECT_EQ(layout.recordText - recordBox, QPoint(40, 260) - QPoint(12, 242));
  EXPECT_EQ(layout.rateText - rateBox, QPoint(270, 260) - QPoint(229, 242));
}

TEST_F(StatusPanelTest, NothingIsPaintedBeforeTheSessionIsSet) {
  allocator.failOn = [](int request, std::size_t) { return request == 2; };
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg&) {});
  dlg.show();
  const QImage shot = dlg.client()->grab().toImage();
  dlg.hide();
  EXPECT_FALSE(dlg.statusPanel().IsDrawn());
  EXPECT_TRUE(dlg.statusPanel().texts().frequency.empty());
  const QRect area = dlg.statusPanel().layout().frequencyArea;
  for (int x = area.left(); x <= area.right(); ++x) {
    EXPECT_NE(shot.pixelColor(x, area.center().y()), QColor(0, 0, 122));
  }
}

// The C library follows the user's locale once Qt has started; the panel
// still writes a decimal point.
TEST_F(StatusPanelTest, TheRateKeepsItsDecimalPointUnderADecimalCommaLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  char printed[16];
  std::snprintf(printed, sizeof printed, "%.1f", 66.7);
  EXPECT_STREQ(printed, "66,7") << "the locale is in force";

  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    CheckRight(main);
    CheckWrong(main);
    CheckRight(main);
    EXPECT_EQ(main.statusPanel().texts().rate, "66.7 %");
  });
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace kelvora::uitest
