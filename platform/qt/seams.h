#pragma once

// Internal to platform/qt: the state behind testing.h, read by the services.

#include <optional>

#include "platform/qt/testing.h"

namespace kelvora::platform::seams {

// Pops the next modal answer; empty function if none is queued.
testing::ModalAnswer TakeModalAnswer();
void RecordDialog(int templateId, const QString& title, bool shown);
void RecordMessage(const QString& text, const QString& caption, MessageIcon icon);
std::optional<QString> TakeSaveFileAnswer(const SaveFileOptions& options);
void RecordOpen(const QString& argument, const QUrl& url);

}  // namespace kelvora::platform::seams
