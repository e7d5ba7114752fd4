// Every command's reply bytes and the messages the player received, over loopback.
#include <gtest/gtest.h>

#include <chrono>

#include "plugin/interface.h"
#include "protocol/control_answers.h"
#include "protocol/host_messages.h"
#include "protocol/query_answers.h"
#include "tests/fake_host.h"
#include "ui/config_dlg.h"

namespace {

using namespace testing_support;
using namespace hostmsg;
using Calls = std::vector<HostCall>;

HostCall Ipc(std::intptr_t data, std::intptr_t request) {
  return {WM_HOST_USER, static_cast<std::uintptr_t>(data), request, {}};
}
HostCall Command(std::uintptr_t id) {
  return {WM_COMMAND, id, 0, {}};
}
HostCall Copy(std::intptr_t request, const std::string& bytes) {
  return {WM_COPYDATA, 0, request, bytes};
}

class Answers : public AnswerTest {};

TEST_F(Answers, EveryCommandSendsItsMessagesAndRepliesTheResult) {
  // One result per request number, distinct so that a reply shows which request it came from.
  const std::pair<std::int32_t, std::intptr_t> results[] = {
      {IPC_GETLISTLENGTH, 3}, {IPC_GETLISTPOS, 2},      {IPC_GETVERSION, 0x5666},
      {IPC_SETVOLUME, 200},   {IPC_INETAVAILABLE, 1},   {IPC_ISPLAYING, 4},
      {IPC_GET_REPEAT, 5},    {IPC_UPDTITLE, -1},       {IPC_REFRESHPLCACHE, 7},
      {IPC_DELETE, 11},       {IPC_RESTARTWINAMP, 13},  {IPC_GETEQDATA, 40},
      {IPC_GETINFO, 128},     {IPC_GETOUTPUTTIME, 215}, {IPC_JUMPTOTIME, -2},
      {IPC_SETEQDATA, 33},    {IPC_SETPLAYLISTPOS, 99}};
  for (const auto& [request, result] : results) SetResult(request, result);
  SetResult(IPC_CHDIR, 104, WM_COPYDATA);
  SetResult(IPC_PLAYFILE, 101, WM_COPYDATA);
  SetResult(ID_EXEC_VISUAL, 8, WM_COMMAND);
  SetResult(ID_PLAY, 9, WM_COMMAND);  // a button's result is not replied
  struct Case {
    const char* target;
    Calls calls;
    const char* reply;
  } cases[] = {
      {"GETLISTLENGTH?", {Ipc(0, IPC_GETLISTLENGTH)}, "3"},
      {"GETLISTPOS?", {Ipc(0, IPC_GETLISTPOS)}, "2"},
      {"GETVERSION?", {Ipc(0, IPC_GETVERSION)}, "22118"},
      {"GETVOLUME?", {Ipc(kVolumeQuery, IPC_SETVOLUME)}, "200"},
      {"INTERNET?", {Ipc(0, IPC_INETAVAILABLE)}, "1"},
      {"ISPLAYING?", {Ipc(0, IPC_ISPLAYING)}, "4"},
      {"REPEAT_STATUS?", {Ipc(0, IPC_GET_REPEAT)}, "5"},
      {"SHUFFLE_STATUS?", {Ipc(0, IPC_GET_SHUFFLE)}, "0"},
      {"UPDATECURRENTTITLE?", {Ipc(0, IPC_UPDTITLE)}, "-1"},
      {"FLUSHPLAYLIST?", {Ipc(0, IPC_REFRESHPLCACHE)}, "7"},
      {"DELETE?", {Ipc(0, IPC_DELETE)}, "11"},
      {"RESTART?", {Ipc(0, IPC_RESTARTWINAMP)}, "13"},
      {"GETINIFILE?", {Ipc(0, IPC_GETINIFILE)}, nullptr},
      // One integer parameter; the last one carries the blank before "HTTP/".
      {"GETEQDATA?band=12", {Ipc(12, IPC_GETEQDATA)}, "40"},
      {"GETINFO?info=1", {Ipc(1, IPC_GETINFO)}, "128"},
      {"GETOUTPUTTIME?frmt=0&x", {Ipc(0, IPC_GETOUTPUTTIME)}, "215"},
      {"JUMPTOTIME?ms=5000", {Ipc(5000, IPC_JUMPTOTIME)}, "-2"},
      {"SETVOLUME?level=255", {Ipc(255, IPC_SETVOLUME)}, "200"},
      {"SHUFFLE?enable=1", {Ipc(1, IPC_SET_SHUFFLE)}, "0"},  // the player's 0
      {"SETPLAYLISTPOS?index=3", {Ipc(0, IPC_GETLISTLENGTH)}, "0"},
      {"SETPLAYLISTPOS?index= 2", {Ipc(0, IPC_GETLISTLENGTH), Ipc(2, IPC_SETPLAYLISTPOS)}, "1"},
      {"SETEQDATA?band=3x&level=+40", {Ipc(3, IPC_GETEQDATA), Ipc(40, IPC_SETEQDATA)}, "33"},
      {"SETEQDATA?", {Ipc(0, IPC_GETEQDATA), Ipc(0, IPC_SETEQDATA)}, "33"},
      // Copy-data: the text as received with its closing zero byte.
      {"CHDIR?dir=C:\\My Music", {Copy(IPC_CHDIR, std::string("C:\\My Music \0", 13))}, "104"},
      {"PLAYFILE?file=%20y.mp3&a", {Copy(IPC_PLAYFILE, std::string("%20y.mp3\0", 9))}, "101"},
      {"PLAYFILE?", {Copy(IPC_PLAYFILE, std::string("\0", 1))}, "101"},
      {"EXEC_VISUAL?", {Command(ID_EXEC_VISUAL)}, "8"},
      {"PLAY?", {Command(ID_PLAY)}, "NULL"},
      {"PAUSE?", {Command(ID_PAUSE)}, "NULL"},
      {"STOP?", {Command(ID_STOP)}, "NULL"},
      {"NEXT?", {Command(ID_NEXT)}, "NULL"},
      {"PREV?", {Command(ID_PREV)}, "NULL"},
      {"VOLUMEUP?", {Command(ID_VOLUMEUP)}, "NULL"},
      {"VOLUMEDOWN?", {Command(ID_VOLUMEDOWN)}, "NULL"},
      {"FADEOUTANDSTOP?", {Command(ID_FADEOUTANDSTOP)}, "NULL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    main_->ClearCalls();
    EXPECT_EQ(Ask(c.target), (c.reply ? std::string(c.reply) : player_->iniPath) + "\n");
    EXPECT_EQ(main_->Calls(), c.calls);
  }
  auto lines = EvaluationLines("CHDIR?dir=C:\\x&y");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Server: Server: Setze Pfad auf (C:\\x)"), 1);
}

TEST_F(Answers, OutOfRangeOrMissingValuesAnswerZeroWithoutAskingThePlayer) {
  const std::string failed = "Server: FEHLER in (AnswerStandardParam::SendAnswer)";
  struct Case {
    const char* target;
    bool failure;  // not an integer: logged
  } cases[] = {{"GETEQDATA?band=13", false},
               {"GETEQDATA?band=-1", false},
               {"GETINFO?info=3", false},
               {"GETOUTPUTTIME?frmt=2", false},
               {"GETPLAYLISTTITLE?index=-1", false},
               {"GETPLAYLISTFILE?index=-1", false},
               {"JUMPTOTIME?ms=-1", false},
               {"SETVOLUME?level=256", false},
               {"SETVOLUME?level=-1", false},
               {"SHUFFLE?enable=2", false},
               {"SETVOLUME?", false},
               {"GETEQDATA?band=", false},
               {"GETEQDATA?band=1x", true},
               {"GETINFO?info=99999999999", true},
               {"SETPLAYLISTPOS?index=", false},
               {"SETPLAYLISTPOS?index=2x", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    main_->ClearCalls();
    std::string reply;
    auto lines = EvaluationLines(c.target, &reply);
    EXPECT_EQ(reply, "0\n");
    EXPECT_TRUE(main_->Calls().empty());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), failed), c.failure ? 1 : 0);
  }
}

Calls WholeList(std::int32_t request) {
  return {Ipc(0, IPC_GETLISTLENGTH), Ipc(0, request), Ipc(1, request), Ipc(2, request)};
}

TEST_F(Answers, PlaylistListAndIndexForms) {
  entries = {"C:\\Music\\a.mp3", "  b.mp3\t", "\x01"};
  SetResult(IPC_GETLISTLENGTH, 3);
  struct Case {
    const char* target;
    const char* reply;
    Calls calls;
  } cases[] = {
      {"GETPLAYLISTFILE?delim=;", "C:\\Music\\a.mp3;b.mp3;0", WholeList(IPC_GETPLAYLISTFILE)},
      // A delimiter of blanks is given, and trimmed to nothing.
      {"GETPLAYLISTTITLE?delim=   ", "C:\\Music\\a.mp3b.mp30", WholeList(IPC_GETPLAYLISTTITLE)},
      {"GETPLAYLISTFILE?index=1&delim=--", "C:\\Music\\a.mp3--b.mp3--0",
       WholeList(IPC_GETPLAYLISTFILE)},
      // The single entry is replied as the player holds it.
      {"GETPLAYLISTFILE?delim=&index=1", "  b.mp3\t", {Ipc(1, IPC_GETPLAYLISTFILE)}},
      {"GETPLAYLISTTITLE?index=0", "C:\\Music\\a.mp3", {Ipc(0, IPC_GETPLAYLISTTITLE)}},
      {"GETPLAYLISTTITLE?index=2", "0", {Ipc(2, IPC_GETPLAYLISTTITLE)}},
      {"GETPLAYLISTTITLE?index=9", "0", {Ipc(9, IPC_GETPLAYLISTTITLE)}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    main_->ClearCalls();
    EXPECT_EQ(Ask(c.target), std::string(c.reply) + "\n");
    EXPECT_EQ(main_->Calls(), c.calls);
  }
  SetResult(IPC_GETLISTLENGTH, 0);
  EXPECT_EQ(Ask("GETPLAYLISTFILE?delim=;"), "\n");
}

TEST_F(Answers, PlaylistQueryWithoutDelimOrIndexIsNotAnswered) {
  for (int mode : {1, 0}) {
    Config().StrgAllowCombo.SetSelected(mode);
    std::string reply = "x";
    auto lines = EvaluationLines("GETPLAYLISTTITLE?index=&x=1", &reply);
    std::vector<std::string> expected = {
        "Server: Keine IPs in Liste gefunden", "Server: IP (127.0.0.1) erlaubt",
        "Server: Parameter (p) nicht gefunden", "Server: Passwort aktzeptiert",
        "Server: Abbruch, da Parameter (delim) oder (index) fehlen"};
    if (mode == 1) expected.push_back("Server: Befehl (GETPLAYLISTTITLE) ist nicht verf\xFCgbar");
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(reply, "");
  }
}

TEST_F(Answers, CurrentTitleDropsTheSuffix) {
  struct Case {
    std::string text;
    std::string reply;
  } cases[] = {
      {"3. Artist - Song - Winamp", "3. Artist - Song"},
      {"3. Artist - Song   - WINAMP [Paused]", "3. Artist - Song"},
      {"1. a - winamp b - Winamp", "1. a - winamp b"},
      {"no suffix", ""},
      {"- Winamp", ""},
      {"Winamp", ""},
      {std::string(2030, 'a') + " - Winamp", std::string(2030, 'a')},
      // Only 2047 bytes of the title are read: the suffix is cut off.
      {std::string(2040, 'a') + " - Winamp", ""},
  };
  for (const auto& c : cases) {
    main_->SetText(c.text);
    EXPECT_EQ(Ask("GETCURRENTTITLE?"), c.reply + "\n") << c.text.substr(0, 40);
  }
  EXPECT_TRUE(main_->Calls().empty());
  // The whole state keeps its one line per key: a line break in the title is one blank.
  main_->SetText("1. A\r\nB\nC\r - Winamp");
  const std::string state = Ask("GETSTATE?");
  EXPECT_NE(state.find("\ntitle=1. A B C \nms="), std::string::npos) << state;
}

TEST_F(Answers, DeletePositionGoesToThePlaylistWindow) {
  SetResult(IPC_GETLISTLENGTH, 5);
  EXPECT_EQ(Ask("DELETEPOS?index=1"), "0\n");  // no playlist window
  ScriptedWindow playlist(windows_, kPlaylistClass, "Playlist");
  struct Case {
    const char* target;
    const char* reply;
    Calls calls;
  } cases[] = {{"DELETEPOS?index=3abc", "1", {Ipc(PLAYLIST_DELETE_ENTRY, 3)}},
               {"DELETEPOS?", "1", {Ipc(PLAYLIST_DELETE_ENTRY, 0)}},
               {"DELETEPOS?index=5", "0", {}},
               {"DELETEPOS?index=-1", "0", {}}};
  for (const auto& c : cases) {
    playlist.ClearCalls();
    EXPECT_EQ(Ask(c.target), std::string(c.reply) + "\n") << c.target;
    EXPECT_EQ(playlist.Calls(), c.calls) << c.target;
  }
}

TEST_F(Answers, AutostartIsReadAndSet) {
  struct Case {
    const char* target;
    const char* reply;
    bool checked;
  } cases[] = {{"SETAUTOSERVICE?enable=1", "1", true},  {"GETAUTOSERVICE?", "1", true},
               {"SETAUTOSERVICE?enable=0", "0", false}, {"GETAUTOSERVICE?", "0", false},
               {"SETAUTOSERVICE?enable=1x", "1", true}, {"SETAUTOSERVICE?enable=5", "0", false},
               {"SETAUTOSERVICE?enable=1", "1", true},  {"SETAUTOSERVICE?", "0", false}};
  for (const auto& c : cases) {
    EXPECT_EQ(Ask(c.target), std::string(c.reply) + "\n") << c.target;
    EXPECT_EQ(Config().DienstAutoStartChkBox.Checked(), c.checked) << c.target;
  }
  EXPECT_TRUE(main_->Calls().empty());
}

TEST_F(Answers, ShoutcastSourceWindow) {
  EXPECT_EQ(Ask("SHOUTCAST_STATUS?"), "0\n");
  EXPECT_EQ(Ask("SHOUTCAST_CONNECT?"), "0\n");
  ScriptedWindow source(windows_, "VelotamTestSource", kShoutcastTitle,
                        {ID_SHOUTCAST_STATUS, ID_SHOUTCAST_CONNECT});
  source.SetItemText(ID_SHOUTCAST_CONNECT, "Connect");
  source.SetItemText(ID_SHOUTCAST_STATUS, std::string(300, 's'));
  source.OnMessage([&source](const HostCall& c) -> std::intptr_t {
    if (c.msg == WM_COMMAND && c.wparam == ID_SHOUTCAST_CONNECT) {
      bool connect = source.ItemText(ID_SHOUTCAST_CONNECT) == "Connect";
      source.SetItemText(ID_SHOUTCAST_CONNECT, connect ? "Kill" : "Connect");
    }
    return 0;
  });
  EXPECT_EQ(Ask("SHOUTCAST_STATUS?"), std::string(255, 's') + "\n");
  EXPECT_EQ(Ask("SHOUTCAST_CONNECT?"), "Kill\n");
  EXPECT_EQ(Ask("SHOUTCAST_CONNECT?"), "Connect\n");
  EXPECT_EQ(source.Calls(), (Calls{Command(ID_SHOUTCAST_CONNECT), Command(ID_SHOUTCAST_CONNECT)}));
  source.SetItemText(ID_SHOUTCAST_STATUS, "");
  EXPECT_EQ(Ask("SHOUTCAST_STATUS?"), "\n");
}

TEST_F(Answers, UnsupportedQueriesAndPassword) {
  for (const char* method : {"GETID3TAG", "GETMPEGINFO"}) {
    std::string reply;
    auto lines = EvaluationLines(std::string(method) + "?", &reply);
    EXPECT_EQ(reply, "0\n");
    EXPECT_EQ(lines.at(4), "Server: Methode (" + std::string(method) + ") nicht implementiert");
  }
  EXPECT_TRUE(main_->Calls().empty());
  Config().PasswdEdit.SetText(" Geheim\t");
  struct Case {
    const char* target;
    const char* reply;
  } cases[] = {{"VALIDATE_PASSWORD?p=Geheim&pass= Geheim ", "1\n"},
               {"VALIDATE_PASSWORD?p=Geheim&pass=geheim", "0\n"},
               {"VALIDATE_PASSWORD?p=Geheim", "0\n"},
               {"VALIDATE_PASSWORD?p=geheim&pass=Geheim", ""}};
  for (const auto& c : cases) EXPECT_EQ(Ask(c.target), c.reply) << c.target;
  Config().PasswdEdit.SetText("");
  EXPECT_EQ(Ask("VALIDATE_PASSWORD?"), "1\n");
}

TEST_F(Answers, WithoutAClientTheTextIsLoggedAndAFailedSendIsReported) {
  SetResult(IPC_GETVERSION, -5);
  ReplyBytes gone;
  gone.closed = true;
  RequestContext noClient(PluginInterface->SnapshotSettings(), *PluginInterface, nullptr);
  RequestContext closed(PluginInterface->SnapshotSettings(), *PluginInterface, &gone);
  log_->Clear();
  AnswerProtocol(noClient, IPC_GETVERSION).SendAnswer();
  AnswerGETINIFILE(noClient, IPC_GETINIFILE).SendAnswer();
  AnswerPLAY(closed, ID_PLAY).SendAnswer();
  EXPECT_EQ(log_->Lines(), (std::vector<std::string>{"Server: -5", "Server: " + player_->iniPath,
                                                     "Server: fehler beim senden",
                                                     "Server: Server returned value: NULL"}));
}

clk::UtcTime FixedSunday() {
  return clk::UtcTime{2026, 12, 6, 7, 6, 13, 2};
}

TEST_F(Answers, HeaderOnAndOff) {
  Interface::SetClock(&FixedSunday);
  Config().httpheadChkBox.SetChecked(true);
  SetResult(IPC_SETVOLUME, 255);
  const std::string head =
      "HTTP/1.0 200 OK\nDate: Sun, 06 Dec 2026 06:13:02 GMT\n"
      "Server: Velotam v1.0.2 (Velotam developers)\nContent-Length: ";
  const std::string type = "\nContent-Type: text/plain; charset=iso-8859-1\n\n";
  EXPECT_EQ(Ask("GETVOLUME?"), head + "3" + type + "255\n");
  main_->SetText("no title");
  EXPECT_EQ(Ask("GETCURRENTTITLE?"), head + "0" + type + "\n");
  Config().httpheadChkBox.SetChecked(false);  // applies to the next answer
  SetResult(IPC_SETVOLUME, 12);
  EXPECT_EQ(Ask("GETVOLUME?"), "12\n");
}

TEST_F(Answers, HeaderDateIsTodayInUtcWithItsWeekday) {
  Config().httpheadChkBox.SetChecked(true);
  std::string reply = Ask("GETVERSION?");
  auto at = reply.find("\nDate: ");
  ASSERT_NE(at, std::string::npos);
  // "Ddd, DD Mon YYYY HH:MM:SS GMT"
  std::string date = reply.substr(at + 7, 29);
  ASSERT_EQ(date.substr(25), " GMT");
  static const std::string kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  static const std::string kDays = "MonTueWedThuFriSatSun";
  auto month = kMonths.find(date.substr(8, 3));
  ASSERT_NE(month, std::string::npos);
  using namespace std::chrono;
  year_month_day ymd{year{std::stoi(date.substr(12, 4))},
                     std::chrono::month{unsigned(month / 3 + 1)},
                     day{unsigned(std::stoi(date.substr(5, 2)))}};
  ASSERT_TRUE(ymd.ok());
  EXPECT_EQ(date.substr(0, 3), kDays.substr((weekday{sys_days{ymd}}.iso_encoding() - 1) * 3, 3));
  auto now = floor<days>(system_clock::now());
  EXPECT_LE(abs((sys_days{ymd} - now).count()), 1);
  EXPECT_EQ(date[19], ':');
  EXPECT_EQ(date[22], ':');
}

}  // namespace
