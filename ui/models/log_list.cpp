#include "ui/models/log_list.h"

#include <algorithm>

namespace ui {

using Lock = std::lock_guard<std::recursive_mutex>;

LogList::LogList(Dialog& owner, const Layout& layout, std::size_t capacity)
    : Control(owner, layout), capacity_(std::max<std::size_t>(capacity, 1)) {}

std::uint64_t LogList::Oldest() const {
  return end_ > capacity_ ? end_ - capacity_ : 0;
}

std::uint64_t LogList::FirstShown() const {
  return std::max(Oldest(), cleared_);
}

void LogList::Store(std::string& line) {
  if (ring_.size() < capacity_) {
    ring_.push_back(std::move(line));
  } else {
    // The oldest entry leaves; a selection stays on its entry (none when that one leaves).
    if (FirstShown() == Oldest() && selected_ >= 0) --selected_;
    ring_[end_ % capacity_].swap(line);
  }
  ++end_;
}

void LogList::Append(std::string line) {
  Lock g(lock_);
  Store(line);  // the entry that left is freed with `line`, after the lock is released
  for (const auto& [id, wake] : wakes_) wake();
}

void LogList::AppendAll(std::vector<std::string>& lines) {
  if (lines.empty()) return;
  Lock g(lock_);
  for (std::string& line : lines) Store(line);
  for (const auto& [id, wake] : wakes_) wake();
}

void LogList::Clear() {
  Lock g(lock_);
  cleared_ = end_;
  selected_ = -1;
  Notify(Change::What::Items);
}

std::vector<std::string> LogList::Items() const {
  Lock g(lock_);
  std::vector<std::string> items;
  items.reserve(static_cast<std::size_t>(end_ - FirstShown()));
  for (std::uint64_t s = FirstShown(); s < end_; ++s) items.push_back(At(s));
  return items;
}

int LogList::Count() const {
  Lock g(lock_);
  return static_cast<int>(end_ - FirstShown());
}

std::string LogList::Item(int index) const {
  Lock g(lock_);
  if (index < 0 || index >= Count()) return std::string();
  return At(FirstShown() + static_cast<std::uint64_t>(index));
}

int LogList::Selected() const {
  Lock g(lock_);
  return selected_;
}

void LogList::SetSelected(int index) {
  Lock g(lock_);
  selected_ = index >= 0 && index < Count() ? index : -1;
  Notify(Change::What::Selection);
}

std::string LogList::SelectedText() const {
  Lock g(lock_);
  return selected_ >= 0 ? Item(selected_) : std::string();
}

int LogList::AddWake(Wake wake) {
  Lock g(lock_);
  wakes_.emplace_back(nextWake_, std::move(wake));
  return nextWake_++;
}

void LogList::RemoveWake(int id) {
  Lock g(lock_);
  wakes_.erase(
      std::remove_if(wakes_.begin(), wakes_.end(), [id](const auto& w) { return w.first == id; }),
      wakes_.end());
}

std::uint64_t LogList::BeginShown() const {
  Lock g(lock_);
  return FirstShown();
}

std::uint64_t LogList::End() const {
  Lock g(lock_);
  return end_;
}

LogBatch LogList::ReadFrom(std::uint64_t& from, std::size_t max) const {
  LogBatch batch;
  batch.entries.resize(ReadInto(from, max, batch.entries, batch.skipped));
  return batch;
}

std::size_t LogList::ReadInto(std::uint64_t& from, std::size_t max, std::vector<std::string>& into,
                              std::uint64_t& skipped) const {
  skipped = 0;
  Lock g(lock_);
  if (from < Oldest()) {
    skipped = Oldest() - from;
    from = Oldest();
  }
  const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(end_ - from, max));
  if (into.size() < n) into.resize(n);
  for (std::size_t i = 0; i < n; ++i) into[i].assign(At(from++));
  return n;
}

std::uint64_t LogList::SkipFrom(std::uint64_t& from, bool all) const {
  Lock g(lock_);
  const std::uint64_t to = all ? end_ : FirstShown();
  if (from >= to) return 0;
  const std::uint64_t skipped = to - from;
  from = to;
  return skipped;
}

LogReader::LogReader(LogList& log, std::function<void()> wake, Start start)
    : log_(log), wake_(log.AddWake(std::move(wake))) {
  next_ = start == Start::WithShown ? log_.BeginShown() : log_.End();
}

LogReader::~LogReader() {
  log_.RemoveWake(wake_);
}

LogBatch LogReader::Next(std::size_t max) {
  return log_.ReadFrom(next_, max);
}

}  // namespace ui
