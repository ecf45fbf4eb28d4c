// The services that users get, on the xcb platform of an Xvfb of the test's
// own (tests/support/run-on-xvfb): modal run, message box, save dialog and
// opener, driven the way a user would from inside their modal runs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/qt/services.h"
#include "platform/qt/template_dialog.h"

namespace kelvora::platform {
namespace {

class QtServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run through tests/support/run-on-xvfb";
  }

  // Calls `act` on the modal widget of type T as soon as one is up, from the
  // event loop of its own modal run. A T that never comes is a failure, not
  // a hang: the wait ends after 10 s, or with the test.
  template <typename T>
  void WhenModal(std::function<void(T&)> act, QDeadlineTimer deadline = QDeadlineTimer(10000),
                 int delay = 0) {
    QTimer::singleShot(delay, &scope, [this, act, deadline] {
      if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget())) {
        act(*widget);
      } else if (deadline.hasExpired()) {
        ADD_FAILURE() << "no modal " << T::staticMetaObject.className();
      } else {
        WhenModal<T>(act, deadline, 10);
      }
    });
  }

  QtServices services;
  QObject scope;
};

// Clicks a button of `box`, or closes it if it has none such.
void Press(QMessageBox& box, QMessageBox::StandardButton which) {
  if (QAbstractButton* button = box.button(which)) {
    button->click();
  } else {
    box.reject();
  }
}

TEST_F(QtServicesTest, MessageBoxShowsTextWithLineBreaksCaptionStopIconAndOnlyOk) {
  QWidget owner;
  bool seen = false;
  WhenModal<QMessageBox>([&](QMessageBox& box) {
    seen = true;
    EXPECT_EQ(box.text(), "一行目\n二行目");
    EXPECT_EQ(box.windowTitle(), "Kelvora ver 1.000");
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box.parentWidget(), &owner);
    Press(box, QMessageBox::Ok);
  });
  EXPECT_EQ(services.MessageBox(&owner, "一行目\r\n二行目", "Kelvora ver 1.000", MessageIcon::Stop),
            1);
  EXPECT_TRUE(seen);
}

// An addition: the sound-path warning carries the warning icon.
TEST_F(QtServicesTest, AnExclamationMessageBoxShowsTheWarningIcon) {
  QWidget owner;
  QMessageBox::Icon shown = QMessageBox::NoIcon;
  WhenModal<QMessageBox>([&](QMessageBox& box) {
    shown = box.icon();
    Press(box, QMessageBox::Ok);
  });
  services.MessageBox(&owner, "注意", "Kelvora ver 1.000", MessageIcon::Exclamation);
  EXPECT_EQ(shown, QMessageBox::Warning);
}

// What the export dialog asks for.
SaveFileOptions WaveFileOptions() {
  SaveFileOptions options;
  options.defaultExtension = "wav";
  options.initialName = "*.wav";
  options.filters = {{"WAVEファイル (PCM, mono, 16 bits, 48 kHz, 2 sec) ", "*.wav"},
                     {"全てのファイル (*.*) ", "*.*"}};
  return options;
}

// The controls of a file dialog a user works with; null if one is missing.
struct FileDialogControls {
  explicit FileDialogControls(QFileDialog& dialog)
      : types(dialog.findChild<QComboBox*>("fileTypeCombo")),
        name(dialog.findChild<QLineEdit*>("fileNameEdit")),
        list(dialog.findChild<QFileSystemModel*>()) {
    if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
      for (QAbstractButton* button : box->buttons()) {
        if (box->buttonRole(button) == QDialogButtonBox::AcceptRole) save = button;
      }
    }
  }
  void TypeName(const QString& text) const {
    name->clear();
    QTest::keyClicks(name, text);
  }

  QComboBox* types;
  QLineEdit* name;
  QFileSystemModel* list;
  QAbstractButton* save = nullptr;
};

// `act` on the next file dialog, if it is Qt's own.
std::function<void(QFileDialog&)> WithControls(
    std::function<void(QFileDialog&, const FileDialogControls&)> act) {
  return [act](QFileDialog& dialog) {
    const FileDialogControls controls(dialog);
    if (controls.types && controls.name && controls.list && controls.save) {
      act(dialog, controls);
    } else {
      ADD_FAILURE() << "not Qt's own file dialog";
    }
    if (dialog.isVisible()) dialog.reject();
  };
}

TEST_F(QtServicesTest, SaveDialogShowsEachFilterOnceStartsAtThePatternAndAddsTheExtension) {
  QTemporaryDir dir;
  bool seen = false;
  WhenModal<QFileDialog>(WithControls([&](QFileDialog& dialog, const FileDialogControls& controls) {
    seen = true;
    QStringList shown;
    for (int i = 0; i < controls.types->count(); ++i) shown << controls.types->itemText(i);
    EXPECT_EQ(shown, QStringList({"WAVEファイル (PCM, mono, 16 bits, 48 kHz, 2 sec)",
                                  "全てのファイル (*.*)"}));
    EXPECT_EQ(controls.name->text(), "*.wav");
    EXPECT_EQ(controls.list->nameFilters(), QStringList{"*.wav"});
    QTest::keyClick(controls.types, Qt::Key_Down);
    EXPECT_EQ(controls.list->nameFilters(), QStringList{"*.*"});
    QTest::keyClick(controls.types, Qt::Key_Up);
    EXPECT_EQ(controls.list->nameFilters(), QStringList{"*.wav"});

    controls.save->click();
    EXPECT_TRUE(dialog.isVisible()) << "a pattern names no file";

    dialog.setDirectory(dir.path());
    controls.TypeName("tone");
    controls.save->click();
  }));
  EXPECT_EQ(services.GetSaveFileName(nullptr, WaveFileOptions()), dir.filePath("tone.wav"));
  EXPECT_TRUE(seen);
}

TEST_F(QtServicesTest, SaveDialogAsksBeforeReplacingAnExistingFile) {
  QTemporaryDir dir;
  QFile old(dir.filePath("old.wav"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.close();
  QStringList prompts;
  WhenModal<QFileDialog>(WithControls([&](QFileDialog& dialog, const FileDialogControls& controls) {
    dialog.setDirectory(dir.path());
    controls.TypeName("old.wav");
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
      WhenModal<QMessageBox>([&prompts, answer](QMessageBox& prompt) {
        prompts << prompt.text();
        Press(prompt, answer);
      });
      controls.save->click();
      EXPECT_EQ(dialog.isVisible(), answer == QMessageBox::No);
    }
  }));
  EXPECT_EQ(services.GetSaveFileName(nullptr, WaveFileOptions()), dir.filePath("old.wav"));
  ASSERT_EQ(prompts.size(), 2);
  EXPECT_TRUE(prompts[0].contains("old.wav")) << prompts[0].toStdString();
}

// A save with a folder of its own opens there with its name proposed, even
// after the dialog has been in another folder of this run.
TEST_F(QtServicesTest, SaveDialogOpensInTheGivenFolderWithTheProposedName) {
  QTemporaryDir pictures, documents;
  struct Case {
    QString folder;
    const char* extension;
  };
  const Case cases[] = {{pictures.path(), "png"}, {documents.path(), "csv"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extension);
    SaveFileOptions options;
    options.defaultExtension = c.extension;
    options.initialName = QStringLiteral("kelvora-2026-12-09.") + c.extension;
    options.initialFolder = c.folder;
    QString opened, shown;
    WhenModal<QFileDialog>(
        WithControls([&](QFileDialog& dialog, const FileDialogControls& controls) {
          opened = dialog.directory().absolutePath();
          shown = controls.name->text();
          controls.save->click();
        }));
    EXPECT_EQ(services.GetSaveFileName(nullptr, options),
              QDir(c.folder).filePath(options.initialName));
    EXPECT_EQ(QDir(opened).canonicalPath(), QDir(c.folder).canonicalPath());
    EXPECT_EQ(shown, options.initialName);
  }
}

const ControlTemplate kControls[] = {
    {1021, ControlKind::Edit, 38, 9, 40, 15, "440.0", ControlStyle::TabStop},
    {kIdOk, ControlKind::PushButton, 119, 77, 61, 18, "終了(&X)", ControlStyle::TabStop},
    {kIdCancel, ControlKind::PushButton, 7, 81, 50, 14, "ｷｬﾝｾﾙ",
     ControlStyle::Hidden | ControlStyle::TabStop},
};
const DialogTemplate kTemplate = {143, "テスト", 187, 102, DialogStyle::SystemMenu, kControls};

class ClosingDialog : public TemplateDialog {
 public:
  ClosingDialog(Services& services, bool closeDuringInit)
      : TemplateDialog(kTemplate, services), m_closeDuringInit(closeDuringInit) {}

 protected:
  bool OnInitDialog() override {
    if (m_closeDuringInit) PostClose();
    return true;
  }

 private:
  bool m_closeDuringInit;
};

TEST_F(QtServicesTest, ModalRunFocusesTheFirstTabStopAndNeverShowsADialogClosedDuringInit) {
  ClosingDialog dialog(services, false);
  bool seen = false;
  WhenModal<TemplateDialog>([&](TemplateDialog& shown) {
    seen = &shown == &dialog;
    EXPECT_EQ(shown.focusWidget(), shown.GetDlgItem(1021));
    EXPECT_EQ(qobject_cast<QLineEdit*>(shown.GetDlgItem(1021))->selectedText(), "440.0");
    QTest::keyClick(&shown, Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
  EXPECT_TRUE(seen);
  EXPECT_FALSE(dialog.isVisible());

  ClosingDialog closing(services, true);
  bool shownAnyway = false;
  QTimer::singleShot(0, &scope, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      shownAnyway = true;
      modal->hide();
    }
  });
  EXPECT_EQ(closing.DoModal(), kIdCancel);
  QCoreApplication::processEvents();
  EXPECT_FALSE(shownAnyway);
}

class UrlRecorder : public QObject {
  Q_OBJECT

 public slots:
  void Open(const QUrl& url) { urls << url; }

 public:
  QList<QUrl> urls;
};

TEST_F(QtServicesTest, OpenerHandsFilesAndAddressesToTheDesktopButNoMissingFile) {
  QTemporaryDir dir;
  QFile page(dir.filePath("page.html"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.close();
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  const QUrl pageUrl = QUrl::fromLocalFile(QDir::current().filePath("page.html"));
  UrlRecorder desktop;
  QDesktopServices::setUrlHandler("file", &desktop, "Open");
  QDesktopServices::setUrlHandler("https", &desktop, "Open");
  const struct {
    const char* request;
    bool opened;
  } cases[] = {{".\\page.html", true}, {"missing.html", false}, {"https://kelvora.example/", true}};
  for (const auto& c : cases) {
    EXPECT_EQ(services.OpenWithDefaultHandler(c.request), c.opened) << c.request;
  }
  QDesktopServices::unsetUrlHandler("file");
  QDesktopServices::unsetUrlHandler("https");
  EXPECT_EQ(desktop.urls, (QList<QUrl>{pageUrl, QUrl("https://kelvora.example/")}));

  // A desktop with neither xdg-open nor a browser on its path takes nothing.
  const QByteArray path = qgetenv("PATH");
  const QByteArray browser = qgetenv("BROWSER");
  qputenv("PATH", dir.path().toLocal8Bit());
  qunsetenv("BROWSER");
  EXPECT_FALSE(services.OpenWithDefaultHandler(".\\page.html"));
  qputenv("PATH", path);
  if (!browser.isNull()) qputenv("BROWSER", browser);
  QDir::setCurrent(before);
}

}  // namespace
}  // namespace kelvora::platform

#include "qt_services_test.moc"
