#pragma once

// Dialog templates as data, laid out like the dialog resources of a resource
// script: positions and sizes in dialog units, controls in tab order.
// TemplateDialog (template_dialog.h) is the one builder that turns them into
// widgets.

#include <span>

namespace kelvora::platform {

enum class ControlKind {
  PushButton,
  DefaultPushButton,  // pressed by Enter anywhere in the dialog
  CheckBox,           // automatic: toggles itself on click
  Edit,               // single-line edit field
  StaticText,
  GroupBox,
  Icon,    // text = icon name, see LoadIcon() in services.h; shown at 32 x 32
  Slider,  // horizontal trackbar
};

// Control style bits; combine with |.
namespace ControlStyle {
inline constexpr unsigned None = 0;
inline constexpr unsigned Hidden = 1u << 0;       // never shown (the hidden Cancel)
inline constexpr unsigned Disabled = 1u << 1;     // disabled when the dialog is built
inline constexpr unsigned TabStop = 1u << 2;      // takes focus by Tab
inline constexpr unsigned ReadOnly = 1u << 3;     // Edit: selectable, not editable
inline constexpr unsigned NoBorder = 1u << 4;     // Edit: looks like plain text
inline constexpr unsigned Border = 1u << 9;       // Edit: framed, the usual look
inline constexpr unsigned AutoHScroll = 1u << 5;  // Edit: text may exceed the box
inline constexpr unsigned Group = 1u << 6;        // starts a group of controls
inline constexpr unsigned NoWrap = 1u << 7;       // StaticText: one line, no wrap
inline constexpr unsigned AutoTicks = 1u << 8;    // Slider: a tick at every step
}  // namespace ControlStyle

struct ControlTemplate {
  int id;  // -1 for controls that are never addressed (IDC_STATIC)
  ControlKind kind;
  int x, y, width, height;  // dialog units
  const char* text;         // UTF-8; "&" marks a mnemonic on buttons
  unsigned style;           // ControlStyle bits
};

// Window style bits of a dialog; combine with |.
namespace DialogStyle {
inline constexpr unsigned None = 0;
inline constexpr unsigned SystemMenu = 1u << 0;   // title-bar close box (and system menu)
inline constexpr unsigned MinimizeBox = 1u << 1;  // minimise button
inline constexpr unsigned AppWindow = 1u << 2;    // own task-bar button
}  // namespace DialogStyle

struct DialogTemplate {
  int id;
  const char* title;                          // UTF-8; may be empty and set in OnInitDialog
  int width, height;                          // client area in dialog units
  unsigned style;                             // DialogStyle bits
  std::span<const ControlTemplate> controls;  // template order = tab order
};

}  // namespace kelvora::platform
