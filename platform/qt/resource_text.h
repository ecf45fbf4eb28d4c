#pragma once

// A text of the resource tables as the window shows it. The tables hold the
// program's own Japanese; in another interface language Qt's translator gives
// its translation (res/translations/), and a text without one stays as it is.

#include <QCoreApplication>
#include <QString>

namespace kelvora::platform {

// The translation context of every table text: in the tables they are marked
// QT_TRANSLATE_NOOP("kelvora", ...), so lupdate files them under it.
inline constexpr const char* kResourceTextContext = "kelvora";

inline QString ResourceText(const char* text) {
  if (text == nullptr || *text == '\0') return {};
  return QCoreApplication::translate(kResourceTextContext, text);
}

}  // namespace kelvora::platform
