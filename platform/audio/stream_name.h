#pragma once

namespace kelvora {

// Gives our sound's stream the program's name, icon and role in the sound
// server (PulseAudio, or PipeWire's PulseAudio service), as the desktop's
// volume controls show it; ALSA's pulse plugin would call it "ALSA plug-in".
// Must run before the first device is opened and before other threads read
// the environment. Leaves alone a PULSE_PROP_OVERRIDE the user has set.
void NameOurSoundStream();

// The properties NameOurSoundStream asks for, as PULSE_PROP takes them.
inline constexpr const char* kOurStreamProperties =
    "application.name='Kelvora' application.icon_name='kelvora' media.role='music'";

}  // namespace kelvora
