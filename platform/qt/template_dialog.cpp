#include "platform/qt/template_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMetaObject>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/resource_text.h"
#include "platform/qt/services.h"

namespace kelvora::platform {

namespace {

Qt::WindowFlags FlagsOf(unsigned style) {
  Qt::WindowFlags flags = (style & DialogStyle::AppWindow) ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (style & DialogStyle::SystemMenu)
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (style & DialogStyle::MinimizeBox) flags |= Qt::WindowMinimizeButtonHint;
  return flags;
}

bool TakesTabFocus(const ControlTemplate& control) {
  return (control.style & ControlStyle::TabStop) && !(control.style & ControlStyle::Hidden) &&
         !(control.style & ControlStyle::Disabled);
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, Services& services,
                               QWidget* parent)
    : QDialog(parent, FlagsOf(dialogTemplate.style)),
      m_template(dialogTemplate),
      m_services(services) {
  setWindowTitle(ResourceText(m_template.title));
  setFont(DialogFont());
  m_base = BaseUnitsOf(font());
  Build();
}

TemplateDialog::~TemplateDialog() = default;

void TemplateDialog::Build() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // dialogs are never resized

  m_client = new QWidget(this);
  m_client->setFixedSize(
      DialogToPixels(QRect(0, 0, m_template.width, m_template.height), m_base).size());
  layout->addWidget(m_client);

  for (const ControlTemplate& control : m_template.controls) {
    QWidget* widget = CreateControl(control);
    if (control.id != -1) m_controls.emplace(control.id, widget);
  }

  // Without a default button Enter means OK (keyPressEvent). Qt would show
  // the first button in the tab order as the default instead; naming OK the
  // main default, unmarked, keeps the look in line with what Enter does.
  const bool hasDefault = std::any_of(
      m_template.controls.begin(), m_template.controls.end(),
      [](const ControlTemplate& c) { return c.kind == ControlKind::DefaultPushButton; });
  if (auto* ok = qobject_cast<QPushButton*>(GetDlgItem(kIdOk)); ok && !hasDefault) {
    ok->setDefault(true);
    ok->setDefault(false);
  }
}

QWidget* TemplateDialog::CreateControl(const ControlTemplate& control) {
  // An icon's text is its name, never translated.
  const QString text = control.kind == ControlKind::Icon
                           ? QString::fromUtf8(control.text ? control.text : "")
                           : ResourceText(control.text);
  const unsigned style = control.style;
  QRect geometry =
      DialogToPixels(QRect(control.x, control.y, control.width, control.height), m_base);
  QWidget* widget = nullptr;

  switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
      auto* button = new QPushButton(text, m_client);
      button->setAutoDefault(true);  // a focused button takes Enter, as on the platform
      button->setDefault(control.kind == ControlKind::DefaultPushButton);
      widget = button;
      break;
    }
    case ControlKind::CheckBox:
      widget = new QCheckBox(text, m_client);
      break;
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(text, m_client);
      edit->setReadOnly(style & ControlStyle::ReadOnly);
      if (style & ControlStyle::NoBorder) {
        // Looks like plain text on whatever it sits on, yet stays selectable.
        // A group box's interior is shaded, so no fixed colour would do.
        edit->setFrame(false);
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, Qt::transparent);
        edit->setPalette(palette);
        edit->setTextMargins(0, 0, 0, 0);
      }
      widget = edit;
      break;
    }
    case ControlKind::StaticText: {
      auto* label = new QLabel(text, m_client);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setWordWrap(!(style & ControlStyle::NoWrap));
      label->setTextFormat(Qt::PlainText);
      // Our fallback fonts run a little wider than the ones the templates
      // were laid out for: a one-line text that no longer fits may run on to
      // the client's edge rather than wrap into a line that gets cut off.
      const int needed = label->fontMetrics().horizontalAdvance(text) + 1;
      if (needed > geometry.width() && !text.contains('\n') &&
          label->heightForWidth(geometry.width()) > geometry.height()) {
        label->setWordWrap(false);
        geometry.setWidth(
            std::max(geometry.width(), std::min(needed, m_client->width() - geometry.x())));
      }
      widget = label;
      break;
    }
    case ControlKind::GroupBox: {
      auto* group = new QGroupBox(text, m_client);
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      widget = group;
      break;
    }
    case ControlKind::Icon: {
      auto* label = new QLabel(m_client);
      label->setPixmap(LoadIcon(text).pixmap(32, 32));
      geometry.setSize(QSize(32, 32));  // icons show at their real size
      widget = label;
      break;
    }
    case ControlKind::Slider: {
      auto* slider = new QSlider(Qt::Horizontal, m_client);
      if (style & ControlStyle::AutoTicks) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(1);
      }
      widget = slider;
      break;
    }
  }

  widget->setGeometry(geometry);
  if (control.kind == ControlKind::GroupBox) widget->lower();  // a frame behind its contents

  const bool focusable = control.kind != ControlKind::StaticText &&
                         control.kind != ControlKind::GroupBox && control.kind != ControlKind::Icon;
  if (focusable) {
    widget->setFocusPolicy((style & ControlStyle::TabStop) ? Qt::StrongFocus : Qt::ClickFocus);
  } else {
    widget->setFocusPolicy(Qt::NoFocus);
  }
  if (style & ControlStyle::Disabled) widget->setEnabled(false);
  if (style & ControlStyle::Hidden) widget->hide();

  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    const int id = control.id;
    connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
  }
  return widget;
}

QWidget* TemplateDialog::GetDlgItem(int id) const {
  const auto it = m_controls.find(id);
  return it == m_controls.end() ? nullptr : it->second;
}

void TemplateDialog::SetDlgItemText(int id, const QString& text) {
  if (id == 0) {
    setWindowTitle(text);
    return;
  }
  QWidget* widget = GetDlgItem(id);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(text);
    edit->setCursorPosition(0);  // show the beginning, as the platform does
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(text);
  }
}

QString TemplateDialog::GetDlgItemText(int id) const {
  QWidget* widget = GetDlgItem(id);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  return {};
}

void TemplateDialog::EnableDlgItem(int id, bool enabled) {
  if (QWidget* widget = GetDlgItem(id)) widget->setEnabled(enabled);
}

void TemplateDialog::SetMenuBar(QMenuBar* menuBar) {
  m_menuBar = menuBar;
  menuBar->setParent(this);
  layout()->setMenuBar(menuBar);
}

void TemplateDialog::SetAccelerators(std::span<const Accelerator> table) {
  m_accelerators =
      std::make_unique<AcceleratorFilter>(this, table, [this](int id) { OnCommand(id); });
}

void TemplateDialog::OnCommand(int id) {
  if (id == kIdOk || id == kIdCancel) EndDialog(id);
}

void TemplateDialog::EndDialog(int result) {
  if (m_ended) return;
  m_ended = true;
  m_result = result;
  QDialog::done(result);
}

void TemplateDialog::PostClose() {
  m_closePending = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!m_ended && m_closePending) {
          m_closePending = false;
          OnCommand(kIdCancel);
        }
      },
      Qt::QueuedConnection);
}

void TemplateDialog::reject() {
  if (!m_ended) OnCommand(kIdCancel);
}

void TemplateDialog::accept() {
  if (!m_ended) OnCommand(kIdOk);
}

void TemplateDialog::closeEvent(QCloseEvent* event) {
  if (!m_ended) OnCommand(kIdCancel);
  if (m_ended) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (enter && modifiers == Qt::NoModifier) {
    // A focused button has taken Enter itself. Elsewhere Enter presses the
    // template's default button, or means OK if it has none; Qt would instead
    // keep the first button that ever had the focus as the default.
    bool hasDefault = false;
    for (const ControlTemplate& control : m_template.controls) {
      const QWidget* button = GetDlgItem(control.id);
      if (control.kind == ControlKind::DefaultPushButton && button && button->isVisible()) {
        hasDefault = true;
      }
    }
    if (!hasDefault) {
      if (!m_ended) OnCommand(kIdOk);
      return;
    }
  }
  QDialog::keyPressEvent(event);
}

void TemplateDialog::ShowActiveNow(bool focusFirstTabStop) {
  show();
  if (focusFirstTabStop) FocusFirstTabStop();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
  QApplication::setActiveWindow(this);
#else
  activateWindow();
#endif
}

void TemplateDialog::FocusFirstTabStop() {
  for (const ControlTemplate& control : m_template.controls) {
    QWidget* widget = GetDlgItem(control.id);
    if (widget && TakesTabFocus(control) && widget->isEnabled() && !widget->isHidden()) {
      widget->setFocus(Qt::TabFocusReason);
      // The window may not be active yet, so Qt would not select the text
      // itself; typing must replace it, not add to it.
      if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
      return;
    }
  }
}

int TemplateDialog::DoModal() {
  m_ended = false;
  m_closePending = false;
  m_result = kIdCancel;

  const bool focusFirst = OnInitDialog();

  // A close request queued during initialisation wins over everything the
  // user could do: the dialog ends before it is ever shown.
  if (!m_ended && m_closePending) {
    m_closePending = false;
    OnCommand(kIdCancel);
    if (!m_ended) EndDialog(kIdCancel);
  }
  m_services.RunModal(*this, focusFirst);
  // A run that ended other than through EndDialog still has a result.
  if (!m_ended) {
    m_ended = true;
    m_result = result();
  }

  hide();
  OnDestroy();
  return m_result;
}

}  // namespace kelvora::platform
