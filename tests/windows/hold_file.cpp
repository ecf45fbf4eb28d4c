// Holds a file open as a spreadsheet holds the CSV it shows: for reading and
// writing, sharing it with others for reading only ("read"), or not at all
// ("none"). Says "held" on its standard output once it holds the file and
// lets go when its standard input ends.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cwchar>

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 3) return 2;
  const DWORD share = std::wcscmp(argv[2], L"read") == 0 ? FILE_SHARE_READ : 0;
  HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  // Straight to the handles: no text mode turns the line feed into two bytes.
  DWORD done = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "held\n", 5, &done, nullptr);
  char ignored;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &ignored, 1, &done, nullptr) && done == 1) {
  }
  CloseHandle(file);
  return 0;
}
