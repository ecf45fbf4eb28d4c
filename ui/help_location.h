#pragma once

#include <QString>

#include "res/language.h"

namespace kelvora {

// The help page that F1 and the help menu open. The page beside the working
// directory comes first, as the program has always looked there; a program
// started elsewhere falls back to the pages installed with it, which lie in
// <prefix>/share/kelvora/help when the program is <prefix>/bin/kelvora, or in
// help/ beside the program (unpacked from the Windows zip). With
// neither present, the relative path comes back; opening it fails, and the
// window names the missing page.
// Each language's pages lie in its help folder (help/, help/en/, ...).
QString HelpPageToOpen(const QString& currentDir, const QString& applicationDir,
                       const res::Language& language);

}  // namespace kelvora
