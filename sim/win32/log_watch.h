#pragma once
// playersim.exe's "LOG " lines: one for every entry that appears in the configuration dialog's
// real Out list box, in the list's order, printed a batch at a time (when the view ends a batch
// by turning redrawing back on), and "LOGSKIPPED N" when the view says it fell behind the log.
#include <windows.h>

#include <string>
#include <vector>

namespace sim {

class LogWatch {
 public:
  // Finds the list box (on the calling thread), prints what it holds already and watches it.
  LogWatch();
  ~LogWatch();
  LogWatch(const LogWatch&) = delete;
  LogWatch& operator=(const LogWatch&) = delete;

  // Makes the view take every entry logged so far, then prints every line that waits.
  void CatchUp();
  // What the list box holds now.
  std::vector<std::string> Entries() const;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  // Gives the list box its procedure back (destroyed: the list box goes anyway).
  void Unhook(bool destroyed);
  void Add(const char* entry);
  void Flush();

  HWND form_ = nullptr;
  HWND list_ = nullptr;
  UINT skippedMessage_ = 0;
  UINT catchUpMessage_ = 0;
  bool frozen_ = false;
  std::string pending_;
};

}  // namespace sim
