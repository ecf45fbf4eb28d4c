// kelvora-screenshots [--language ja|en] DIR: renders every window of the
// program to PNG files in DIR (main.png, volume.png, answer.png, export.png,
// about.png, results.png) on the offscreen platform, with a silent player and a clock that
// does not wait; in the given language, else in the desktop's.
// The main window shows a short session: two right answers and a wrong one.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <string>

#include "check/session_probe.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/services.h"
#include "platform/qt/template_dialog.h"
#include "res/language.h"
#include "res/resource.h"
#include "results/history.h"
#include "sound/player.h"
#include "ui/application.h"
#include "ui/kelvora_dlg.h"

namespace {

using kelvora::platform::TemplateDialog;

class SilentPlayer : public kelvora::WavePlayer {
 public:
  kelvora::PlayOutcome Play(std::span<const std::uint8_t>) override {
    return kelvora::PlayOutcome::Played;
  }
};

class FixedClock : public kelvora::SessionClock {
 public:
  void Sleep(int) override {}
  // Any fixed second gives the same patterns every time.
  std::time_t Now() override { return 1700000000; }
};

// Every modal run is answered by the next queued step instead of a user; the
// window is up, focused as the user would find it, while the step runs.
class ScriptedServices : public kelvora::platform::QtServices {
 public:
  using Step = std::function<int(TemplateDialog&)>;
  void Push(Step step) { m_steps.push_back(std::move(step)); }

  void RunModal(TemplateDialog& dialog, bool focusFirstTabStop) override {
    if (dialog.isEnded() || m_steps.empty()) {
      dialog.EndDialog(kelvora::IDCANCEL);
      return;
    }
    const Step step = std::move(m_steps.front());
    m_steps.pop_front();
    dialog.ShowActiveNow(focusFirstTabStop);
    dialog.EndDialog(step(dialog));
  }

 private:
  std::deque<Step> m_steps;
};

bool g_ok = true;

void Save(QWidget& window, const QDir& folder, const char* name) {
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (!window.grab().save(path, "PNG")) {
    std::fprintf(stderr, "kelvora-screenshots: cannot write %s\n", qPrintable(path));
    g_ok = false;
  }
}

// Presses a button of the main dialog as a click would.
void Click(TemplateDialog& dialog, int id) {
  if (auto* button = qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))) button->click();
}

// The locale of a language as the desktop would set it; the interface
// language follows from it as in the program.
const char* LocaleOf(const char* code) {
  const kelvora::res::Language* language = kelvora::res::FindLanguage(code);
  return language ? language->locale : nullptr;
}

// "ja|en": the languages the tool takes.
std::string LanguageCodes() {
  std::string codes;
  for (const kelvora::res::Language& language : kelvora::res::Languages()) {
    if (!codes.empty()) codes += '|';
    codes += language.code;
  }
  return codes;
}

}  // namespace

int main(int argc, char** argv) {
  const char* locale = nullptr;
  if (argc == 4 && std::strcmp(argv[1], "--language") == 0) locale = LocaleOf(argv[2]);
  if (argc != 2 && !locale) {
    std::fprintf(stderr, "usage: kelvora-screenshots [--language %s] DIR\n",
                 LanguageCodes().c_str());
    return 2;
  }
  const char* folderName = argv[argc - 1];
  if (locale) {
    qputenv("LC_ALL", locale);
    qputenv("LANGUAGE", argv[2]);
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::KelvoraApplication app(argc, argv);

  const QDir folder(QString::fromLocal8Bit(folderName));
  if (!QDir().mkpath(folder.path())) {
    std::fprintf(stderr, "kelvora-screenshots: cannot create %s\n", folderName);
    return 1;
  }

  ScriptedServices services;
  services.Push([&](TemplateDialog& volume) {
    Save(volume, folder, "volume.png");
    return kelvora::IDOK;
  });
  services.Push([&](TemplateDialog& dialog) {
    auto& main = static_cast<kelvora::CKelvoraDlg&>(dialog);
    for (int check = 0; check < 3; ++check) {
      Click(main, kelvora::IDC_START);
      const int right =
          kelvora::IDC_ANSWER1 + kelvora::SessionProbe(main.session()).answerCount - 1;
      if (check < 2) {
        Click(main, right);
      } else {
        services.Push([&](TemplateDialog& answer) {
          Save(answer, folder, "answer.png");
          return kelvora::IDOK;
        });
        Click(main, kelvora::IDC_DONT_KNOW);
      }
    }
    Save(main, folder, "main.png");

    services.Push([&](TemplateDialog& exportDialog) {
      Save(exportDialog, folder, "export.png");
      return kelvora::IDOK;
    });
    main.menuAction(kelvora::ID_FILE_MAKE_WAVE)->trigger();
    services.Push([&](TemplateDialog& about) {
      Save(about, folder, "about.png");
      return kelvora::IDOK;
    });
    main.menuAction(kelvora::ID_HELP_ABOUT)->trigger();
    services.Push([&](TemplateDialog& results) {
      Save(results, folder, "results.png");
      return kelvora::IDOK;
    });
    main.menuAction(kelvora::ID_FILE_RESULTS)->trigger();
    return kelvora::IDOK;
  });

  SilentPlayer player;
  FixedClock clock;
  // The session's checks go to a history of its own, which the results window shows.
  const QTemporaryDir historyFolder;
  kelvora::History history(QDir(historyFolder.path()).filePath("history.csv").toStdString());
  kelvora::CKelvoraDlg dlg(player, clock, services, &history);
  dlg.DoModal();
  return g_ok ? 0 : 1;
}
