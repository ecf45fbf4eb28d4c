#pragma once

#include <QString>
#include <string>

#include "platform/files/safe_file.h"
#include "results/history.h"

class QWidget;

namespace kelvora {

namespace platform {
class Services;
}

// A system error in the window's language: the common ones from the string
// table, the system's own text (`systemText`, or strerror) for the rest.
QString SystemErrorText(int error, const std::string& systemText = {});
// Why the history could not be read or written, likewise.
QString HistoryErrorText(const HistoryError& error);

// Tells the user that saving to `path` failed: the template's first line
// (the file could not be opened, or not written), the file, and the reason.
void ReportWriteFailure(platform::Services& services, QWidget* parent, const QString& path,
                        const platform::WriteResult& result);

}  // namespace kelvora
