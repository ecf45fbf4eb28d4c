#pragma once

#include <pulse/proplist.h>

namespace kelvora::pulse {

// What the desktop's volume controls show for our client and our stream.
inline constexpr const char* kOurName = "Kelvora";
inline constexpr const char* kOurIcon = "kelvora";
inline constexpr const char* kOurRole = "music";

// The properties above as a new list; the caller frees it.
inline pa_proplist* OurProperties() {
  pa_proplist* properties = pa_proplist_new();
  pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, kOurName);
  pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, kOurIcon);
  pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, kOurRole);
  return properties;
}

}  // namespace kelvora::pulse
