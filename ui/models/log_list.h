#pragma once
// The activity log's list box: the newest entries in a ring, each with a sequence number.
// An append costs the same whatever the log holds, takes the lock only to store the line and
// runs no observer code beyond the readers' wake-ups. Views catch up on their own schedule
// through a LogReader, so a slow view (a blocked standard output, a busy window) never holds
// up the thread that writes the log.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/models/control.h"

namespace ui {

struct LogBatch {
  std::vector<std::string> entries;  // in log order
  std::uint64_t skipped = 0;         // entries the reader missed because the ring overwrote them
};

class LogList : public Control, public ItemList {
 public:
  LogList(Dialog& owner, const Layout& layout, std::size_t capacity);

  void Append(std::string line);
  // Appends the lines in their order as one append: one lock and one wake of each reader.
  // Afterwards `lines` holds the entries that left the ring (or emptied strings): the caller
  // frees them, outside the lock.
  void AppendAll(std::vector<std::string>& lines);
  // Empties what the list shows. Readers still get the entries they have not read yet.
  void Clear();

  std::vector<std::string> Items() const override;
  int Count() const override;
  std::string Item(int index) const;  // empty outside the list
  int Selected() const override;
  void SetSelected(int index) override;
  std::string SelectedText() const override;

 private:
  friend class LogReader;
  using Wake = std::function<void()>;
  int AddWake(Wake wake);
  void RemoveWake(int id);
  std::uint64_t End() const;
  std::uint64_t BeginShown() const;
  // Entries from sequence number `from` on, at most `max`; `from` becomes the next one to read.
  LogBatch ReadFrom(std::uint64_t& from, std::size_t max) const;
  // The same into the first strings of `into`, which keep their buffers (no allocation once
  // they are large enough) and which it never shrinks; returns how many it filled.
  std::size_t ReadInto(std::uint64_t& from, std::size_t max, std::vector<std::string>& into,
                       std::uint64_t& skipped) const;
  // Moves `from` past the entries that the list no longer shows (or past all of them); returns
  // how many it passed.
  std::uint64_t SkipFrom(std::uint64_t& from, bool all) const;

  // Call with lock_ held.
  // Stores the line as the newest entry; the entry that leaves the ring is swapped into it.
  void Store(std::string& line);
  std::uint64_t Oldest() const;  // the oldest entry the ring still holds
  std::uint64_t FirstShown() const;
  const std::string& At(std::uint64_t seq) const { return ring_[seq % capacity_]; }

  std::size_t capacity_;
  std::vector<std::string> ring_;
  std::uint64_t end_ = 0;      // sequence number of the next append
  std::uint64_t cleared_ = 0;  // entries before this one are no longer shown
  int selected_ = -1;          // index among the shown entries
  std::vector<std::pair<int, Wake>> wakes_;
  int nextWake_ = 1;
};

// One view's place in the log. `wake` runs on the appending thread, with the log locked, after
// every append (once for all the lines of an AppendAll): it must return at once (set a flag,
// signal a condition, post a message) and must not call the log. The reader starts at the log's
// end, or with the entries the list shows (a view that comes after them); Next returns what came
// since.
class LogReader {
 public:
  enum class Start { AtEnd, WithShown };
  LogReader(LogList& log, std::function<void()> wake, Start start = Start::AtEnd);
  ~LogReader();
  LogReader(const LogReader&) = delete;
  LogReader& operator=(const LogReader&) = delete;

  LogBatch Next(std::size_t max = static_cast<std::size_t>(-1));
  // Next into strings that the caller keeps from call to call, so that a busy reader copies
  // entries into buffers it already has instead of allocating new ones: the first `count`
  // strings of `into` are the entries.
  std::size_t NextInto(std::size_t max, std::vector<std::string>& into, std::uint64_t& skipped) {
    return log_.ReadInto(next_, max, into, skipped);
  }
  // Passes over the unread entries that a clearing removed from the list, or over every unread
  // entry; returns how many.
  std::uint64_t SkipCleared() { return log_.SkipFrom(next_, false); }
  std::uint64_t SkipAll() { return log_.SkipFrom(next_, true); }

 private:
  LogList& log_;
  int wake_;
  std::uint64_t next_ = 0;
};

}  // namespace ui
