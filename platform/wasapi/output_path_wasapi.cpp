// The chosen output's mix format, from the Windows audio engine (WASAPI):
// the rate every sound is mixed at before it reaches the device. The output
// is the one the player plays on: the default one when none is chosen or the
// chosen one is absent.
#include <windows.h>
// The GUIDs and property keys named below are defined here, once.
#include <initguid.h>
// The audio engine's interfaces.
#include <audioclient.h>
#include <mmdeviceapi.h>
#include <propidl.h>
#include <propkeydef.h>

#include "platform/output_path.h"
#include "platform/wasapi/endpoint.h"

namespace kelvora::platform {
namespace {

// The bus driver that enumerated the device: "BTHENUM" (and "BTHHFENUM" for
// hands-free) for Bluetooth. Not in MinGW's headers.
DEFINE_PROPERTYKEY(kDeviceEnumeratorName, 0xa45c254e, 0xdf1c, 0x4efd, 0x80, 0x20, 0x67, 0xd1, 0x46,
                   0xa8, 0x50, 0xe0, 24);

bool IsBluetooth(IMMDevice* device) {
  wasapi::Released<IPropertyStore> store;
  if (FAILED(device->OpenPropertyStore(STGM_READ, &store.p))) return false;
  PROPVARIANT value;
  PropVariantInit(&value);
  bool bluetooth = false;
  if (SUCCEEDED(store.p->GetValue(kDeviceEnumeratorName, &value)) && value.vt == VT_LPWSTR &&
      value.pwszVal != nullptr) {
    bluetooth = _wcsnicmp(value.pwszVal, L"BTH", 3) == 0;
  }
  PropVariantClear(&value);
  return bluetooth;
}

std::optional<OutputPath> AskAudioEngine(const std::string& deviceId) {
  const wasapi::ComScope com;
  if (!com.ok()) return std::nullopt;
  wasapi::Endpoint endpoint;
  wasapi::Released<IAudioClient> client;
  WAVEFORMATEX* format = nullptr;
  if (!wasapi::OpenEndpoint(deviceId, endpoint) ||
      FAILED(endpoint.device.p->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                         reinterpret_cast<void**>(&client.p))) ||
      FAILED(client.p->GetMixFormat(&format)) || format == nullptr) {
    return std::nullopt;
  }
  std::optional<OutputPath> path;
  // Rates outside these bounds come from a confused driver, not from a device.
  if (format->nSamplesPerSec >= 1000 && format->nSamplesPerSec <= 768000) {
    OutputPath answer;
    answer.rate = format->nSamplesPerSec;
    answer.channels = format->nChannels;
    answer.bluetooth = IsBluetooth(endpoint.device.p);
    answer.rateSetting = RateSetting::WindowsSoundPanel;
    path = answer;
  }
  CoTaskMemFree(format);
  return path;
}

}  // namespace

std::optional<OutputPath> QueryOutputPath(std::chrono::milliseconds bound,
                                          const std::string& deviceId) {
  return wasapi::AskWithin<OutputPath>(bound, [deviceId] { return AskAudioEngine(deviceId); });
}

}  // namespace kelvora::platform
