// The default output's mix format, from the Windows audio engine (WASAPI):
// the rate every sound is mixed at before it reaches the device.
#include <windows.h>
// The GUIDs and property keys named below are defined here, once.
#include <initguid.h>
// The audio engine's interfaces.
#include <audioclient.h>
#include <mmdeviceapi.h>
#include <propidl.h>
#include <propkeydef.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/output_path.h"

namespace kelvora::platform {
namespace {

// The bus driver that enumerated the device: "BTHENUM" (and "BTHHFENUM" for
// hands-free) for Bluetooth. Not in MinGW's headers.
DEFINE_PROPERTYKEY(kDeviceEnumeratorName, 0xa45c254e, 0xdf1c, 0x4efd, 0x80, 0x20, 0x67, 0xd1, 0x46,
                   0xa8, 0x50, 0xe0, 24);

template <typename T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
};

bool IsBluetooth(IMMDevice* device) {
  Released<IPropertyStore> store;
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

std::optional<OutputPath> AskAudioEngine() {
  const HRESULT started = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (FAILED(started)) return std::nullopt;
  std::optional<OutputPath> path;
  {
    Released<IMMDeviceEnumerator> devices;
    Released<IMMDevice> device;
    Released<IAudioClient> client;
    WAVEFORMATEX* format = nullptr;
    if (SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                   __uuidof(IMMDeviceEnumerator),
                                   reinterpret_cast<void**>(&devices.p))) &&
        SUCCEEDED(devices.p->GetDefaultAudioEndpoint(eRender, eConsole, &device.p)) &&
        SUCCEEDED(device.p->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                     reinterpret_cast<void**>(&client.p))) &&
        SUCCEEDED(client.p->GetMixFormat(&format)) && format != nullptr) {
      // Rates outside these bounds come from a confused driver, not from a device.
      if (format->nSamplesPerSec >= 1000 && format->nSamplesPerSec <= 768000) {
        OutputPath answer;
        answer.rate = format->nSamplesPerSec;
        answer.channels = format->nChannels;
        answer.bluetooth = IsBluetooth(device.p);
        answer.rateSetting = RateSetting::kWindowsSoundPanel;
        path = answer;
      }
      CoTaskMemFree(format);
    }
  }
  CoUninitialize();
  return path;
}

}  // namespace

std::optional<OutputPath> QueryOutputPath(std::chrono::milliseconds bound, const std::string&) {
  // A driver may hold the audio engine up; the question then goes on on its
  // own thread and its answer is dropped.
  struct Shared {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    std::optional<OutputPath> path;
  };
  auto shared = std::make_shared<Shared>();
  std::thread([shared] {
    std::optional<OutputPath> path = AskAudioEngine();
    const std::lock_guard lock(shared->mutex);
    shared->path = std::move(path);
    shared->done = true;
    shared->answered.notify_all();
  }).detach();
  std::unique_lock lock(shared->mutex);
  if (!shared->answered.wait_for(lock, bound, [&] { return shared->done; })) return std::nullopt;
  return shared->path;
}

}  // namespace kelvora::platform
