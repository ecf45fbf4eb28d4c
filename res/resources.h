#pragma once

// The resource tables of the program as data: dialog templates, the main
// menu, the accelerator table, the tooltip texts and the string table.
// Texts are UTF-8 and exactly as a Japanese window shows them; each one in
// Japanese is marked for Qt's translation tools and shown translated in another
// interface language (platform::ResourceText).

#include <QString>
#include <span>

#include "platform/qt/accelerators.h"
#include "platform/qt/dialog_template.h"
#include "platform/qt/menu_template.h"
#include "res/resource.h"

namespace kelvora::res {

// Dialog templates.
extern const platform::DialogTemplate kMainTemplate;      // IDD_MAIN 102
extern const platform::DialogTemplate kVolumeTemplate;    // IDD_VOLUME 129
extern const platform::DialogTemplate kAnswerTemplate;    // IDD_ANSWER 138
extern const platform::DialogTemplate kWaveFileTemplate;  // IDD_WAVEFILE 143
extern const platform::DialogTemplate kAboutTemplate;     // IDD_ABOUTBOX 100
extern const platform::DialogTemplate kResultsTemplate;   // IDD_RESULTS 150
extern const platform::DialogTemplate kListenerTemplate;  // IDD_LISTENER 160
std::span<const platform::DialogTemplate* const> AllDialogTemplates();

// Menu bar of the main dialog (IDR_MAINMENU 137).
extern const platform::MenuTemplate kMainMenu;

// Keys of the main dialog (IDR_ACCEL 144), 22 entries in table order.
std::span<const platform::Accelerator> MainAccelerators();

// Tooltips of the main dialog, in registration order.
struct ToolTipText {
  int control;
  const char* text;  // "\r\n" breaks the line
};
std::span<const ToolTipText> MainToolTips();

// The main dialog's group boxes that the status panel draws into.
struct PanelGroupBoxes {
  const platform::ControlTemplate& frequency;  // and the marks
  const platform::ControlTemplate& record;
  const platform::ControlTemplate& rate;
};
extern const PanelGroupBoxes kPanelGroupBoxes;

// The string table: every entry as the tables hold it, and one entry as the
// window shows it (in the interface language); an unknown id gives an empty string.
struct StringEntry {
  int id;
  const char* text;
};
std::span<const StringEntry> StringTable();
QString LoadString(int id);

// The author's web page: the About box's link caption and the address it opens.
inline constexpr const char* kAuthorSiteUrl = "https://kelvora.example/";

// Icon names for platform::LoadIcon.
inline constexpr const char* kAppIconName = "appicon";          // IDI_APPICON 141
inline constexpr const char* kMainFrameIconName = "mainframe";  // IDR_MAINFRAME 128

}  // namespace kelvora::res
