#include "platform/audio/stream_name.h"

#include <cstdlib>

namespace kelvora {

void NameOurSoundStream() {
  // The override, since the plugin names the client itself.
  setenv("PULSE_PROP_OVERRIDE", kOurStreamProperties, /*overwrite=*/0);
}

}  // namespace kelvora
