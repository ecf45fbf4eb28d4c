#include "platform/wasapi/endpoint.h"

// WAVEFORMATEXTENSIBLE.
#include <ks.h>
#include <ksmedia.h>

namespace kelvora::platform::wasapi {

ComScope::ComScope() {
  const HRESULT started = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  m_uninitialize = SUCCEEDED(started);
  m_ok = m_uninitialize || started == RPC_E_CHANGED_MODE;
}

ComScope::~ComScope() {
  if (m_uninitialize) CoUninitialize();
}

std::wstring Utf16(const std::string& text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Utf8(const wchar_t* text) {
  if (text == nullptr || *text == L'\0') return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), size, nullptr, nullptr);
  narrow.pop_back();  // the terminating zero
  return narrow;
}

bool OpenEndpoint(const std::string& id, Endpoint& endpoint) {
  Released<IMMDeviceEnumerator> devices;
  if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                              __uuidof(IMMDeviceEnumerator),
                              reinterpret_cast<void**>(&devices.p)))) {
    return false;
  }
  endpoint.missing = false;
  if (!id.empty()) {
    const std::wstring wide = Utf16(id);
    Released<IMMDevice> chosen;
    DWORD state = 0;
    EDataFlow flow = eCapture;
    Released<IMMEndpoint> direction;
    if (!wide.empty() && SUCCEEDED(devices.p->GetDevice(wide.c_str(), &chosen.p)) &&
        SUCCEEDED(chosen.p->GetState(&state)) && state == DEVICE_STATE_ACTIVE &&
        SUCCEEDED(chosen.p->QueryInterface(__uuidof(IMMEndpoint),
                                           reinterpret_cast<void**>(&direction.p))) &&
        SUCCEEDED(direction.p->GetDataFlow(&flow)) && flow == eRender) {
      endpoint.device.p = chosen.p;
      chosen.p = nullptr;
      return true;
    }
    endpoint.missing = true;
  }
  return SUCCEEDED(devices.p->GetDefaultAudioEndpoint(eRender, eConsole, &endpoint.device.p));
}

std::string EndpointId(IMMDevice* device) {
  LPWSTR id = nullptr;
  if (FAILED(device->GetId(&id))) return {};
  std::string narrow = Utf8(id);
  CoTaskMemFree(id);
  return narrow;
}

std::optional<FrameLayout> LayoutOf(const WAVEFORMATEX& format) {
  if (format.nChannels == 0) return std::nullopt;
  bool isFloat = format.wFormatTag == WAVE_FORMAT_IEEE_FLOAT;
  bool isInteger = format.wFormatTag == WAVE_FORMAT_PCM;
  if (format.wFormatTag == WAVE_FORMAT_EXTENSIBLE && format.cbSize >= 22) {
    // An extensible format's subtype is the plain format's tag in the first
    // field of the common base GUID {0000xxxx-0000-0010-8000-00AA00389B71}.
    const GUID& sub = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format).SubFormat;
    const bool base = sub.Data2 == 0x0000 && sub.Data3 == 0x0010 && sub.Data4[0] == 0x80 &&
                      sub.Data4[1] == 0x00 && sub.Data4[2] == 0x00 && sub.Data4[3] == 0xAA &&
                      sub.Data4[4] == 0x00 && sub.Data4[5] == 0x38 && sub.Data4[6] == 0x9B &&
                      sub.Data4[7] == 0x71;
    isFloat = base && sub.Data1 == WAVE_FORMAT_IEEE_FLOAT;
    isInteger = base && sub.Data1 == WAVE_FORMAT_PCM;
  }
  FrameLayout layout;
  layout.channels = format.nChannels;
  if (isFloat && format.wBitsPerSample == 32) {
    layout.kind = SampleKind::Float32;
  } else if (isInteger && format.wBitsPerSample == 16) {
    layout.kind = SampleKind::Int16;
  } else if (isInteger && format.wBitsPerSample == 24) {
    layout.kind = SampleKind::Int24;
  } else if (isInteger && format.wBitsPerSample == 32) {
    layout.kind = SampleKind::Int32;
  } else {
    return std::nullopt;
  }
  if (format.nBlockAlign != BytesPerFrame(layout)) return std::nullopt;
  return layout;
}

}  // namespace kelvora::platform::wasapi
