// Under English no window of the program shows a Japanese character; under
// Japanese every window and Qt's own save dialog speak Japanese.
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <map>

#include "platform/qt/tool_tips.h"
#include "res/language.h"
#include "res/resources.h"
#include "results/history.h"
#include "tests/support/japanese_text.h"
#include "tests/ui/main_dialog_fixture.h"
#include "ui/application.h"

namespace kelvora::uitest {
namespace {

using testing::HasJapanese;

// The language the run was started for (--expect=ja|en).
std::string_view ExpectedLanguage() {
  for (const QString& argument : QCoreApplication::arguments()) {
    if (argument == QLatin1String("--expect=en")) return "en";
  }
  return "ja";
}

void AddMenuTexts(const QList<QAction*>& actions, QStringList& texts) {
  for (QAction* action : actions) {
    texts << action->text() << action->toolTip();
    if (action->menu()) AddMenuTexts(action->menu()->actions(), texts);
  }
}

// Every text a window shows or may show: its title, its controls' texts,
// tips and list headers, its menus.
QStringList WindowTexts(QWidget& window, const platform::ToolTips* tips = nullptr) {
  QStringList texts{window.windowTitle()};
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << button->text();
    if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) texts << group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) texts << edit->text() << edit->placeholderText();
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
      for (int column = 0; column < view->model()->columnCount(); ++column) {
        texts << view->model()->headerData(column, Qt::Horizontal).toString();
      }
    }
    if (auto* bar = qobject_cast<QMenuBar*>(w)) AddMenuTexts(bar->actions(), texts);
    texts << w->toolTip();
    if (tips) texts << tips->TextOf(w);
  }
  texts.removeAll(QString());
  return texts;
}

void ExpectLanguage(const std::string& window, const QStringList& texts) {
  ASSERT_FALSE(texts.isEmpty()) << window;
  if (ExpectedLanguage() == "en") {
    for (const QString& text : texts)
      EXPECT_FALSE(HasJapanese(text)) << window << ": " << text.toStdString();
  } else {
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), HasJapanese))
        << window << ": " << texts.join(" | ").toStdString();
  }
}

TEST(InterfaceLanguage, IsTheOneTheLocaleAsksFor) {
  EXPECT_EQ(static_cast<KelvoraApplication*>(QCoreApplication::instance())->language().code,
            ExpectedLanguage());
}

// The save dialog's file list shows Qt's short date of the system locale.
TEST(InterfaceLanguage, QtsDatesFollowIt) {
  const QString date = QLocale::system().toString(QDateTime(QDate(2026, 12, 9), QTime(10, 30)),
                                                  QLocale::ShortFormat);
  if (ExpectedLanguage() == "ja") {
    // "2026/12/09 10:30", not "9 Dec 2026 10:30:00".
    EXPECT_FALSE(date.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
        << date.toStdString();
  } else {
    EXPECT_TRUE(date.contains(QStringLiteral("AM"))) << date.toStdString();
  }
}

using WindowsLanguageTest = MainDialogTest;

TEST_F(WindowsLanguageTest, EveryWindowAndMessageSpeaksOnlyTheInterfaceLanguage) {
  QTemporaryDir temp;
  History history(QDir(temp.path()).filePath("history.csv").toStdString());
  TestDlg dlg(player, clock, services, &history);
  std::map<std::string, QStringList> shown;
  const auto keep = [&shown](const char* name) {
    return [&shown, name](TemplateDialog& window) {
      shown[name] = WindowTexts(window);
      return IDOK;
    };
  };
  Run(
      dlg,
      [&](TestDlg& main) {
        shown["main"] = WindowTexts(main, main.toolTips());
        // A don't-know answer reveals the pattern.
        services.PushModalAnswer(keep("answer"));
        qobject_cast<QAbstractButton*>(main.GetDlgItem(IDC_START))->click();
        qobject_cast<QAbstractButton*>(main.GetDlgItem(IDC_DONT_KNOW))->click();
        shown["main after a check"] = WindowTexts(main, main.toolTips());
        services.PushModalAnswer([&](TemplateDialog& exportDialog) {
          shown["export"] = WindowTexts(exportDialog);
          // A frequency the export refuses, to see its message.
          exportDialog.SetDlgItemText(IDC_EXPORT_FREQ, "0");
          qobject_cast<QAbstractButton*>(exportDialog.GetDlgItem(IDC_EXPORT_SAVE))->click();
          return IDOK;
        });
        main.menuAction(ID_FILE_MAKE_WAVE)->trigger();
        services.PushModalAnswer(keep("results"));
        main.menuAction(ID_FILE_RESULTS)->trigger();
        services.PushModalAnswer(keep("about"));
        main.menuAction(ID_HELP_ABOUT)->trigger();
      },
      keep("volume"));
  for (const char* window :
       {"volume", "main", "answer", "main after a check", "export", "results", "about"}) {
    ExpectLanguage(window, shown[window]);
  }
  ASSERT_FALSE(services.ShownMessages().empty());
  for (const auto& message : services.ShownMessages()) {
    ExpectLanguage("message", {message.text, message.caption});
  }
}

// Qt's own texts follow the language: the save dialog's labels and buttons.
TEST(SaveDialog, SpeaksTheInterfaceLanguage) {
  platform::QtServices services;
  platform::SaveFileOptions options;
  options.defaultExtension = "wav";
  options.initialName = "*.wav";
  options.filters = {{res::LoadString(IDS_EXPORT_FILTER_WAVE), "*.wav"}};
  QStringList qtTexts;
  QStringList allTexts;
  QObject scope;
  std::function<void()> whenUp = [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      QTimer::singleShot(10, &scope, whenUp);
      return;
    }
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
      if (auto* label = dialog->findChild<QLabel*>(name)) qtTexts << label->text();
    }
    if (auto* box = dialog->findChild<QDialogButtonBox*>()) {
      for (QAbstractButton* button : box->buttons()) qtTexts << button->text();
    }
    allTexts = WindowTexts(*dialog);
    dialog->reject();
  };
  QTimer::singleShot(0, &scope, whenUp);
  QWidget owner;
  EXPECT_FALSE(services.GetSaveFileName(&owner, options));
  ASSERT_EQ(qtTexts.size(), 5) << qtTexts.join(" | ").toStdString();
  if (ExpectedLanguage() == "ja") {
    for (const QString& text : qtTexts) EXPECT_TRUE(HasJapanese(text)) << text.toStdString();
  }
  ExpectLanguage("save dialog", allTexts);
}

}  // namespace
}  // namespace kelvora::uitest
