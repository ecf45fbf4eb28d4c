#pragma once

// What the program remembers between runs: the output it plays on, who
// listens, and the folders the last saves went to. The real one is Qt's
// settings for organisation and application "Kelvora" (a .conf file under
// ~/.config on Linux, the user's registry on Windows); tests hand the window
// one backed by a file of their own, or an empty memory.

#include <QString>
#include <map>
#include <memory>
#include <string>
#include <string_view>

class QSettings;

namespace kelvora::platform {

class RememberedSettings {
 public:
  virtual ~RememberedSettings() = default;
  // An empty string when nothing was remembered under `key`.
  virtual QString Value(std::string_view key) const = 0;
  virtual void SetValue(std::string_view key, const QString& value) = 0;
};

// The keys, one per fact.
inline constexpr std::string_view kOutputDeviceKey = "output/device";  // the system's stable name
// Its description when it was chosen, to name it by when it is not there.
inline constexpr std::string_view kOutputDescriptionKey = "output/description";
inline constexpr std::string_view kListenerKey = "listener/name";
// The folder of the last save of one kind: "saves/<kind>".
QString LastFolderKey(std::string_view kind);

// Remembered for this run only: what a window is given when nothing is to be
// kept between runs.
class MemoryRememberedSettings final : public RememberedSettings {
 public:
  QString Value(std::string_view key) const override;
  void SetValue(std::string_view key, const QString& value) override;

 private:
  std::map<std::string, QString, std::less<>> m_values;
};

// Qt's settings of the program, or of `iniFile` when one is named.
class QtRememberedSettings final : public RememberedSettings {
 public:
  QtRememberedSettings();
  explicit QtRememberedSettings(const QString& iniFile);
  ~QtRememberedSettings() override;
  QString Value(std::string_view key) const override;
  void SetValue(std::string_view key, const QString& value) override;

 private:
  std::unique_ptr<QSettings> m_settings;
};

}  // namespace kelvora::platform
