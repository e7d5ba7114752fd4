#pragma once
// The player's windows over the window host: the main window (user, copy-data and command
// messages; its text is the title), the playlist window of class "Winamp PE" and, unless left
// out, the top-level window "SHOUTcast source" with its status line (1000) and connect button
// (1008). Each message is answered by the player model at the clock's current time.

#include <cstdint>
#include <functional>

#include "platform/hostwin.h"
#include "sim/player.h"
#include "sim/window_host.h"

namespace sim {

// Milliseconds of a steady clock.
std::int64_t SteadyNowMs();

class PlayerWindows {
 public:
  struct Options {
    bool shoutcast = true;
    std::function<std::int64_t()> clock = &SteadyNowMs;
  };

  PlayerWindows(WindowHost& host, Player& player, Options options);
  ~PlayerWindows();  // destroys its windows
  PlayerWindows(const PlayerWindows&) = delete;
  PlayerWindows& operator=(const PlayerWindows&) = delete;

  host::Window Main() const { return main_; }
  host::Window Playlist() const { return playlist_; }
  host::Window Shoutcast() const { return shoutcast_; }  // kNoWindow when left out
  std::int64_t Now() const { return clock_(); }

 private:
  // The windows' descriptions; their handlers answer from the player at the clock's time.
  WindowSpec MainSpec();
  WindowSpec PlaylistSpec();
  WindowSpec ShoutcastSpec();

  WindowHost& host_;
  Player& player_;
  std::function<std::int64_t()> clock_;
  host::Window main_ = host::kNoWindow;
  host::Window playlist_ = host::kNoWindow;
  host::Window shoutcast_ = host::kNoWindow;
};

}  // namespace sim
