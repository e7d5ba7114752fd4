#include "ui/win32/log_view.h"

#include <algorithm>

#include "ui/win32/view_protocol.h"
#include "ui/win32/window.h"

namespace win32ui {

namespace {

constexpr std::size_t kBatch = 1024;
// During a burst the view takes entries for at most this long per message, a few at a time,
// and then lets the rest of the queue have its turn, so the dialog stays responsive however
// fast the log grows (when it falls too far behind, the log's skip notice says so). The rest
// follows on a timer: a timer message comes only when the queue holds nothing else, so input
// and painting go first, where a message posted again at once would starve them.
constexpr std::size_t kChunk = 16;
constexpr auto kWakeBudget = std::chrono::milliseconds(5);
constexpr int kMaxRows = 10000;
constexpr int kCatchUpRounds = 1000;  // bounds a catch-up at a million entries
// Before the list is cleared or goes, it still takes what was logged, for whoever watches it,
// but after a burst not for longer than this: a slow quit or a frozen clearing would cost the
// user more than the watcher gains. What is left is reported as skipped.
constexpr auto kLastCatchUp = std::chrono::milliseconds(100);

}  // namespace

LogView::LogView(ui::LogList& log, HWND list, HWND form, UINT wakeMessage, LogSink& failures)
    : log_(log),
      failures_(failures),
      list_(list),
      form_(form),
      skippedMessage_(RegisterWindowMessageA(viewproto::kLogSkippedMessage)) {
  for (const std::string& line : log_.Items()) {
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  reader_ = std::make_unique<ui::LogReader>(log_, [this, wakeMessage] {
    if (!pending_.exchange(true)) PostMessageA(form_, wakeMessage, 0, 0);
  });
}

LogView::~LogView() {
  Guarded(failures_, "Protokoll", [&] {
    CatchUp(Clock::now() + kLastCatchUp);
    ReportSkipped(reader_->SkipAll());
  });
  reader_.reset();  // no wake-up posts to the form any more
}

void LogView::Wake() {
  KillTimer(form_, kTimer);
  pending_ = false;
  bool more = false;
  Take(kBatch, Clock::now() + kWakeBudget, more);
  if (more && !pending_.exchange(true)) SetTimer(form_, kTimer, USER_TIMER_MINIMUM, nullptr);
}

void LogView::CatchUp(Clock::time_point until) {
  bool more = true;
  for (int i = 0; i < kCatchUpRounds && more && Clock::now() < until; ++i) {
    Take(kBatch, until, more);
  }
}

void LogView::Clear() {
  // What was logged before the clearing still passes through the list once, so that every
  // entry reaches whoever watches the list box; then the list is emptied.
  CatchUp(Clock::now() + kLastCatchUp);
  ReportSkipped(reader_->SkipCleared());
  SendMessageA(list_, LB_RESETCONTENT, 0, 0);
}

int LogView::VisibleRows() const {
  RECT rc;
  GetClientRect(list_, &rc);
  int rowHeight = static_cast<int>(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0));
  return rowHeight > 0 ? std::max(1, static_cast<int>(rc.bottom - rc.top) / rowHeight) : 1;
}

std::size_t LogView::Take(std::size_t max, Clock::time_point until, bool& more) {
  const int before = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
  const int top = static_cast<int>(SendMessageA(list_, LB_GETTOPINDEX, 0, 0));
  const int rows = VisibleRows();
  // Whoever sees the last line follows the new ones.
  const bool following = top + rows >= before;
  const std::size_t taken = AddBatches(max, until, more);
  if (taken == 0) return 0;
  int count = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
  int dropped = 0;
  for (; count > kMaxRows; --count, ++dropped) SendMessageA(list_, LB_DELETESTRING, 0, 0);
  const int want = following ? std::max(0, count - rows) : std::max(0, top - dropped);
  if (static_cast<int>(SendMessageA(list_, LB_GETTOPINDEX, 0, 0)) != want) {
    SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(want), 0);
  }
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  return taken;
}

std::size_t LogView::AddBatches(std::size_t max, Clock::time_point until, bool& more) {
  more = false;
  std::size_t taken = 0;
  while (taken < max) {
    const std::size_t want = std::min(kChunk, max - taken);
    ui::LogBatch batch = reader_->Next(want);
    ReportSkipped(batch.skipped);
    if (batch.entries.empty()) break;
    if (taken == 0) SendMessageA(list_, WM_SETREDRAW, FALSE, 0);  // one frame for the batch
    for (const std::string& line : batch.entries) {
      SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    taken += batch.entries.size();
    more = batch.entries.size() == want;
    if (!more || Clock::now() >= until) break;
  }
  return taken;
}

void LogView::ReportSkipped(std::uint64_t count) {
  if (count > 0) SendMessageA(list_, skippedMessage_, static_cast<WPARAM>(count), 0);
}

}  // namespace win32ui
