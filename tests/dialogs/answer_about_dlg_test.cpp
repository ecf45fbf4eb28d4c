#include <QCloseEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "dialog_fixture.h"
#include "dialogs/about_dlg.h"
#include "dialogs/answer_dlg.h"
#include "res/resources.h"

namespace kelvora::testing {
namespace {

using platform::TemplateDialog;

QLineEdit* Edit(TemplateDialog& d, int id) { return qobject_cast<QLineEdit*>(d.GetDlgItem(id)); }

using AnswerDlgTest = DialogTest;

TEST(AnswerCaption, SaysHowManyBurstsPlayedWithFullWidthMarksAndAsciiSpaces) {
  const struct {
    int count;
    const char* caption;
  } cases[] = {{3, "残念！ 正解は 3 回でした。"},
               {5, "残念！ 正解は 5 回でした。"},
               {1, "残念！ 正解は 1 回でした。"},
               // "！" U+FF01 and "。" U+3002 around three plain spaces.
               {2,
                "\xE6\xAE\x8B\xE5\xBF\xB5\xEF\xBC\x81 \xE6\xAD\xA3\xE8\xA7\xA3\xE3\x81\xAF 2 "
                "\xE5\x9B\x9E\xE3\x81\xA7\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x82"}};
  for (const auto& c : cases) EXPECT_EQ(AnswerCaption(c.count), QString::fromUtf8(c.caption));
}

TEST_F(AnswerDlgTest, ShowsTheTestedFrequencyTheCountAndThePattern) {
  CAnswerDlg dlg(services, 8000, 3, {true, false, true, true, false});
  ASSERT_EQ(dlg.caption(), "残念！ 正解は 3 回でした。");
  ASSERT_EQ(dlg.pattern(), "＿　○　＿　＿　＿　○　＿　○　＿　＿　＿　＿");
  RunModal(dlg, [&](TemplateDialog& d) {
    EXPECT_EQ(d.windowTitle(), "8000 Hzのチェック");
    EXPECT_EQ(d.GetDlgItemText(IDC_ANSWER_CAPTION), dlg.caption());
    EXPECT_EQ(d.GetDlgItemText(IDC_ANSWER_PATTERN), dlg.pattern());
    EXPECT_EQ(d.focusWidget(), d.GetDlgItem(platform::kIdOk));

    // Selectable, not editable.
    QLineEdit* pattern = Edit(d, IDC_ANSWER_PATTERN);
    EXPECT_TRUE(pattern->isReadOnly());
    pattern->selectAll();
    EXPECT_EQ(pattern->selectedText(), dlg.pattern());
    QTest::keyClicks(pattern, "x");
    EXPECT_EQ(pattern->text(), dlg.pattern());
    EXPECT_TRUE(Edit(d, IDC_ANSWER_CAPTION)->isReadOnly());
  });
}

// The two texts look printed on what lies under them: the caption on the
// dialog, the pattern on the shaded interior of its group box.
TEST_F(AnswerDlgTest, EachTextHasTheColourOfWhatItSitsOn) {
  CAnswerDlg dlg(services, 0, 3, {true, false, true, true, false});
  RunModal(dlg, [&](TemplateDialog& d) {
    const QImage shot = d.client()->grab().toImage();
    const QRect group = d.client()->findChild<QGroupBox*>()->geometry();
    const QRect caption = d.GetDlgItem(IDC_ANSWER_CAPTION)->geometry();
    const QRect pattern = d.GetDlgItem(IDC_ANSWER_PATTERN)->geometry();
    const struct {
      QRect field;
      QPoint beside;  // clear of every control
    } cases[] = {
        {caption, {caption.center().x(), caption.bottom() + 2}},
        {pattern, {(group.left() + pattern.left()) / 2, pattern.center().y()}},
    };
    for (const auto& c : cases) {
      // The field's top row and right end are clear of its text.
      for (const QPoint at :
           {c.field.topLeft(), c.field.topRight(), QPoint(c.field.right(), c.field.center().y())}) {
        EXPECT_EQ(shot.pixelColor(at).name().toStdString(),
                  shot.pixelColor(c.beside).name().toStdString())
            << "field at " << c.field.x() << "," << c.field.y() << ", pixel " << at.x() << ","
            << at.y();
      }
    }
    EXPECT_NE(shot.pixelColor(cases[0].beside).name().toStdString(),
              shot.pixelColor(cases[1].beside).name().toStdString())
        << "the group box is shaded, or this test proves nothing";
  });
}

TEST_F(AnswerDlgTest, OkEscapeAndTheCloseBoxAllEndIt) {
  const std::function<void(TemplateDialog&)> ways[] = {
      [](TemplateDialog& d) { qobject_cast<QPushButton*>(d.GetDlgItem(platform::kIdOk))->click(); },
      [](TemplateDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
      [](TemplateDialog& d) { d.close(); },
      [](TemplateDialog& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Return); },
  };
  for (const auto& way : ways) {
    CAnswerDlg dlg(services, 16000, 0, {});
    bool ended = false;
    RunModal(dlg, [&](TemplateDialog& d) {
      way(d);
      ended = d.isEnded();
    });
    EXPECT_TRUE(ended);
  }
}

using AboutDlgTest = DialogTest;

TEST_F(AboutDlgTest, ShowsTheVersionIconsAndTextWithFocusOnTheLink) {
  CAboutDlg dlg(services);
  RunModal(dlg, [&](TemplateDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Kelvoraについて");
    QLineEdit* version = Edit(d, IDC_VERSION_TEXT);
    EXPECT_EQ(version->text(), "Kelvora ver 1.000");
    EXPECT_TRUE(version->isReadOnly());
    EXPECT_FALSE(version->hasFrame());
    version->selectAll();
    EXPECT_EQ(version->selectedText(), "Kelvora ver 1.000");

    EXPECT_EQ(d.GetDlgItemText(IDC_SITE_LINK), res::kAuthorSiteUrl);
    EXPECT_EQ(d.focusWidget(), d.GetDlgItem(IDC_SITE_LINK));

    int icons = 0;
    int texts = 0;
    for (const QLabel* label : d.client()->findChildren<QLabel*>()) {
      if (!label->pixmap().isNull()) ++icons;
      if (!label->text().isEmpty()) ++texts;
    }
    EXPECT_EQ(icons, 2);
    EXPECT_EQ(texts, 1);
  });
}

TEST_F(AboutDlgTest, EveryPressOfTheLinkAsksToOpenThePageAndTheBoxStaysOpen) {
  CAboutDlg dlg(services);
  RunModal(dlg, [&](TemplateDialog& d) {
    auto* link = qobject_cast<QPushButton*>(d.GetDlgItem(IDC_SITE_LINK));
    link->click();
    QTest::keyClick(link, Qt::Key_Space);
    QTest::keyClick(link, Qt::Key_Return);  // the focused button takes Enter
    EXPECT_FALSE(d.isEnded());
  });
  const auto& opens = services.OpenRequests();
  ASSERT_EQ(opens.size(), 3u);
  for (const auto& open : opens) {
    EXPECT_EQ(open.argument, res::kAuthorSiteUrl);
    EXPECT_EQ(open.url, QUrl(res::kAuthorSiteUrl));
  }
}

}  // namespace
}  // namespace kelvora::testing
