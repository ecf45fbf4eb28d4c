#pragma once

#include <QString>
#include <functional>

#include "results/results_pictures.h"

namespace kelvora {

// The pictures' words, each read by `load` from its string id: the string
// table in the window's language, or a translation a test asks for.
results::PictureTexts LoadPictureTexts(const std::function<QString(int id)>& load);

// The pictures' words, from the string table in the window's language.
const results::PictureTexts& ResultsPictureTexts();

}  // namespace kelvora
