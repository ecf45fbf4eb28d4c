#pragma once

// A modal dialog built from a DialogTemplate, with the life cycle of the
// original platform's dialogs: DoModal builds the controls, calls
// OnInitDialog, runs until EndDialog, then calls OnDestroy.
//
//   class MyDialog : public platform::TemplateDialog {
//    public:
//     explicit MyDialog(platform::Services& services)
//         : TemplateDialog(res::kVolumeTemplate, services) {}
//    protected:
//     bool OnInitDialog() override { GetDlgItem(1018)->...; return true; }
//     void OnCommand(int id) override {
//       if (id == IDC_PLAY_SAMPLE) { ...; return; }
//       TemplateDialog::OnCommand(id);  // 1 and 2 end the dialog
//     }
//   };
//   MyDialog dlg(services); dlg.DoModal();
//
// Layout: an optional menu bar (SetMenuBar) on top, below it client(), a
// widget of exactly the template's size in pixels; every control is a child
// of client() at its template position, so drawing coordinates count from
// client()'s top-left corner.

#include <QDialog>
#include <map>
#include <memory>
#include <span>

#include "platform/qt/accelerators.h"
#include "platform/qt/dialog_template.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/window_gone.h"

class QMenuBar;

namespace kelvora::platform {

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

class Services;

class TemplateDialog : public QDialog {
  Q_OBJECT

 public:
  // The template must outlive the dialog (the resource tables are static),
  // and so must `services`, which runs the dialog and whatever it shows.
  TemplateDialog(const DialogTemplate& dialogTemplate, Services& services,
                 QWidget* parent = nullptr);
  ~TemplateDialog() override;

  // Initialises the dialog and has the services run it modally; returns the
  // id passed to EndDialog (1 OK, 2 Cancel, ...).
  int DoModal();

  // Ends the modal run with `result`. Safe to call from OnInitDialog, from a
  // command handler or from a test answer.
  void EndDialog(int result);

  // A queued close request (the platform's posted WM_CLOSE): ends the dialog
  // as Cancel as soon as the modal loop runs, before any user input. Posted
  // during OnInitDialog, the dialog is never shown.
  void PostClose();

  // The control with this id, or nullptr. Controls exist from construction on.
  QWidget* GetDlgItem(int id) const;

  // Sets the text of a control (button caption, edit contents, label text,
  // group box title) or, for id 0, the window title. UTF-8 or QString.
  void SetDlgItemText(int id, const QString& text);
  QString GetDlgItemText(int id) const;
  void EnableDlgItem(int id, bool enabled);

  // The widget that holds the controls; its size is the template's in pixels.
  QWidget* client() const { return m_client; }

  // Places a menu bar above the client area (the dialog takes ownership).
  void SetMenuBar(QMenuBar* menuBar);

  // Puts the focus on the first enabled, visible tab stop, selecting an edit
  // field's text; what a run does when OnInitDialog returned true.
  void FocusFirstTabStop();

  // Shows the dialog and makes it the active window at once, without a
  // modal loop: for runs that script the user (tests, the screenshot tool).
  void ShowActiveNow(bool focusFirstTabStop);

  // Consults `table` for every key press addressed to this dialog or one of
  // its controls before the dialog's own keyboard handling; a match is
  // delivered to OnCommand even if the button with that id is disabled.
  void SetAccelerators(std::span<const Accelerator> table);

  const DialogTemplate& dialogTemplate() const { return m_template; }
  DialogBaseUnits baseUnits() const { return m_base; }
  bool isEnded() const { return m_ended; }
  int endResult() const { return m_result; }

 protected:
  // What this dialog asks of the desktop; hand it on to the dialogs it opens.
  Services& services() const { return m_services; }

  // Called once the controls exist, before the dialog is shown. Return true
  // to put the focus on the first tab-stop control; false if you set it.
  virtual bool OnInitDialog() { return true; }

  // A button click, an accelerator or a menu item, by id. The default ends
  // the dialog for 1 (OK) and 2 (Cancel) and ignores everything else.
  virtual void OnCommand(int id);

  // Called once when the modal run has ended (the window's destruction).
  virtual void OnDestroy() {}

  // Esc and the close box arrive here as Cancel.
  void reject() override;
  void accept() override;
  void closeEvent(QCloseEvent* event) override;
  // Enter with no default button means OK, as on the platform.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Build();
  QWidget* CreateControl(const ControlTemplate& control);

  const DialogTemplate& m_template;
  Services& m_services;
  DialogBaseUnits m_base{};
  QWidget* m_client = nullptr;
  QMenuBar* m_menuBar = nullptr;
  std::map<int, QWidget*> m_controls;
  std::unique_ptr<AcceleratorFilter> m_accelerators;
  // A window destroyed by another program closes like the close box.
  WindowGoneFilter m_windowGone{this, [this] { reject(); }};
  bool m_ended = false;
  bool m_closePending = false;
  int m_result = kIdCancel;
};

}  // namespace kelvora::platform
