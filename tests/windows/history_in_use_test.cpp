// The history file held open by another program that does not share it for
// writing, as a spreadsheet holds a CSV it shows: the checks meanwhile wait,
// the fault says "in use", and once the file is let go the next check writes
// every line, in order, once. The holder is kelvora_hold_file.exe, beside
// this test.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "results/history.h"

namespace kelvora {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::path Beside(const wchar_t* name) {
  wchar_t self[MAX_PATH * 4];
  const DWORD size = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
  return fs::path(std::wstring(self, size)).parent_path() / name;
}

// kelvora_hold_file.exe on `file`, from the moment it says it holds it until
// Release().
class Holder {
 public:
  Holder(const fs::path& file, const wchar_t* share) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE childIn = nullptr;
    HANDLE childOut = nullptr;
    if (!CreatePipe(&childIn, &m_input, &inherit, 0) ||
        !CreatePipe(&m_output, &childOut, &inherit, 0)) {
      return;
    }
    SetHandleInformation(m_input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring command = L"\"" + Beside(L"kelvora_hold_file.exe").wstring() + L"\" \"" +
                           file.wstring() + L"\" " + share;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(childIn);
    CloseHandle(childOut);
    if (!started) return;
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    char said[5] = {};
    DWORD read = 0;
    m_holding = ReadFile(m_output, said, 5, &read, nullptr) && read == 5 &&
                std::string(said, 5) == "held\n";
  }
  ~Holder() { Release(); }
  bool holding() const { return m_holding; }
  // Ends its input and waits until it has let go and ended: its exit code.
  DWORD Release() {
    if (m_input != nullptr) CloseHandle(m_input);
    m_input = nullptr;
    DWORD code = 0;
    if (m_process != nullptr) {
      WaitForSingleObject(m_process, INFINITE);
      GetExitCodeProcess(m_process, &code);
      CloseHandle(m_process);
      m_process = nullptr;
    }
    if (m_output != nullptr) CloseHandle(m_output);
    m_output = nullptr;
    return code;
  }

 private:
  HANDLE m_input = nullptr;
  HANDLE m_output = nullptr;
  HANDLE m_process = nullptr;
  bool m_holding = false;
};

HistoryRecord Check(int frequencyHz) {
  HistoryRecord r;
  r.time = "2026-12-08T23:41:22+09:00";
  r.frequencyHz = frequencyHz;
  r.bursts = 3;
  r.answer = 3;
  r.correct = true;
  r.volumePercent = 30;
  return r;
}

TEST(WindowsHistory, AFileHeldWithoutSharingForWritingGetsTheKeptLinesOnceItIsLetGo) {
  for (const wchar_t* share : {L"read", L"none"}) {
    SCOPED_TRACE(share == std::wstring(L"read") ? "shared for reading" : "not shared");
    const fs::path folder =
        fs::temp_directory_path() / ("kelvora-in-use-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "history.csv";
    const std::string header = std::string(kHistoryHeader) + "\r\n";
    std::ofstream(file, std::ios::binary) << header;

    std::int64_t clock = 1000;
    const std::u8string name = file.u8string();
    History history(std::string(name.begin(), name.end()), [&clock] { return clock; });
    history.StartSession();
    Holder holder(file, share);
    ASSERT_TRUE(holder.holding());
    for (int frequency : {8000, 10000, 9000}) {
      history.Record(Check(frequency));
      EXPECT_EQ(history.writeError().fault, HistoryFault::InUse)
          << "fault " << static_cast<int>(history.writeError().fault) << ": "
          << std::strerror(history.writeError().code);
    }
    EXPECT_EQ(history.pending().size(), 3u);
    EXPECT_EQ(holder.Release(), 0u);
    EXPECT_EQ(Contents(file), header) << "nothing written while it was held";

    history.Record(Check(9500));
    EXPECT_FALSE(history.writeError().failed())
        << "fault " << static_cast<int>(history.writeError().fault) << ": "
        << std::strerror(history.writeError().code);
    EXPECT_TRUE(history.pending().empty());
    std::string expected = header;
    for (const HistoryRecord& r : history.currentSession()) expected += FormatHistoryLine(r);
    ASSERT_EQ(history.currentSession().size(), 4u);
    EXPECT_EQ(Contents(file), expected) << "all four, in order, once each";
    fs::remove_all(folder);
  }
}

}  // namespace
}  // namespace kelvora
