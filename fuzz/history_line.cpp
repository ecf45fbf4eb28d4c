// The history's line parser alone. A line it accepts re-reads through the
// writer to the same values; and the file reader, given the line below the
// current header, keeps it (and the same values) exactly when the line
// parser does.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/history_check.h"

using namespace kelvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::optional<HistoryRecord> record = ParseHistoryLine(line);
  if (record) fuzz::CheckAsWritten(*record);

  std::string_view body = line;
  if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
  if (body.find('\n') != std::string_view::npos) return 0;  // more than one line for the file
  const HistoryContents file =
      ParseHistoryContents(std::string(kHistoryHeader) + "\r\n" + std::string(body) + "\n");
  FUZZ_CHECK(file.records.size() == (record ? 1u : 0u));
  if (record) FUZZ_CHECK(fuzz::Same(file.records.front(), *record));
  return 0;
}
