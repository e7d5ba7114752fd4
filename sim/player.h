#pragma once
// The stand-in player's state and rules: playlist, position, play status, output time, volume,
// equaliser, shuffle and repeat, the SHOUTcast source's connection, and the answers to the
// player's window messages. Everything sits behind one lock, so the windows may call in from
// any thread. Time is a parameter ("now" in milliseconds of a steady clock), so the rules can be
// checked without waiting.

#include <array>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace sim {

struct Entry {
  std::string file;
  std::string title;
  int length = -1;  // seconds; -1 when unknown
};

// The playlist playersim starts with when it is given none.
std::vector<Entry> DemoPlaylist();

// The file name without its folders (split at '\' and '/') and without its extension, trimmed.
std::string TitleFromFile(const std::string& file);

// Texts handed out by address: each stays valid, unchanged, as long as the pool lives, however
// the playlist changes later. Equal texts share one copy, so the pool grows only with texts not
// seen before.
class TextPool {
 public:
  const char* Intern(const std::string& text);

 private:
  std::mutex lock_;
  std::set<std::string> texts_;
};

struct PlayerState {
  int status = 0;
  int volume = 0;
  int position = 0;
  std::int64_t outputTime = 0;
  std::vector<Entry> entries;
  std::array<int, 13> eq{};
  int shuffle = 0;
  int repeat = 0;
  std::string folder;
  int restarts = 0;
  std::string shoutcastCaption;
  std::string shoutcastStatus;
};

class Player {
 public:
  static constexpr int kStopped = 0;
  static constexpr int kPlaying = 1;
  static constexpr int kPaused = 3;

  static constexpr std::int32_t kVersion = 0x5666;
  static constexpr int kInitialVolume = 200;
  static constexpr int kVolumeStep = 10;
  static constexpr int kEqMiddle = 31;
  // Stream information while a track plays or is paused (request 126).
  static constexpr int kSampleRateKHz = 44;
  static constexpr int kBitRateKbps = 128;
  static constexpr int kChannels = 2;

  Player(std::vector<Entry> playlist, std::string iniPath);
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // The main window's user message: a request number and its data. Text results are addresses
  // of zero-terminated texts from the pool, 0 for none.
  std::intptr_t Request(std::int32_t request, std::int32_t data, std::int64_t now);
  // The main window's copy-data message: request 100 (append a file) or 103 (change folder).
  std::intptr_t CopyData(std::uintptr_t request, const std::string& text);
  // The main window's command message (buttons).
  std::intptr_t Command(int id, std::int64_t now);
  // The playlist window's user message (104 with an entry index deletes that entry).
  std::intptr_t PlaylistMessage(std::uintptr_t wparam, std::intptr_t lparam, std::int64_t now);
  // The main window's text.
  std::string Title(std::int64_t now);

  // The SHOUTcast source window: its command message, and the texts of its controls.
  std::intptr_t ShoutcastCommand(int id);
  std::string ShoutcastCaption();
  std::string ShoutcastStatus();

  PlayerState State(std::int64_t now);

 private:
  // All of these expect lock_ to be held.
  void Advance(std::int64_t now);
  std::int64_t OutputTime(std::int64_t now) const;
  std::int64_t LengthMs(int index) const;
  void Play(std::int64_t now);
  void Pause(std::int64_t now);
  void Stop();
  void MoveTo(int index, std::int64_t now);
  std::int32_t JumpToTime(std::int32_t ms, std::int64_t now);
  std::int32_t SelectBand(std::int32_t band);
  std::int32_t SetSelectedBand(std::int32_t level);
  std::int32_t DeleteEntry(std::intptr_t index);
  std::int32_t Info(std::int32_t which) const;
  int Count() const { return static_cast<int>(entries_.size()); }

  std::mutex lock_;
  TextPool pool_;
  std::vector<Entry> entries_;
  std::string iniPath_;
  int status_ = kStopped;
  int position_ = 0;
  std::int64_t startedAt_ = 0;  // while playing: when the track's time 0 was
  std::int64_t heldTime_ = 0;   // while paused or stopped: the output time
  int volume_ = kInitialVolume;
  std::array<int, 13> eq_{};
  int selectedBand_ = -1;
  int shuffle_ = 0;
  int repeat_ = 0;
  std::string folder_;
  int restarts_ = 0;
  bool shoutcastConnected_ = false;
};

}  // namespace sim
