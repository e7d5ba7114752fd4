#include "sim/player.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "base/text.h"
#include "protocol/host_messages.h"

namespace sim {

namespace {

constexpr const char* kTitleSuffix = " - Winamp";

// The connect button's caption and the status line, disconnected or connected.
std::pair<const char*, const char*> ShoutcastTexts(bool connected) {
  if (connected) return {"Kill", "Connected"};
  return {"Connect", "Not connected"};
}

std::intptr_t Clamp32(std::int64_t v) {
  return static_cast<std::intptr_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

std::vector<Entry> DemoPlaylist() {
  return {
      {"C:\\Music\\Demo\\01 - Morning Light.mp3", "Demo Ensemble - Morning Light", 215},
      {"C:\\Music\\Demo\\02 - Abendlied.mp3",
       "Kapelle M\xFC"
       "ller - Abendlied",
       187},
      {"C:\\Music\\Demo\\03 - Night Train.mp3", "The Placeholders - Night Train", 242},
  };
}

std::string TitleFromFile(const std::string& file) {
  std::size_t slash = file.find_last_of("\\/");
  std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return text::Trim(name);
}

const char* TextPool::Intern(const std::string& text) {
  std::lock_guard<std::mutex> g(lock_);
  return texts_.insert(text).first->c_str();
}

Player::Player(std::vector<Entry> playlist, std::string iniPath)
    : entries_(std::move(playlist)), iniPath_(std::move(iniPath)) {
  eq_.fill(kEqMiddle);
  eq_[11] = 0;  // equaliser off
  eq_[12] = 0;  // autoload off
}

std::int64_t Player::LengthMs(int index) const {
  if (index < 0 || index >= Count()) return 0;
  return entries_[static_cast<std::size_t>(index)].length > 0
             ? std::int64_t{entries_[static_cast<std::size_t>(index)].length} * 1000
             : 0;
}

std::int64_t Player::OutputTime(std::int64_t now) const {
  if (status_ == kPlaying) return std::max<std::int64_t>(0, now - startedAt_);
  return heldTime_;
}

// A track that has played to its end hands over to the next entry; after the last one the
// player stops there, or starts over with repeat on. Entries without a known length play until
// stopped. The loop is bounded: at most one round through the playlist, then the whole rounds
// that fit into the time are skipped at once, then at most one more round.
void Player::Advance(std::int64_t now) {
  const int n = Count();
  int steps = 0;
  bool skipped = false;
  while (status_ == kPlaying && n > 0) {
    const std::int64_t length = LengthMs(position_);
    if (length <= 0 || now - startedAt_ < length) return;
    if (position_ + 1 < n) {
      ++position_;
    } else if (repeat_ != 0) {
      position_ = 0;
    } else {
      Stop();
      return;
    }
    startedAt_ += length;
    if (++steps == n && !skipped) {
      // Every entry has just ended once, so every length is known.
      std::int64_t round = 0;
      for (int i = 0; i < n; ++i) round += LengthMs(i);
      startedAt_ += ((now - startedAt_) / round) * round;
      skipped = true;
    }
  }
}

void Player::Play(std::int64_t now) {
  if (Count() == 0) return;
  startedAt_ = status_ == kPaused ? now - heldTime_ : now;
  status_ = kPlaying;
}

void Player::Pause(std::int64_t now) {
  if (status_ == kPlaying) {
    heldTime_ = OutputTime(now);
    status_ = kPaused;
  } else if (status_ == kPaused) {
    startedAt_ = now - heldTime_;
    status_ = kPlaying;
  }
}

void Player::Stop() {
  status_ = kStopped;
  heldTime_ = 0;
}

void Player::MoveTo(int index, std::int64_t now) {
  position_ = index;
  startedAt_ = now;
  heldTime_ = 0;
}

std::int32_t Player::JumpToTime(std::int32_t ms, std::int64_t now) {
  if (status_ == kStopped) return -1;
  const std::int64_t length = LengthMs(position_);
  if (length > 0 && ms >= length) return 1;
  const std::int64_t to = std::max<std::int32_t>(ms, 0);
  if (status_ == kPlaying) {
    startedAt_ = now - to;
  } else {
    heldTime_ = to;
  }
  return 0;
}

std::int32_t Player::SelectBand(std::int32_t band) {
  if (band < 0 || band >= static_cast<std::int32_t>(eq_.size())) {
    selectedBand_ = -1;
    return 0;
  }
  selectedBand_ = band;
  return eq_[static_cast<std::size_t>(band)];
}

std::int32_t Player::SetSelectedBand(std::int32_t level) {
  if (selectedBand_ < 0) return -1;
  const int top = selectedBand_ <= 10 ? 63 : 1;
  int& value = eq_[static_cast<std::size_t>(selectedBand_)];
  value = std::clamp<std::int32_t>(level, 0, top);
  return value;
}

std::int32_t Player::DeleteEntry(std::intptr_t index) {
  if (index < 0 || index >= Count()) return 0;
  entries_.erase(entries_.begin() + index);
  if (index < position_) {
    --position_;
  } else if (index == position_) {
    Stop();
    position_ = std::min(position_, std::max(0, Count() - 1));
  }
  return 1;
}

std::int32_t Player::Info(std::int32_t which) const {
  if (status_ == kStopped) return 0;
  switch (which) {
    case 0:
      return kSampleRateKHz;
    case 1:
      return kBitRateKbps;
    case 2:
      return kChannels;
    default:
      return 0;
  }
}

std::intptr_t Player::Request(std::int32_t request, std::int32_t data, std::int64_t now) {
  std::lock_guard<std::mutex> g(lock_);
  Advance(now);
  using namespace hostmsg;
  switch (request) {
    case IPC_GETVERSION:
      return kVersion;
    case IPC_DELETE:
      entries_.clear();
      Stop();
      position_ = 0;
      return 1;
    case IPC_ISPLAYING:
      return status_;
    case IPC_GETOUTPUTTIME:
      if (data == 0) return Clamp32(OutputTime(now));
      if (data == 1) {
        return Count() > 0 ? entries_[static_cast<std::size_t>(position_)].length : -1;
      }
      return -1;
    case IPC_JUMPTOTIME:
      return JumpToTime(data, now);
    case IPC_SETPLAYLISTPOS:
      if (data < 0 || data >= Count()) return -1;
      MoveTo(data, now);
      return position_;
    case IPC_SETVOLUME:
      if (data != kVolumeQuery) volume_ = std::clamp<std::int32_t>(data, 0, 255);
      return volume_;
    case IPC_GETLISTLENGTH:
      return Count();
    case IPC_GETLISTPOS:
      return position_;
    case IPC_GETINFO:
      return Info(data);
    case IPC_GETEQDATA:
      return SelectBand(data);
    case IPC_SETEQDATA:
      return SetSelectedBand(data);
    case IPC_RESTARTWINAMP:
      ++restarts_;
      return 1;
    case IPC_GETPLAYLISTFILE:
    case IPC_GETPLAYLISTTITLE: {
      if (data < 0 || data >= Count()) return 0;
      const Entry& e = entries_[static_cast<std::size_t>(data)];
      return reinterpret_cast<std::intptr_t>(
          pool_.Intern(request == IPC_GETPLAYLISTFILE ? e.file : e.title));
    }
    case IPC_INETAVAILABLE:
      return 1;
    case IPC_GET_SHUFFLE:
      return shuffle_;
    case IPC_GET_REPEAT:
      return repeat_;
    case IPC_SET_SHUFFLE:
      shuffle_ = data != 0 ? 1 : 0;
      return shuffle_;
    case IPC_SET_REPEAT:
      repeat_ = data != 0 ? 1 : 0;
      return repeat_;
    case IPC_GETINIFILE:
      return reinterpret_cast<std::intptr_t>(pool_.Intern(iniPath_));
    default:  // IPC_UPDTITLE, IPC_REFRESHPLCACHE and every request the player does not know
      return 0;
  }
}

std::intptr_t Player::CopyData(std::uintptr_t request, const std::string& text) {
  std::lock_guard<std::mutex> g(lock_);
  if (request == static_cast<std::uintptr_t>(hostmsg::IPC_PLAYFILE)) {
    if (text.empty()) return 0;
    entries_.push_back({text, TitleFromFile(text), -1});
    return 1;
  }
  if (request == static_cast<std::uintptr_t>(hostmsg::IPC_CHDIR)) {
    folder_ = text;
    return 1;
  }
  return 0;
}

std::intptr_t Player::Command(int id, std::int64_t now) {
  std::lock_guard<std::mutex> g(lock_);
  Advance(now);
  const int n = Count();
  using namespace hostmsg;
  switch (id) {
    case ID_PLAY:
      Play(now);
      break;
    case ID_PAUSE:
      Pause(now);
      break;
    case ID_STOP:
    case ID_FADEOUTANDSTOP:
      Stop();
      break;
    case ID_NEXT:
      if (n > 0) MoveTo((position_ + 1) % n, now);
      break;
    case ID_PREV:
      if (n > 0) MoveTo((position_ + n - 1) % n, now);
      break;
    case ID_VOLUMEUP:
      volume_ = std::min(255, volume_ + kVolumeStep);
      break;
    case ID_VOLUMEDOWN:
      volume_ = std::max(0, volume_ - kVolumeStep);
      break;
    default:  // ID_EXEC_VISUAL: there is no visualisation to run
      break;
  }
  return 0;
}

std::intptr_t Player::PlaylistMessage(std::uintptr_t wparam, std::intptr_t lparam,
                                      std::int64_t now) {
  std::lock_guard<std::mutex> g(lock_);
  Advance(now);
  if (wparam != static_cast<std::uintptr_t>(hostmsg::PLAYLIST_DELETE_ENTRY)) return 0;
  return DeleteEntry(lparam);
}

std::string Player::Title(std::int64_t now) {
  std::lock_guard<std::mutex> g(lock_);
  Advance(now);
  std::string title = "Winamp";
  if (Count() > 0) {
    title = std::to_string(position_ + 1) + ". " +
            entries_[static_cast<std::size_t>(position_)].title + kTitleSuffix;
  }
  if (status_ == kPaused) title += " [Paused]";
  if (status_ == kStopped) title += " [Stopped]";
  return title;
}

std::intptr_t Player::ShoutcastCommand(int id) {
  std::lock_guard<std::mutex> g(lock_);
  if (id == hostmsg::ID_SHOUTCAST_CONNECT) shoutcastConnected_ = !shoutcastConnected_;
  return 0;
}

std::string Player::ShoutcastCaption() {
  std::lock_guard<std::mutex> g(lock_);
  return ShoutcastTexts(shoutcastConnected_).first;
}

std::string Player::ShoutcastStatus() {
  std::lock_guard<std::mutex> g(lock_);
  return ShoutcastTexts(shoutcastConnected_).second;
}

PlayerState Player::State(std::int64_t now) {
  std::lock_guard<std::mutex> g(lock_);
  Advance(now);
  PlayerState s;
  s.status = status_;
  s.volume = volume_;
  s.position = position_;
  s.outputTime = OutputTime(now);
  s.entries = entries_;
  s.eq = eq_;
  s.shuffle = shuffle_;
  s.repeat = repeat_;
  s.folder = folder_;
  s.restarts = restarts_;
  s.shoutcastCaption = ShoutcastTexts(shoutcastConnected_).first;
  s.shoutcastStatus = ShoutcastTexts(shoutcastConnected_).second;
  return s;
}

}  // namespace sim
