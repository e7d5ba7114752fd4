#include "platform/files.h"

#include <windows.h>

namespace files {

bool ReadAll(const std::string& path, std::string& out) {
  out.clear();
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  char buf[8192];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(h, buf, sizeof buf, &n, nullptr)) {
      ok = false;
      break;
    }
    if (n == 0) break;
    out.append(buf, n);
  }
  CloseHandle(h);
  if (!ok) out.clear();
  return ok;
}

bool WriteReplacing(const std::string& path, const std::string& data) {
  std::string temp = path + ".tmp";
  HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < data.size()) {
    DWORD n = 0;
    ok = WriteFile(h, data.data() + done, static_cast<DWORD>(data.size() - done), &n, nullptr) &&
         n > 0;
    done += n;
  }
  ok = CloseHandle(h) && ok;
  if (ok) ok = MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  if (!ok) DeleteFileA(temp.c_str());
  return ok;
}

bool MakeFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace files
