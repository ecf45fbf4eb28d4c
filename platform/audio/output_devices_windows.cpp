// The active render endpoints of the Windows audio engine, by id and by the
// name the Sound control panel shows.
#include <windows.h>
// The property keys named below are defined here, once.
#include <initguid.h>
// After initguid.h, so that PKEY_Device_FriendlyName is defined.
#include <functiondiscoverykeys_devpkey.h>
#include <propidl.h>

#include "platform/audio/output_devices.h"
#include "platform/wasapi/endpoint.h"

namespace kelvora::platform {
namespace {

std::string FriendlyName(IMMDevice* device) {
  wasapi::Released<IPropertyStore> store;
  if (FAILED(device->OpenPropertyStore(STGM_READ, &store.p))) return {};
  PROPVARIANT value;
  PropVariantInit(&value);
  std::string name;
  if (SUCCEEDED(store.p->GetValue(PKEY_Device_FriendlyName, &value)) && value.vt == VT_LPWSTR) {
    name = wasapi::Utf8(value.pwszVal);
  }
  PropVariantClear(&value);
  return name;
}

std::optional<std::vector<OutputDevice>> AskAudioEngine() {
  const wasapi::ComScope com;
  if (!com.ok()) return std::nullopt;
  wasapi::Released<IMMDeviceEnumerator> devices;
  wasapi::Released<IMMDeviceCollection> collection;
  UINT count = 0;
  if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                              __uuidof(IMMDeviceEnumerator),
                              reinterpret_cast<void**>(&devices.p))) ||
      FAILED(devices.p->EnumAudioEndpoints(eRender, DEVICE_STATE_ACTIVE, &collection.p)) ||
      FAILED(collection.p->GetCount(&count))) {
    return std::nullopt;
  }
  std::vector<OutputDevice> list;
  for (UINT k = 0; k < count; ++k) {
    wasapi::Released<IMMDevice> device;
    if (FAILED(collection.p->Item(k, &device.p))) continue;
    OutputDevice entry{wasapi::EndpointId(device.p), FriendlyName(device.p)};
    // An endpoint without an id cannot be chosen again.
    if (!entry.id.empty()) list.push_back(std::move(entry));
  }
  return list;
}

std::optional<std::string> AskDefaultName() {
  const wasapi::ComScope com;
  if (!com.ok()) return std::nullopt;
  wasapi::Released<IMMDeviceEnumerator> devices;
  wasapi::Released<IMMDevice> device;
  if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                              __uuidof(IMMDeviceEnumerator),
                              reinterpret_cast<void**>(&devices.p))) ||
      FAILED(devices.p->GetDefaultAudioEndpoint(eRender, eConsole, &device.p))) {
    return std::nullopt;
  }
  return FriendlyName(device.p);
}

}  // namespace

std::string DefaultOutputDescription(std::chrono::milliseconds bound) {
  return wasapi::AskWithin<std::string>(bound, AskDefaultName).value_or(std::string{});
}

std::vector<OutputDevice> ListOutputDevices(std::chrono::milliseconds bound) {
  return wasapi::AskWithin<std::vector<OutputDevice>>(bound, AskAudioEngine)
      .value_or(std::vector<OutputDevice>{});
}

}  // namespace kelvora::platform
