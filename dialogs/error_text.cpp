#include "dialogs/error_text.h"

#include <cerrno>
#include <cstring>

#include "platform/files/native_file.h"
#include "platform/qt/services.h"
#include "res/resources.h"

namespace kelvora {

QString SystemErrorText(int error, const std::string& systemText) {
  if (platform::IsNoSpaceError(error)) return res::LoadString(IDS_ERROR_NO_SPACE);
  if (platform::IsInUseError(error)) return res::LoadString(IDS_ERROR_IN_USE);
  switch (error) {
    case EACCES:
    case EPERM:
      return res::LoadString(IDS_ERROR_PERMISSION);
    case EROFS:
      return res::LoadString(IDS_ERROR_READ_ONLY);
    case EISDIR:
      return res::LoadString(IDS_ERROR_NOT_REGULAR);
    case ENOENT:
      return res::LoadString(IDS_ERROR_NOT_FOUND);
    default:
      return QString::fromStdString(systemText.empty() ? std::strerror(error) : systemText);
  }
}

QString HistoryErrorText(const HistoryError& error) {
  switch (error.fault) {
    case HistoryFault::None:
      return {};
    case HistoryFault::NoLocation:
      return res::LoadString(IDS_HISTORY_NO_LOCATION);
    case HistoryFault::NotRegularFile:
      return res::LoadString(IDS_ERROR_NOT_REGULAR);
    case HistoryFault::InUse:
      return res::LoadString(IDS_ERROR_IN_USE);
    case HistoryFault::System:
      break;
  }
  return SystemErrorText(error.code);
}

void ReportWriteFailure(platform::Services& services, QWidget* parent, const QString& path,
                        const platform::WriteResult& result) {
  const int text =
      result.status == platform::WriteStatus::CannotOpen ? IDS_WRITE_CANNOT_OPEN : IDS_WRITE_FAILED;
  const QString reason =
      res::LoadString(IDS_WRITE_REASON).arg(SystemErrorText(result.error, result.message));
  services.MessageBox(
      parent,
      res::LoadString(text) + QStringLiteral("\r\n") + path + QStringLiteral("\r\n") + reason,
      res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
}

}  // namespace kelvora
