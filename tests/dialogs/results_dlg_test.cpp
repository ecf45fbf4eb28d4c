// The results window: its pictures saved as PNG with the marks where the
// staircase model puts them, the copy of the history file, and its note when
// the history could not be kept.

#include "dialogs/results_dlg.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QtGlobal>
#include <cerrno>
#include <functional>
#include <set>
#include <vector>

#include "dialogs/error_text.h"
#include "platform/qt/remembered_settings.h"
#include "res/resource.h"
#include "results/results_pictures.h"
#include "tests/support/test_services.h"

namespace kelvora {
namespace {

using platform::TemplateDialog;

const QDate kToday(2026, 12, 9);

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
  platform::MemoryRememberedSettings settings;
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
  CResultsDlg dlg(history, services, settings, kToday);
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
    const QPoint at =
        results::StaircasePosition(top, model, ResultsPictureTexts(), p.check, p.frequencyHz)
            .toPoint();
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
  CResultsDlg dlg(history, services, settings, kToday);
  services.PushModalAnswer([](TemplateDialog& d) {
    Click(d, IDC_RESULTS_SAVE_CSV);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_TRUE(d.isEnded());
    return IDOK;
  });
  dlg.DoModal();
  // The history file's lines behind the UTF-8 byte-order mark (EF BB BF).
  EXPECT_EQ(ReadAll(csv), "\xEF\xBB\xBF" + ReadAll(QString::fromStdString(history.path())));
  EXPECT_FALSE(ReadAll(history.path().c_str()).isEmpty());
  EXPECT_TRUE(services.ShownMessages().empty());
}

TEST_F(ResultsDlgTest, AHistoryThatCouldNotBeKeptIsNamedWithTheReason) {
  QFile(QDir(temp.path()).filePath("plain")).open(QIODevice::WriteOnly);
  History broken(QDir(temp.path()).filePath("plain/kelvora/history.csv").toStdString());
  broken.StartSession();
  HistoryRecord r;
  r.time = "2026-12-08T23:41:22+09:00";
  broken.Record(r);
  CResultsDlg dlg(broken, services, settings, kToday);
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

TEST_F(ResultsDlgTest, TheSavedPictureIsThePictureOnScreen) {
  history.StartSession();
  RecordCheck(15000, 3, true, 15000);
  RecordCheck(15500, 2, false, 15000);
  RecordCheck(15250, 3, true, 15250);
  CResultsDlg dlg(history, services, settings, kToday);
  QImage screen;
  QRect top, bottom;
  services.PushModalAnswer([&](TemplateDialog& d) {
    const auto onDialog = [&d](int id) {
      const QWidget* label = d.GetDlgItem(id);
      return QRect(label->parentWidget()->mapTo(&d, label->pos()), label->size());
    };
    top = onDialog(IDC_RESULTS_STAIRCASE);
    bottom = onDialog(IDC_RESULTS_SESSIONS);
    screen = d.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return IDOK;
  });
  dlg.DoModal();
  const QImage saved = dlg.RenderPictures(1).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(saved.size(),
            QSize(std::max(top.width(), bottom.width()), top.height() + bottom.height()));
  EXPECT_EQ(saved.copy(QRect(QPoint(0, 0), top.size())), screen.copy(top));
  EXPECT_EQ(saved.copy(QRect(QPoint(0, top.height()), bottom.size())), screen.copy(bottom));
}

QString NoteOf(const History& history, testing::TestServices& services) {
  platform::MemoryRememberedSettings settings;
  CResultsDlg dlg(history, services, settings, kToday);
  QString note;
  services.PushModalAnswer([&note](TemplateDialog& d) {
    note = d.GetDlgItemText(IDC_RESULTS_NOTE);
    return IDOK;
  });
  dlg.DoModal();
  return note;
}

TEST_F(ResultsDlgTest, TheNoteCountsUnreadableLinesAndWordsWhyTheFileCannotBeRead) {
  const QString folder = temp.path();
  struct Case {
    const char* name;
    std::function<QString()> make;  // the history's path
    QString expected;
  };
  const Case cases[] = {
      {"three damaged lines",
       [&] {
         const QString path = QDir(folder).filePath("damaged.csv");
         QFile file(path);
         file.open(QIODevice::WriteOnly);
         file.write(
             "2026-12-08T23:41:22+09:00,7,both,25000,3,?,0,,,30\r\n"
             "2026-12-08T23:41:22+09:00,7,both,8000,3,?,0,,nan,30\r\n"
             "2026-12-08T23:41:22+09:00,7,both,8000,3,?,0,,,30\r\n"
             "2026-12-08T23:4");
         return path;
       },
       QStringLiteral("読めない行: 3")},
      {"a named pipe",
       [&] {
         const QString path = QDir(folder).filePath("pipe.csv");
         mkfifo(QFile::encodeName(path).constData(), 0600);
         return path;
       },
       QStringLiteral("記録ファイルを読めませんでした（通常のファイルではありません）。")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const History file(c.make().toStdString());
    const QString note = NoteOf(file, services);
    EXPECT_TRUE(note.contains(c.expected)) << note.toStdString();
  }
}

TEST_F(ResultsDlgTest, CsvSaveWritesWhatTheWindowShowsOrNamesTheFileAndTheReason) {
  const QString folder = temp.path();
  QDir(folder).mkpath(QStringLiteral("history-is-a-folder.csv"));
  QDir(folder).mkpath(QStringLiteral("target-is-a-folder.csv"));
  struct Case {
    const char* name;
    QString historyPath;
    bool check;       // this session has a check in memory
    QString target;   // empty: no save dialog expected
    QString message;  // empty: saved without a word
  };
  const QString saved = QDir(folder).filePath("copy.csv");
  const Case cases[] = {
      {"the history is a folder, this session's check in memory",
       QDir(folder).filePath("history-is-a-folder.csv"),
       true,
       saved,
       {}},
      {"nothing in the file or in memory",
       QDir(folder).filePath("none.csv"),
       false,
       {},
       QStringLiteral("保存する検査結果がありません。")},
      {"into a folder that is not there", QDir(folder).filePath("kept.csv"), true,
       QDir(folder).filePath("missing/copy.csv"),
       QStringLiteral("ファイルを書き込み用にオープン出来ません。\r\n%1\r\n"
                      "（ファイルまたはフォルダがありません）")
           .arg(QDir(folder).filePath("missing/copy.csv"))},
      {"onto a folder", QDir(folder).filePath("kept.csv"), true,
       QDir(folder).filePath("target-is-a-folder.csv"),
       QStringLiteral("ファイルを書き込み用にオープン出来ません。\r\n%1\r\n"
                      "（通常のファイルではありません）")
           .arg(QDir(folder).filePath("target-is-a-folder.csv"))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TestServices fresh;
    History h(c.historyPath.toStdString());
    h.StartSession();
    if (c.check) {
      HistoryRecord r;
      r.time = "2026-12-08T23:41:22+09:00";
      r.frequencyHz = 8000;
      r.bursts = 3;
      r.answer = 3;
      r.correct = true;
      r.recordHz = 8000;
      r.volumePercent = 30;
      h.Record(r);
    }
    if (!c.target.isEmpty()) fresh.PushSaveFileAnswer(c.target);
    CResultsDlg dlg(h, fresh, settings, kToday);
    fresh.PushModalAnswer([](TemplateDialog& d) {
      Click(d, IDC_RESULTS_SAVE_CSV);
      return IDOK;
    });
    dlg.DoModal();
    EXPECT_EQ(fresh.SaveFileRequests().size(), c.target.isEmpty() ? 0u : 1u);
    if (c.message.isEmpty()) {
      EXPECT_TRUE(fresh.ShownMessages().empty());
      const std::vector<HistoryRecord> copy = ParseHistory(ReadAll(c.target).toStdString());
      ASSERT_EQ(copy.size(), 1u);
      EXPECT_EQ(copy[0].frequencyHz, 8000);
    } else {
      ASSERT_EQ(fresh.ShownMessages().size(), 1u);
      EXPECT_EQ(fresh.ShownMessages()[0].text, c.message);
    }
  }
}

// An environment variable set for one scope, as it was before afterwards.
class EnvironmentScope {
 public:
  EnvironmentScope(const char* name, const QByteArray& value)
      : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
    qputenv(name, value);
  }
  ~EnvironmentScope() {
    if (m_had) {
      qputenv(m_name, m_old);
    } else {
      qunsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  bool m_had;
  QByteArray m_old;
};

// The saves start where the user keeps such files, never in the program's
// working folder, which an installed program's user cannot write to.
TEST_F(ResultsDlgTest, SavesStartInTheUsersFolderOrTheLastOneThatTookTheFileAndNameTheDay) {
  struct Case {
    const char* name;
    int button;
    const char* kind;      // the remembered folder's kind
    const char* standard;  // the user's folder of the kind, under HOME
    bool standardExists;
    const char* remembered;  // under the case's folder; null for nothing remembered
    bool rememberedExists;
    const char* startsIn;  // "standard", "remembered" or "home"
    bool writeSucceeds;
  };
  const Case cases[] = {
      {"picture, first save", IDC_RESULTS_SAVE_PNG, "png", "Pictures", true, nullptr, false,
       "standard", true},
      {"CSV, first save", IDC_RESULTS_SAVE_CSV, "csv", "Documents", true, nullptr, false,
       "standard", true},
      {"picture, no Pictures folder", IDC_RESULTS_SAVE_PNG, "png", "Pictures", false, nullptr,
       false, "home", true},
      {"CSV, the last folder", IDC_RESULTS_SAVE_CSV, "csv", "Documents", true, "last", true,
       "remembered", true},
      {"picture, the last folder is gone", IDC_RESULTS_SAVE_PNG, "png", "Pictures", true, "gone",
       false, "standard", true},
      {"CSV, a folder that refused the file", IDC_RESULTS_SAVE_CSV, "csv", "Documents", true,
       "last", true, "remembered", false},
  };
  history.StartSession();
  RecordCheck(8000, 3, true, 8000);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QDir base(QDir(temp.path()).filePath(QString::fromUtf8(c.name)));
    const QString home = base.filePath("home");
    ASSERT_TRUE(QDir().mkpath(home));
    const QString standard = QDir(home).filePath(QString::fromUtf8(c.standard));
    if (c.standardExists) {
      ASSERT_TRUE(QDir().mkpath(standard));
    }
    const QString remembered = c.remembered ? base.filePath(c.remembered) : QString();
    if (c.rememberedExists) {
      ASSERT_TRUE(QDir().mkpath(remembered));
    }
    const EnvironmentScope homeScope("HOME", QFile::encodeName(home));
    const EnvironmentScope configScope("XDG_CONFIG_HOME", QFile::encodeName(base.filePath("cfg")));
    const std::string key = platform::LastFolderKey(c.kind).toStdString();
    const std::string otherKey =
        platform::LastFolderKey(std::string_view(c.kind) == "png" ? "csv" : "png").toStdString();
    const QString ini = base.filePath("settings.ini");
    {
      platform::QtRememberedSettings before(ini);
      if (c.remembered) before.SetValue(key, remembered);
      before.SetValue(otherKey, QStringLiteral("/elsewhere"));
    }
    const QString chosen = base.filePath("chosen");
    ASSERT_TRUE(QDir().mkpath(chosen));
    const QString target = QDir(c.writeSucceeds ? chosen : base.filePath("missing"))
                               .filePath(QStringLiteral("saved.") + c.kind);

    testing::TestServices fresh;
    fresh.PushSaveFileAnswer(target);
    platform::QtRememberedSettings kept(ini);
    CResultsDlg dlg(history, fresh, kept, kToday);
    fresh.PushModalAnswer([&c](TemplateDialog& d) {
      Click(d, c.button);
      return IDOK;
    });
    dlg.DoModal();
    ASSERT_EQ(fresh.SaveFileRequests().size(), 1u);
    const platform::SaveFileOptions& asked = fresh.SaveFileRequests()[0];
    const std::string_view startsIn = c.startsIn;
    EXPECT_EQ(asked.initialFolder, startsIn == "standard"     ? standard
                                   : startsIn == "remembered" ? remembered
                                                              : home);
    EXPECT_EQ(asked.initialName, QStringLiteral("kelvora-2026-12-09.") + c.kind);
    EXPECT_EQ(fresh.ShownMessages().size(), c.writeSucceeds ? 0u : 1u);

    const platform::QtRememberedSettings after(ini);
    EXPECT_EQ(after.Value(key), c.writeSucceeds ? chosen : remembered);
    EXPECT_EQ(after.Value(otherKey), QStringLiteral("/elsewhere")) << "each kind its own folder";
  }
}

// Sessions of another listener or output are not drawn beside the current
// ones unless asked for; the staircase's title says whose session it is.
TEST_F(ResultsDlgTest, TheSessionsPictureShowsTheCurrentListenerOnTheCurrentOutputUnlessAsked) {
  const struct {
    const char* listener;
    const char* output;
    int hz;
  } sessions[] = {
      {"Alex", "Headphones", 16000}, {"Alex", "Laptop, speakers", 12000},
      {"Kim", "Headphones", 18000},  {"", "", 15000},  // a line of an earlier version
      {"Alex", "Headphones", 16500},
  };
  for (const auto& s : sessions) {
    history.StartSession();
    history.SetListener(s.listener);
    history.SetOutput(s.output);
    RecordCheck(s.hz, 3, true, s.hz);
  }
  history.StartSession();  // the current session has no check yet
  const struct {
    const char* listener;  // the combo boxes' texts; null: as the window opened
    const char* output;
    std::vector<int> records;
  } choices[] = {
      {nullptr, nullptr, {16000, 16500}},
      {"すべて", nullptr, {16000, 18000, 16500}},
      {"Alex", "すべて", {16000, 12000, 16500}},
      {"（名前なし）", "（不明）", {15000}},
      {"すべて", "すべて", {16000, 12000, 18000, 15000, 16500}},
  };
  CResultsDlg dlg(history, services, settings, kToday);
  services.PushModalAnswer([&](TemplateDialog& d) {
    const QList<QComboBox*> boxes = d.findChildren<QComboBox*>();
    EXPECT_EQ(boxes.size(), 2);
    if (boxes.size() != 2) return IDOK;
    for (const auto& choice : choices) {
      SCOPED_TRACE(choice.listener ? choice.listener : "at first");
      if (choice.listener) boxes[0]->setCurrentText(QString::fromUtf8(choice.listener));
      if (choice.output) boxes[1]->setCurrentText(QString::fromUtf8(choice.output));
      std::vector<int> records;
      for (const SessionPoint& point : dlg.sessions()) records.push_back(point.recordHz);
      EXPECT_EQ(records, choice.records);
    }
    return IDOK;
  });
  dlg.DoModal();
  EXPECT_EQ(dlg.staircaseTitle(), QString::fromUtf8("今回の検査の経過（Alex、Headphones）"));
}

// Each word of the pictures is read from a string of its own: a word left
// out of the table, or two words from one string, would show wrong.
TEST(PictureTexts, EveryWordComesFromAStringOfItsOwn) {
  std::vector<int> asked;
  const results::PictureTexts t = LoadPictureTexts([&asked](int id) {
    asked.push_back(id);
    return QString::number(id);
  });
  const QString words[] = {
      t.staircaseTitle, t.sessionsTitle, t.noChecks, t.noSessions, t.hz,
      t.recordLine,     t.right,         t.wrong,    t.confirming, t.levelConfirmed,
      t.levelFailed,    t.bothEars,      t.leftEar,  t.rightEar,   t.record,
      t.confirmed};
  std::set<QString> distinct;
  for (const QString& word : words) {
    EXPECT_FALSE(word.isEmpty());
    distinct.insert(word);
  }
  EXPECT_EQ(distinct.size(), std::size(words));
  EXPECT_EQ(asked.size(), std::size(words));
  EXPECT_EQ(t.recordLine, QString::number(IDS_PICTURE_RECORD_LINE));
}

TEST(SystemErrorText, CommonErrorsInTheWindowsLanguageTheRestAsTheSystemSaysThem) {
  struct Case {
    int error;
    const char* text;
  };
  const Case cases[] = {
      {ENOSPC, "ディスクの空き容量がありません"},     {EACCES, "アクセスが許可されていません"},
      {EPERM, "アクセスが許可されていません"},        {EROFS, "読み取り専用のファイルシステムです"},
      {ENOENT, "ファイルまたはフォルダがありません"}, {EIO, "Input/output error"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    EXPECT_EQ(SystemErrorText(c.error), QString::fromUtf8(c.text));
  }
  EXPECT_EQ(HistoryErrorText({HistoryFault::NotRegularFile, 0}), "通常のファイルではありません");
}

}  // namespace
}  // namespace kelvora
