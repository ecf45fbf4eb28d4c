// Kelvora: a hearing test that finds the highest tone the listener can hear.

#include "app/first_paint.h"
#include "app/system_outputs.h"
#include "platform/audio/system_player.h"
#include "platform/qt/remembered_settings.h"
#include "platform/qt/services.h"
#include "ui/application.h"
#include "ui/kelvora_dlg.h"
#include "ui/sound_path_check.h"

int main(int argc, char** argv) {
  kelvora::KelvoraApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kelvora.Kelvora"));

  kelvora::SystemPlayer player;
  kelvora::ServerSoundPathCheck pathCheck(/*held=*/true);
  // The device scan starts once the volume dialog is on screen; a sound asked
  // for before it has finished waits for it. So does the sound-path question,
  // which is wanted only once the volume dialog has closed.
  const kelvora::AfterFirstPaint startSound([&player, &pathCheck] {
    player.StartInBackground();
    pathCheck.Release();
  });

  kelvora::SessionClock clock;
  kelvora::platform::QtServices services;
  kelvora::History history(kelvora::DefaultHistoryPath());
  kelvora::SystemOutputs outputs(player);
  kelvora::platform::QtRememberedSettings settings;
  kelvora::CKelvoraDlg dlg(player, clock, services, &history, &pathCheck, &outputs, &settings);
  dlg.SetLanguage(app.language());
  // How the dialog ended makes no difference: the program ends with it.
  dlg.DoModal();
  return 0;
}
