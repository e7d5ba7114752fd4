#include "protocol/player_state.h"

#include "base/text.h"
#include "protocol/answer_protocol.h"
#include "protocol/host_messages.h"
#include "protocol/query_answers.h"
#include "protocol/request_context.h"

namespace {

std::int32_t Ask(RequestHost& player, std::int32_t request, std::intptr_t data) {
  return static_cast<std::int32_t>(
      player.SendPlayerMessage(hostmsg::WM_HOST_USER, static_cast<std::uintptr_t>(data), request));
}

// One line per line: every CR, LF or CR LF inside becomes one blank.
std::string OneLine(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      out += ' ';
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

PlayerState ReadPlayerState(RequestHost& player) {
  using namespace hostmsg;
  PlayerState s;
  s.playing = Ask(player, IPC_ISPLAYING, 0);
  s.pos = Ask(player, IPC_GETLISTPOS, 0);
  s.length = Ask(player, IPC_GETLISTLENGTH, 0);
  s.title = OneLine(AnswerGETCURRENTTITLE::TitleOf(player.ReadPlayerText(kTitleBuffer)));
  s.ms = Ask(player, IPC_GETOUTPUTTIME, 0);
  s.seconds = Ask(player, IPC_GETOUTPUTTIME, 1);
  s.volume = Ask(player, IPC_SETVOLUME, kVolumeQuery);
  s.shuffle = Ask(player, IPC_GET_SHUFFLE, 0);
  s.repeat = Ask(player, IPC_GET_REPEAT, 0);
  return s;
}

std::string StateText(std::int64_t counter, const PlayerState& s) {
  using text::IntToStr;
  return "counter=" + std::to_string(counter) + "\nplaying=" + IntToStr(s.playing) +
         "\npos=" + IntToStr(s.pos) + "\nlength=" + IntToStr(s.length) + "\ntitle=" + s.title +
         "\nms=" + IntToStr(s.ms) + "\nseconds=" + IntToStr(s.seconds) +
         "\nvolume=" + IntToStr(s.volume) + "\nshuffle=" + IntToStr(s.shuffle) +
         "\nrepeat=" + IntToStr(s.repeat);
}

bool StateChanged(const PlayerState& before, const PlayerState& now, std::int64_t elapsedMs) {
  if (before.playing != now.playing || before.pos != now.pos || before.length != now.length ||
      before.title != now.title || before.seconds != now.seconds || before.volume != now.volume ||
      before.shuffle != now.shuffle || before.repeat != now.repeat) {
    return true;
  }
  const std::int64_t expected = before.ms + (before.playing == 1 ? elapsedMs : 0);
  const std::int64_t off = static_cast<std::int64_t>(now.ms) - expected;
  return off > 2000 || off < -2000;
}

std::int64_t FirstCounter(const clk::UtcTime& now, std::int64_t last) {
  // Days since 1970-01-01 of the civil date (the proleptic Gregorian calendar).
  const std::int64_t y = now.month <= 2 ? now.year - 1 : now.year;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (now.month + (now.month > 2 ? -3 : 9)) + 2) / 5 + now.day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t days = era * 146097 + doe - 719468;
  const std::int64_t seconds = days * 86400 + now.hour * 3600 + now.minute * 60 + now.second;
  const std::int64_t fromTime = seconds * 1000;
  return fromTime > last ? fromTime : last + 1;
}
