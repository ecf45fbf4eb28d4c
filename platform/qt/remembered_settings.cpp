#include "platform/qt/remembered_settings.h"

#include <QSettings>

namespace kelvora::platform {

namespace {
QString KeyText(std::string_view key) {
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}
}  // namespace

QString LastFolderKey(std::string_view kind) { return QStringLiteral("saves/") + KeyText(kind); }

QString MemoryRememberedSettings::Value(std::string_view key) const {
  const auto it = m_values.find(key);
  return it == m_values.end() ? QString() : it->second;
}

void MemoryRememberedSettings::SetValue(std::string_view key, const QString& value) {
  m_values.insert_or_assign(std::string(key), value);
}

QtRememberedSettings::QtRememberedSettings()
    : m_settings(
          std::make_unique<QSettings>(QStringLiteral("Kelvora"), QStringLiteral("Kelvora"))) {}

QtRememberedSettings::QtRememberedSettings(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QtRememberedSettings::~QtRememberedSettings() = default;

QString QtRememberedSettings::Value(std::string_view key) const {
  return m_settings->value(KeyText(key)).toString();
}

void QtRememberedSettings::SetValue(std::string_view key, const QString& value) {
  m_settings->setValue(KeyText(key), value);
  // Written at once: a program that is killed still remembers the choice.
  m_settings->sync();
}

}  // namespace kelvora::platform
