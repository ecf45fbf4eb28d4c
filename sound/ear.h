#pragma once

namespace kelvora {

// Which ear hears the sounds: both (the mono image as it is) or one of them,
// the other getting silence, so that each ear can be checked on its own. The
// history names the ear of every check by the same value.
enum class Ear { Both, Left, Right };

}  // namespace kelvora
