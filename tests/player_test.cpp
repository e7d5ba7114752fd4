// The stand-in player's rules, driven through its message-level answers with time as a parameter.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/host_messages.h"
#include "sim/player.h"

namespace {

using namespace hostmsg;
using sim::Player;

// One message to the player at a time "now", and the answer it must give.
enum class Op { Request, Command, PlaylistDelete, PlayFile, ChDir };
struct Step {
  Op op;
  std::int32_t number;  // request, command id or entry index
  std::int32_t data;
  std::int64_t now;
  std::intptr_t expected;
  const char* text = "";  // for PlayFile and ChDir
};

std::intptr_t Apply(Player& p, const Step& s) {
  switch (s.op) {
    case Op::Request:
      return p.Request(s.number, s.data, s.now);
    case Op::Command:
      return p.Command(s.number, s.now);
    case Op::PlaylistDelete:
      return p.PlaylistMessage(PLAYLIST_DELETE_ENTRY, s.number, s.now);
    case Op::PlayFile:
      return p.CopyData(IPC_PLAYFILE, s.text);
    case Op::ChDir:
      return p.CopyData(IPC_CHDIR, s.text);
  }
  return -12345;
}

std::vector<sim::Entry> Three() {
  return {
      {"C:\\a\\one.mp3", "One", 100}, {"C:\\a\\two.mp3", "Two", 200}, {"x/three", "Three", 300}};
}

void RunSteps(const std::vector<Step>& steps, Player& p) {
  for (std::size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(Apply(p, steps[i]), steps[i].expected) << "step " << i;
  }
}

void RunSteps(const std::vector<Step>& steps, std::vector<sim::Entry> entries = Three()) {
  Player p(std::move(entries), "D:\\Player\\Winamp.ini");
  RunSteps(steps, p);
}

constexpr Op R = Op::Request;
constexpr Op C = Op::Command;

TEST(PlayerModel, TransportButtonsAndOutputTime) {
  RunSteps({
      {R, IPC_ISPLAYING, 0, 0, 0},  // starts stopped at entry 0
      {R, IPC_GETLISTPOS, 0, 0, 0},
      {R, IPC_GETOUTPUTTIME, 0, 5000, 0},
      {C, ID_PAUSE, 0, 500, 0},  // pause while stopped does nothing
      {R, IPC_ISPLAYING, 0, 500, 0},
      {C, ID_PLAY, 0, 1000, 0},
      {R, IPC_ISPLAYING, 0, 1000, 1},
      {R, IPC_GETOUTPUTTIME, 0, 3500, 2500},  // advances in real time
      {C, ID_PAUSE, 0, 4000, 0},
      {R, IPC_ISPLAYING, 0, 4000, 3},
      {R, IPC_GETOUTPUTTIME, 0, 9000, 3000},  // held while paused
      {C, ID_PAUSE, 0, 10000, 0},             // pause again resumes
      {R, IPC_GETOUTPUTTIME, 0, 10500, 3500},
      {C, ID_PAUSE, 0, 11000, 0},
      {C, ID_PLAY, 0, 12000, 0},  // play while paused resumes too
      {R, IPC_GETOUTPUTTIME, 0, 12000, 4000},
      {C, ID_PLAY, 0, 13000, 0},  // play while playing starts the entry over
      {R, IPC_GETOUTPUTTIME, 0, 13250, 250},
      {C, ID_STOP, 0, 14000, 0},
      {R, IPC_ISPLAYING, 0, 14000, 0},
      {R, IPC_GETOUTPUTTIME, 0, 20000, 0},
      {C, ID_PLAY, 0, 21000, 0},
      {C, ID_FADEOUTANDSTOP, 0, 22000, 0},
      {R, IPC_ISPLAYING, 0, 22000, 0},
      {C, ID_EXEC_VISUAL, 0, 22000, 0},
  });
}

TEST(PlayerModel, NextAndPreviousWrapAndKeepTheStatus) {
  RunSteps({
      {C, ID_PREV, 0, 0, 0},  // moves while stopped, wrapping at the start
      {R, IPC_GETLISTPOS, 0, 0, 2},
      {C, ID_NEXT, 0, 0, 0},  // and at the end
      {R, IPC_GETLISTPOS, 0, 0, 0},
      {C, ID_NEXT, 0, 0, 0},
      {R, IPC_ISPLAYING, 0, 0, 0},
      {C, ID_PLAY, 0, 1000, 0},
      {C, ID_NEXT, 0, 5000, 0},  // while playing the new entry plays from its start
      {R, IPC_GETLISTPOS, 0, 5000, 2},
      {R, IPC_GETOUTPUTTIME, 0, 6000, 1000},
      {R, IPC_ISPLAYING, 0, 6000, 1},
      {C, ID_PAUSE, 0, 7000, 0},
      {C, ID_PREV, 0, 8000, 0},  // paused: the new entry waits at 0
      {R, IPC_ISPLAYING, 0, 9000, 3},
      {R, IPC_GETOUTPUTTIME, 0, 9000, 0},
      {R, IPC_SETPLAYLISTPOS, 0, 9000, 0},
      {R, IPC_GETLISTPOS, 0, 9000, 0},
      {R, IPC_SETPLAYLISTPOS, 3, 9000, -1},  // outside the list: nothing changes
      {R, IPC_SETPLAYLISTPOS, -1, 9000, -1},
      {R, IPC_GETLISTPOS, 0, 9000, 0},
  });
}

TEST(PlayerModel, AnEndedTrackHandsOverToTheNextEntry) {
  RunSteps({
      {C, ID_PLAY, 0, 0, 0},
      {R, IPC_GETLISTPOS, 0, 99999, 0},
      {R, IPC_GETLISTPOS, 0, 100000, 1},
      {R, IPC_GETOUTPUTTIME, 0, 100500, 500},
      {R, IPC_GETOUTPUTTIME, 1, 100500, 200},
      {R, IPC_GETLISTPOS, 0, 300000, 2},
      // After the last entry the player stops there.
      {R, IPC_ISPLAYING, 0, 600000, 0},
      {R, IPC_GETLISTPOS, 0, 600000, 2},
      {R, IPC_GETOUTPUTTIME, 0, 600000, 0},
  });
  // With repeat on it starts over; whole rounds of the playlist are skipped at once.
  RunSteps({
      {R, IPC_SET_REPEAT, 1, 0, 1},
      {C, ID_PLAY, 0, 0, 0},
      {R, IPC_GETLISTPOS, 0, 600000, 0},
      {R, IPC_GETLISTPOS, 0, 1000LL * 600000 + 150000, 1},
      {R, IPC_GETOUTPUTTIME, 0, 1000LL * 600000 + 150000, 50000},
      {R, IPC_ISPLAYING, 0, 1000LL * 600000 + 150000, 1},
  });
  // An entry without a known length plays until stopped.
  RunSteps({{C, ID_PLAY, 0, 0, 0}, {R, IPC_GETOUTPUTTIME, 0, 90000000, 90000000}},
           {{"stream", "Stream", -1}, {"b", "B", 10}});
}

TEST(PlayerModel, JumpToTime) {
  RunSteps({
      {R, IPC_JUMPTOTIME, 1000, 0, -1},  // not playing
      {C, ID_PLAY, 0, 0, 0},
      {R, IPC_JUMPTOTIME, 100000, 10, 1},  // past the end of the 100 s track: no seek
      {R, IPC_GETOUTPUTTIME, 0, 10, 10},
      {R, IPC_JUMPTOTIME, 99999, 10, 0},
      {R, IPC_GETOUTPUTTIME, 0, 10, 99999},
      {R, IPC_JUMPTOTIME, -5, 10, 0},  // before the start: to the start
      {R, IPC_GETOUTPUTTIME, 0, 20, 10},
      {C, ID_PAUSE, 0, 30, 0},
      {R, IPC_JUMPTOTIME, 4000, 40, 0},  // paused: seeks and stays paused
      {R, IPC_GETOUTPUTTIME, 0, 9000, 4000},
      {R, IPC_ISPLAYING, 0, 9000, 3},
  });
}

TEST(PlayerModel, VolumeIsClampedAndSteps) {
  RunSteps({
      {R, IPC_SETVOLUME, kVolumeQuery, 0, Player::kInitialVolume},
      {R, IPC_SETVOLUME, 300, 0, 255},
      {C, ID_VOLUMEUP, 0, 0, 0},
      {R, IPC_SETVOLUME, kVolumeQuery, 0, 255},
      {C, ID_VOLUMEDOWN, 0, 0, 0},
      {R, IPC_SETVOLUME, kVolumeQuery, 0, 255 - Player::kVolumeStep},
      {R, IPC_SETVOLUME, -5, 0, 0},
      {C, ID_VOLUMEDOWN, 0, 0, 0},
      {R, IPC_SETVOLUME, kVolumeQuery, 0, 0},
      {C, ID_VOLUMEUP, 0, 0, 0},
      {R, IPC_SETVOLUME, kVolumeQuery, 0, Player::kVolumeStep},
  });
}

TEST(PlayerModel, EqualiserSelectsThenSetsABand) {
  RunSteps({
      {R, IPC_SETEQDATA, 10, 0, -1},  // nothing selected yet
      {R, IPC_GETEQDATA, 3, 0, Player::kEqMiddle},
      {R, IPC_SETEQDATA, 70, 0, 63},  // bands and preamp: 0-63
      {R, IPC_GETEQDATA, 3, 0, 63},
      {R, IPC_GETEQDATA, 4, 0, Player::kEqMiddle},
      {R, IPC_GETEQDATA, 10, 0, Player::kEqMiddle},
      {R, IPC_SETEQDATA, -3, 0, 0},
      {R, IPC_GETEQDATA, 11, 0, 0},  // enabled and autoload: 0 or 1
      {R, IPC_SETEQDATA, 5, 0, 1},
      {R, IPC_GETEQDATA, 12, 0, 0},
      // A band outside 0-12 reads 0 and leaves nothing selected, so no other band changes.
      {R, IPC_GETEQDATA, 13, 0, 0},
      {R, IPC_SETEQDATA, 9, 0, -1},
      {R, IPC_GETEQDATA, -1, 0, 0},
      {R, IPC_SETEQDATA, 9, 0, -1},
      {R, IPC_GETEQDATA, 11, 0, 1},
  });
}

TEST(PlayerModel, StreamInfoOnlyWhilePlayingOrPaused) {
  RunSteps({
      {R, IPC_GETINFO, 0, 0, 0},
      {R, IPC_GETINFO, 1, 0, 0},
      {R, IPC_GETINFO, 2, 0, 0},
      {C, ID_PLAY, 0, 0, 0},
      {R, IPC_GETINFO, 0, 0, Player::kSampleRateKHz},
      {R, IPC_GETINFO, 1, 0, Player::kBitRateKbps},
      {R, IPC_GETINFO, 2, 0, Player::kChannels},
      {R, IPC_GETINFO, 3, 0, 0},
      {C, ID_PAUSE, 0, 0, 0},
      {R, IPC_GETINFO, 2, 0, Player::kChannels},
  });
}

TEST(PlayerModel, PlaylistChanges) {
  RunSteps({
      {R, IPC_GETOUTPUTTIME, 1, 0, 100},
      {R, IPC_GETOUTPUTTIME, 2, 0, -1},
      {Op::PlayFile, 0, 0, 0, 1, "D:\\in/mixed\\Song.flac"},
      {R, IPC_GETLISTLENGTH, 0, 0, 4},
      {Op::PlayFile, 0, 0, 0, 0, ""},  // nothing to add
      {R, IPC_GETLISTLENGTH, 0, 0, 4},
      {Op::ChDir, 0, 0, 0, 1, "E:\\Music"},
      {Op::PlaylistDelete, 4, 0, 0, 0},  // past the end
      {Op::PlaylistDelete, -1, 0, 0, 0},
      {R, IPC_SETPLAYLISTPOS, 2, 0, 2},
      {Op::PlaylistDelete, 0, 0, 0, 1},  // before the position: the position follows its entry
      {R, IPC_GETLISTPOS, 0, 0, 1},
      {C, ID_PLAY, 0, 0, 0},
      {Op::PlaylistDelete, 1, 0, 0, 1},  // the current entry: playback stops
      {R, IPC_ISPLAYING, 0, 0, 0},
      {R, IPC_GETLISTPOS, 0, 0, 1},  // now the entry that followed
      {Op::PlaylistDelete, 1, 0, 0, 1},
      {R, IPC_GETLISTPOS, 0, 0, 0},  // the last one went: back to the one before
      {R, IPC_GETLISTLENGTH, 0, 0, 1},
      {C, ID_PLAY, 0, 0, 0},
      {R, IPC_DELETE, 0, 0, 1},
      {R, IPC_GETLISTLENGTH, 0, 0, 0},
      {R, IPC_ISPLAYING, 0, 0, 0},
      {C, ID_PLAY, 0, 0, 0},  // nothing to play
      {C, ID_NEXT, 0, 0, 0},
      {R, IPC_ISPLAYING, 0, 0, 0},
      {R, IPC_GETLISTPOS, 0, 0, 0},
      {R, IPC_GETOUTPUTTIME, 1, 0, -1},
      {R, IPC_GETPLAYLISTTITLE, 0, 0, 0},
  });
}

TEST(PlayerModel, FixedAnswersAndSwitches) {
  RunSteps({
      {R, IPC_GETVERSION, 0, 0, 0x5666},
      {R, IPC_INETAVAILABLE, 0, 0, 1},
      {R, IPC_UPDTITLE, 0, 0, 0},
      {R, IPC_REFRESHPLCACHE, 0, 0, 0},
      {R, 9999, 0, 0, 0},
      {R, IPC_GET_SHUFFLE, 0, 0, 0},
      {R, IPC_SET_SHUFFLE, 1, 0, 1},
      {R, IPC_GET_SHUFFLE, 0, 0, 1},
      {R, IPC_SET_SHUFFLE, 7, 0, 1},
      {R, IPC_SET_SHUFFLE, 0, 0, 0},
      {R, IPC_GET_REPEAT, 0, 0, 0},
      {R, IPC_SET_REPEAT, 1, 0, 1},
      {R, IPC_GET_REPEAT, 0, 0, 1},
      {R, IPC_RESTARTWINAMP, 0, 0, 1},
      {R, IPC_RESTARTWINAMP, 0, 0, 1},
      {R, IPC_ISPLAYING, 0, 0, 0},  // the player keeps running
  });
}

std::string TextAt(std::intptr_t address) {
  return address == 0 ? std::string("<none>") : std::string(reinterpret_cast<const char*>(address));
}

TEST(PlayerModel, TextResultsStayValidAfterThePlaylistChanges) {
  Player p(Three(), "D:\\Player\\Winamp.ini");
  std::intptr_t file = p.Request(IPC_GETPLAYLISTFILE, 1, 0);
  std::intptr_t title = p.Request(IPC_GETPLAYLISTTITLE, 1, 0);
  std::intptr_t ini = p.Request(IPC_GETINIFILE, 0, 0);
  EXPECT_EQ(TextAt(p.Request(IPC_GETPLAYLISTFILE, 3, 0)), "<none>");
  EXPECT_EQ(TextAt(p.Request(IPC_GETPLAYLISTTITLE, -1, 0)), "<none>");
  p.Request(IPC_DELETE, 0, 0);
  for (int i = 0; i < 200; ++i) p.CopyData(IPC_PLAYFILE, "f" + std::to_string(i) + ".mp3");
  EXPECT_EQ(TextAt(file), "C:\\a\\two.mp3");
  EXPECT_EQ(TextAt(title), "Two");
  EXPECT_EQ(TextAt(ini), "D:\\Player\\Winamp.ini");
  EXPECT_EQ(TextAt(p.Request(IPC_GETPLAYLISTTITLE, 199, 0)), "f199");
  EXPECT_EQ(TextAt(p.Request(IPC_GETPLAYLISTFILE, 0, 0)), "f0.mp3");
}

TEST(PlayerModel, TitleShowsNumberTitleAndStatus) {
  Player p(Three(), "");
  struct Case {
    std::int32_t command;
    std::string title;
  } cases[] = {
      {0, "1. One - Winamp [Stopped]"},       {ID_PLAY, "1. One - Winamp"},
      {ID_NEXT, "2. Two - Winamp"},           {ID_PAUSE, "2. Two - Winamp [Paused]"},
      {ID_STOP, "2. Two - Winamp [Stopped]"},
  };
  for (const auto& c : cases) {
    if (c.command != 0) p.Command(c.command, 0);
    EXPECT_EQ(p.Title(0), c.title);
  }
  p.Request(IPC_DELETE, 0, 0);
  EXPECT_EQ(p.Title(0), "Winamp [Stopped]");
}

TEST(PlayerModel, StateReportsEverything) {
  Player p(Three(), "");
  p.Command(ID_NEXT, 0);
  p.Command(ID_PLAY, 1000);
  p.Request(IPC_GETEQDATA, 2, 0);
  p.Request(IPC_SETEQDATA, 40, 0);
  p.Request(IPC_SET_SHUFFLE, 1, 0);
  p.CopyData(IPC_CHDIR, "E:\\Music");
  p.Request(IPC_RESTARTWINAMP, 0, 0);
  p.ShoutcastCommand(ID_SHOUTCAST_CONNECT);
  sim::PlayerState s = p.State(3500);
  EXPECT_EQ(s.status, 1);
  EXPECT_EQ(s.volume, Player::kInitialVolume);
  EXPECT_EQ(s.position, 1);
  EXPECT_EQ(s.outputTime, 2500);
  ASSERT_EQ(s.entries.size(), 3u);
  EXPECT_EQ(s.entries[2].file, "x/three");
  EXPECT_EQ(s.eq[2], 40);
  EXPECT_EQ(s.eq[3], Player::kEqMiddle);
  EXPECT_EQ(s.shuffle, 1);
  EXPECT_EQ(s.repeat, 0);
  EXPECT_EQ(s.folder, "E:\\Music");
  EXPECT_EQ(s.restarts, 1);
  EXPECT_EQ(s.shoutcastCaption, "Kill");
  EXPECT_EQ(s.shoutcastStatus, "Connected");
}

TEST(PlayerModel, DemoPlaylistAndTitlesFromFileNames) {
  EXPECT_GE(sim::DemoPlaylist().size(), 3u);
  struct Case {
    std::string file, title;
  } cases[] = {
      {"C:\\Music\\Song.mp3", "Song"},
      {"/home/u/a.b.ogg", "a.b"},
      {"d:\\x/y\\z", "z"},
      {"plain", "plain"},
      {".hidden", ".hidden"},
      {"dir.d/", ""},
      {"M\xFCller.mp3", "M\xFCller"},
  };
  for (const auto& c : cases) EXPECT_EQ(sim::TitleFromFile(c.file), c.title) << c.file;
}

}  // namespace
