// Command lookup: the two tables, the control mode, the exact log of one request, and many
// requests at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "control/command_tables.h"
#include "plugin/interface.h"
#include "protocol/host_messages.h"
#include "protocol/remote_page.h"
#include "tests/fake_host.h"
#include "ui/config_dlg.h"

namespace {

using namespace testing_support;
using Strings = std::vector<std::string>;

const Strings kQueries = {
    "GETLISTLENGTH",      "GETLISTPOS",      "GETVERSION",       "GETVOLUME",
    "INTERNET",           "ISPLAYING",       "REPEAT_STATUS",    "SHUFFLE_STATUS",
    "UPDATECURRENTTITLE", "FLUSHPLAYLIST",   "GETAUTOSERVICE",   "GETCURRENTTITLE",
    "GETEQDATA",          "GETID3TAG",       "GETINFO",          "GETMPEGINFO",
    "GETOUTPUTTIME",      "GETPLAYLISTFILE", "GETPLAYLISTTITLE", "SHOUTCAST_STATUS",
    "VALIDATE_PASSWORD",  "GETINIFILE",      "GETSTATE",         "WAITCHANGE"};
const Strings kControls = {"DELETE",         "DELETEPOS",      "CHDIR",     "EXEC_VISUAL",
                           "FADEOUTANDSTOP", "NEXT",           "PAUSE",     "PLAY",
                           "PREV",           "STOP",           "RESTART",   "VOLUMEDOWN",
                           "VOLUMEUP",       "JUMPTOTIME",     "PLAYFILE",  "SETAUTOSERVICE",
                           "SETEQDATA",      "SETPLAYLISTPOS", "SETVOLUME", "SHOUTCAST_CONNECT",
                           "SHUFFLE"};

Strings Names(std::span<const CommandEntry> table) {
  Strings names;
  for (const auto& e : table) names.push_back(e.name);
  return names;
}

std::string NotAvailable(const std::string& command) {
  return "Server: Befehl (" + command + ") ist nicht verf\xFCgbar";
}

TEST(CommandTables, HoldEveryCommandInSearchOrder) {
  EXPECT_EQ(Names(QueryTable()), kQueries);
  EXPECT_EQ(Names(ControlTable()), kControls);
}

class Dispatch : public AnswerTest {};

TEST_F(Dispatch, LogOfServedRefusedAndUnknownCommands) {
  StartLoopback();
  SetResult(hostmsg::IPC_GETVERSION, 5);
  const std::string request = "GET /getversion?a=1 HTTP/1.0\r\n\r\n";
  auto whole = [&](const std::string& req, const Strings& evaluation) {
    log_->Clear();
    Request(port_, req);
    EXPECT_TRUE(log_->WaitFor("Server: Client connect beendet."));
    Strings expected = {"Server: " + std::string(55, '-'), "Server: Client connect: 127.0.0.1",
                        "Server: Erhalten: " + req, "Server: Inputstring auswerten",
                        "Server: Commando ausf\xFChren"};
    expected.insert(expected.end(), evaluation.begin(), evaluation.end());
    expected.insert(expected.end(), {"Server: beende Verbindung...", "Server: Verbindung beendet!",
                                     "Server: Client connect beendet."});
    EXPECT_EQ(log_->Lines(), expected);
  };
  whole(request, {"Server: Keine IPs in Liste gefunden", "Server: IP (127.0.0.1) erlaubt",
                  "Server: Parameter (p) nicht gefunden", "Server: Passwort aktzeptiert",
                  "Server: Server returned value: 5"});
  Config().VerbieteAdrRadioBtn.SetChecked(true);
  whole(request, {"Server: Keine IPs in Liste gefunden", "Server: IP (127.0.0.1) gesperrt"});
  Config().ErlaubeAdrRadioBtn.SetChecked(true);
  whole("GET /Nope?p= HTTP/1.0\r\n\r\n",
        {"Server: Keine IPs in Liste gefunden", "Server: IP (127.0.0.1) erlaubt",
         "Server: Passwort aktzeptiert", NotAvailable("Nope")});
}

TEST_F(Dispatch, CommandMatchesWholeAndIgnoringCase) {
  struct Case {
    const char* target;
    const char* command;  // as received
    const char* reply;    // "" for not available
    bool control;
  } cases[] = {{"play?", "play", "NULL\n", true},
               {"Play?", "Play", "NULL\n", true},
               {"PLAY?", "PLAY", "NULL\n", true},
               {" PLAY?", " PLAY", "", false},
               {"PLAY ?", "PLAY ", "", false},
               {"PLAYX?", "PLAYX", "", false},
               {"PLA?a=1", "PLA", "", false},
               {"PLAY", "", "", false},  // no question mark: the command is empty
               {"getVolume?", "getVolume", "0\n", false}};
  for (int mode : {1, 0}) {
    Config().StrgAllowCombo.SetSelected(mode);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.target) + " mode " + std::to_string(mode));
      main_->ClearCalls();
      std::string reply;
      Strings lines = EvaluationLines(c.target, &reply);
      bool served = *c.reply != '\0' && (mode == 1 || !c.control);
      EXPECT_EQ(reply, served ? c.reply : "");
      EXPECT_EQ(std::count(lines.begin(), lines.end(), NotAvailable(c.command)), served ? 0 : 1);
      EXPECT_EQ(lines.back(), served ? "Server: Server returned value: " +
                                           std::string(c.reply, std::strlen(c.reply) - 1)
                                     : NotAvailable(c.command));
      EXPECT_EQ(main_->Calls().empty(), !served);  // refused commands never reach the player
    }
  }
}

TEST_F(Dispatch, OnlyAQueryOnlyTargetPastBothChecksGetsTheRemoteControlPage) {
  Config().PasswdEdit.SetText("velotam");
  struct Case {
    const char* request;
    const char* address;
    bool page;
  } cases[] = {
      {"GET /?p=velotam HTTP/1.1\r\nHost: x\r\n\r\n", "127.0.0.1", true},
      {"GET /?x=1&p=velotam", "192.168.1.20", true},
      {"GET /?p=wrong HTTP/1.1\r\n\r\n", "127.0.0.1", false},
      {"GET /?p=velotam HTTP/1.1\r\n\r\n", "10.0.0.1", false},  // listed in the block list
      {"GET /GETLISTLENGTH&p=velotam HTTP/1.1\r\n\r\n", "127.0.0.1", false},
      {"GET /&p=velotam HTTP/1.1\r\n\r\n", "127.0.0.1", false},
      {"GET  /?p=velotam HTTP/1.1\r\n\r\n", "127.0.0.1", false},
  };
  Config().AdrListBox.SetItems({"10.0.0.1"});
  Interface::SetClock([] { return clk::UtcTime{2026, 12, 6, 7, 6, 13, 2}; });
  const std::string page = kRemotePage;
  for (bool header : {false, true}) {
    Config().httpheadChkBox.SetChecked(header);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.request) + " from " + c.address);
      log_->Clear();
      ReplyBytes reply;
      PluginInterface->Serve(c.request, c.address, reply);
      const Strings lines = log_->Lines();
      EXPECT_EQ(reply.bytes, c.page ? "HTTP/1.0 200 OK\nDate: Sun, 06 Dec 2026 06:13:02 GMT\n"
                                      "Server: Velotam v1.0.2 (Velotam developers)\n"
                                      "Content-Length: " +
                                          std::to_string(page.size()) +
                                          "\nContent-Type: text/html; charset=iso-8859-1\n\n" + page
                                    : "");
      EXPECT_EQ(std::count(lines.begin(), lines.end(), "Server: Fernbedienung gesendet"), c.page);
      if (c.page) {
        EXPECT_EQ(lines.back(), "Server: Fernbedienung gesendet");
      }
    }
  }
  // Self-contained, small, and the same bytes in every code page.
  EXPECT_LT(page.size(), 40u * 1024);
  EXPECT_TRUE(std::all_of(page.begin(), page.end(), [](char ch) { return ch > 0 && ch < 127; }));
  for (const char* external : {"src=", "href=", "@import", "url("}) {
    EXPECT_EQ(page.find(external), std::string::npos) << external;
  }
}

TEST_F(Dispatch, ReadOnlyModeRefusesEveryControlCommandAndServesEveryQuery) {
  Config().StrgAllowCombo.SetSelected(0);
  ScriptedWindow playlist(windows_, hostmsg::kPlaylistClass, "Playlist");
  SetResult(hostmsg::IPC_GETLISTLENGTH, 2);
  for (const auto& command : kControls) {
    SCOPED_TRACE(command);
    std::string reply = "x";
    Strings lines = EvaluationLines(command + "?index=0&level=1&ms=1&enable=1&band=1", &reply);
    EXPECT_EQ(reply, "");
    EXPECT_EQ(lines.back(), NotAvailable(command));
  }
  EXPECT_TRUE(main_->Calls().empty());
  EXPECT_TRUE(playlist.Calls().empty());
  EXPECT_FALSE(Config().DienstAutoStartChkBox.Checked());
  for (const auto& command : kQueries) {
    SCOPED_TRACE(command);
    std::string reply;
    Strings lines = EvaluationLines(command + "?index=0&band=1&info=1&frmt=1", &reply);
    EXPECT_NE(reply, "");
    EXPECT_EQ(lines.back().rfind("Server: Server returned value: ", 0), 0u);
  }
}

TEST_F(Dispatch, ConcurrentRequestsEachGetTheirOwnParameters) {
  StartLoopback();
  constexpr int kClients = 32;
  for (int i = 0; i < kClients; ++i) entries.push_back("title " + std::to_string(i));
  // A long block list gives every request work between its parsing and its parameter reads,
  // which is where requests sharing one token store would see each other's parameters.
  Strings blocked;
  for (int i = 0; i < 4000; ++i)
    blocked.push_back("10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250));
  Config().AdrListBox.SetItems(blocked);
  std::vector<std::unique_ptr<Client>> clients;
  for (int i = 0; i < kClients; ++i) clients.push_back(std::make_unique<Client>(port_));
  // Every client is accepted and waits in its receive before any request is sent.
  ASSERT_TRUE(log_->WaitFor("Server: Client connect: 127.0.0.1", kClients));
  for (int i = 0; i < kClients; ++i) {
    const char* command = i % 2 == 0 ? "GETPLAYLISTTITLE" : "GETPLAYLISTFILE";
    clients[i]->Send("GET /" + std::string(command) + "?x=" + std::to_string(kClients - i) +
                     "&index=" + std::to_string(i) + " HTTP/1.0\r\n\r\n");
  }
  for (int i = 0; i < kClients; ++i) {
    EXPECT_EQ(clients[i]->ReadAll(), "title " + std::to_string(i) + "\n") << i;
  }
}

}  // namespace
