#include "sim/player_windows.h"

#include <chrono>
#include <cstring>
#include <string>
#include <utility>

#include "protocol/host_messages.h"

namespace sim {

namespace {

// The command identifier is the low word of the first argument.
int CommandId(std::uintptr_t wparam) {
  return static_cast<int>(wparam & 0xFFFF);
}

// The text a copy-data record carries: its bytes up to the closing zero byte or the byte count.
bool CopyDataText(std::intptr_t lparam, std::uintptr_t& request, std::string& out) {
  const auto* record = reinterpret_cast<const host::CopyData*>(lparam);
  if (record == nullptr) return false;
  request = record->dwData;
  out.clear();
  if (record->lpData == nullptr || record->cbData == 0) return true;
  const char* data = static_cast<const char*>(record->lpData);
  const void* zero = std::memchr(data, '\0', record->cbData);
  std::size_t n = zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - data)
                                  : record->cbData;
  out.assign(data, n);
  return true;
}

// A window procedure lets nothing escape: a failure answers 0.
template <typename F>
std::intptr_t Guarded(F&& answer) {
  try {
    return answer();
  } catch (...) {
    return 0;
  }
}

}  // namespace

std::int64_t SteadyNowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

PlayerWindows::PlayerWindows(WindowHost& host, Player& player, Options options)
    : host_(host), player_(player), clock_(std::move(options.clock)) {
  if (!clock_) clock_ = &SteadyNowMs;
  main_ = host_.Create(MainSpec());
  playlist_ = host_.Create(PlaylistSpec());
  if (options.shoutcast) shoutcast_ = host_.Create(ShoutcastSpec());
}

WindowSpec PlayerWindows::MainSpec() {
  WindowSpec main;
  main.className = "PlayerSimMain";
  main.title = "Winamp";
  main.message = [this](std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
    return Guarded([&]() -> std::intptr_t {
      switch (msg) {
        case hostmsg::WM_HOST_USER:
          return player_.Request(static_cast<std::int32_t>(lparam),
                                 static_cast<std::int32_t>(wparam), clock_());
        case hostmsg::WM_COPYDATA: {
          std::uintptr_t request = 0;
          std::string text;
          if (!CopyDataText(lparam, request, text)) return 0;
          return player_.CopyData(request, text);
        }
        case hostmsg::WM_COMMAND:
          return player_.Command(CommandId(wparam), clock_());
        default:
          return 0;
      }
    });
  };
  main.text = [this] {
    try {
      return player_.Title(clock_());
    } catch (...) {
      return std::string();
    }
  };
  return main;
}

WindowSpec PlayerWindows::PlaylistSpec() {
  WindowSpec playlist;
  playlist.className = hostmsg::kPlaylistClass;
  playlist.title = "Playlist";
  playlist.message = [this](std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
    return Guarded([&]() -> std::intptr_t {
      if (msg != hostmsg::WM_HOST_USER) return 0;
      return player_.PlaylistMessage(wparam, lparam, clock_());
    });
  };
  return playlist;
}

WindowSpec PlayerWindows::ShoutcastSpec() {
  WindowSpec source;
  source.className = "PlayerSimShoutcast";
  source.title = hostmsg::kShoutcastTitle;
  source.message = [this](std::uint32_t msg, std::uintptr_t wparam, std::intptr_t) {
    return Guarded([&]() -> std::intptr_t {
      if (msg != hostmsg::WM_COMMAND) return 0;
      return player_.ShoutcastCommand(CommandId(wparam));
    });
  };
  source.items = {hostmsg::ID_SHOUTCAST_STATUS, hostmsg::ID_SHOUTCAST_CONNECT};
  source.itemText = [this](int id) {
    try {
      return id == hostmsg::ID_SHOUTCAST_CONNECT ? player_.ShoutcastCaption()
                                                 : player_.ShoutcastStatus();
    } catch (...) {
      return std::string();
    }
  };
  return source;
}

PlayerWindows::~PlayerWindows() {
  if (shoutcast_ != host::kNoWindow) host_.Destroy(shoutcast_);
  host_.Destroy(playlist_);
  host_.Destroy(main_);
}

}  // namespace sim
