// Kelvora: a hearing test that finds the highest tone the listener can hear.

#include <QApplication>
#include <clocale>

#include "app/early_started_player.h"
#include "platform/qt/dialog_units.h"
#include "ui/kelvora_dlg.h"

int main(int argc, char** argv) {
  // Before anything else, so that the sound devices are being enumerated
  // while the window system starts.
  kelvora::EarlyStartedPlayer player;

  QApplication app(argc, argv);
  // QApplication hands the user's locale to the C library; no number that the
  // program reads or writes may take a decimal comma from it.
  std::setlocale(LC_NUMERIC, "C");
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kelvora.Kelvora"));
  kelvora::platform::InstallFontSubstitutions();

  kelvora::SessionClock clock;
  kelvora::CKelvoraDlg dlg(player, clock);
  // How the dialog ended makes no difference: the program ends with it.
  dlg.DoModal();
  return 0;
}
