#pragma once

// The main window as the real-server tests drive it: commands sent as a
// click or a menu would, and pauses that take no time (the sounds take
// theirs).

#include "ui/dialog_session_window.h"
#include "ui/kelvora_dlg.h"

namespace kelvora::pulsetest {

class MainDlg : public CKelvoraDlg {
 public:
  using CKelvoraDlg::CKelvoraDlg;
  using CKelvoraDlg::OnCommand;
};

class InstantClock : public SessionClock {
 public:
  void Sleep(int) override {}
};

}  // namespace kelvora::pulsetest
