// The threads of this process, as the system counts them (apart from the rest of the test
// support: the Windows headers' macros collide with the player's message names).
#ifdef _WIN32
#include <windows.h>
//
#include <tlhelp32.h>
#else
#include <filesystem>
#include <iterator>
#endif

#include "tests/support.h"

namespace testing_support {

int ProcessThreads() {
#ifdef _WIN32
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snap, &entry); more; more = Thread32Next(snap, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snap);
  return count;
#else
  namespace fs = std::filesystem;
  std::error_code ec;
  auto tasks = fs::directory_iterator("/proc/self/task", ec);
  return ec ? -1 : static_cast<int>(std::distance(tasks, fs::directory_iterator()));
#endif
}

}  // namespace testing_support
