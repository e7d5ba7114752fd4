#pragma once
// The activity log's view: the configuration dialog's Out list box, fed from the log model by a
// reader on the user-interface thread in batches, so that no worker waits for the dialog and a
// burst of lines never freezes it. Appending neither selects nor scrolls: a user who looks at
// the end keeps following the new lines, anyone who scrolled up stays where they are.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>

#include "base/log_sink.h"
#include "ui/models/log_list.h"

namespace win32ui {

class LogView {
 public:
  using Clock = std::chrono::steady_clock;

  // Fills `list` with what the log holds and wakes `form` by `wakeMessage` when more comes; its
  // own failures go to `failures`.
  LogView(ui::LogList& log, HWND list, HWND form, UINT wakeMessage, LogSink& failures);
  // What was logged until now still reaches the list, and so whoever watches it.
  ~LogView();
  LogView(const LogView&) = delete;
  LogView& operator=(const LogView&) = delete;

  // The form's wake-up message or its timer: takes a batch, and sets the timer when more waits.
  void Wake();
  bool OwnsTimer(WPARAM id) const { return id == kTimer; }
  // Takes what the log holds until it is all in or the time is up.
  void CatchUp(Clock::time_point until);
  // Empties the list once the log has been emptied.
  void Clear();
  bool IsLogEmpty() const { return log_.Count() == 0; }

  static constexpr UINT_PTR kTimer = 1;

 private:
  // Takes up to max entries in one redraw frame, stopping early once the time is past until;
  // more tells whether entries may still wait.
  std::size_t Take(std::size_t max, Clock::time_point until, bool& more);
  std::size_t AddBatches(std::size_t max, Clock::time_point until, bool& more);
  // Tells whoever watches the list that it will not see `count` entries.
  void ReportSkipped(std::uint64_t count);
  int VisibleRows() const;

  ui::LogList& log_;
  LogSink& failures_;
  HWND list_;
  HWND form_;
  UINT skippedMessage_;
  std::atomic<bool> pending_{false};
  std::unique_ptr<ui::LogReader> reader_;
};

}  // namespace win32ui
