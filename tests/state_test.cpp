// The whole state in one reply and the wait for a change: as a client reads them over loopback,
// against the stand-in player, with other clients changing the player meanwhile.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "protocol/player_state.h"
#include "protocol/state_answers.h"
#include "protocol/state_watch.h"
#include "tests/end_to_end.h"

namespace {

using namespace testing_support;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Strings = std::vector<std::string>;

// "key=value" lines of an answer (its closing line feed dropped).
std::vector<std::pair<std::string, std::string>> Pairs(const std::string& reply) {
  std::vector<std::pair<std::string, std::string>> out;
  std::size_t from = 0;
  while (from < reply.size()) {
    std::size_t end = reply.find('\n', from);
    if (end == std::string::npos) end = reply.size();
    const std::string line = reply.substr(from, end - from);
    const std::size_t eq = line.find('=');
    if (!line.empty())
      out.emplace_back(line.substr(0, eq), eq == line.npos ? "" : line.substr(eq + 1));
    from = end + 1;
  }
  return out;
}

std::int64_t CounterOf(const std::string& reply) {
  const auto pairs = Pairs(reply);
  return pairs.empty() || pairs[0].first != "counter" ? -1 : std::stoll(pairs[0].second);
}

// A client whose WAITCHANGE runs on a thread of its own; the reply and when it came.
class Waiter {
 public:
  Waiter(std::uint16_t port, const std::string& query) : client_(port) {
    client_.Send("GET /" + query + " HTTP/1.0\r\n\r\n");
    thread_ = std::thread([this] {
      reply_ = client_.ReadAll(70000);
      at_ = Clock::now();
    });
  }
  ~Waiter() {
    if (thread_.joinable()) thread_.join();
  }
  const std::string& Reply() {
    if (thread_.joinable()) thread_.join();
    return reply_;
  }
  Clock::time_point At() {
    Reply();
    return at_;
  }

 private:
  Client client_;
  std::thread thread_;
  std::string reply_;
  Clock::time_point at_;
};

class State : public EndToEnd {
 protected:
  StateWatch& Watch() { return PluginInterface->Changes(); }
  std::int64_t Counter() { return CounterOf(Ask("GETSTATE?p=pw")); }
  std::string WaitQuery(std::int64_t since, int timeoutS) {
    return "WAITCHANGE?p=pw&since=" + std::to_string(since) +
           "&timeout=" + std::to_string(timeoutS);
  }
  // Starts n clients that wait from the current counter and returns once all of them wait.
  std::vector<std::unique_ptr<Waiter>> Wait(int n, int timeoutS) {
    const std::int64_t since = Counter();
    std::vector<std::unique_ptr<Waiter>> waiters;
    for (int i = 0; i < n; ++i) {
      waiters.push_back(std::make_unique<Waiter>(port_, WaitQuery(since, timeoutS)));
    }
    EXPECT_TRUE(Eventually([&] { return Watch().Waiting() == n; }));
    return waiters;
  }
};

TEST_F(State, EveryKeyInOrderAgreesWithTheSingleQueries) {
  struct Case {
    const char* setup;  // a control command first, or nothing
    std::int64_t advanceMs;
  };
  const Case cases[] = {
      {"", 0},          {"PLAY?p=pw", 4000},          {"PAUSE?p=pw", 0},
      {"NEXT?p=pw", 0}, {"SHUFFLE?p=pw&enable=1", 0}, {"SETVOLUME?p=pw&level=37", 0},
      {"STOP?p=pw", 0}};
  const Strings keys = {"counter", "playing", "pos",    "length",  "title",
                        "ms",      "seconds", "volume", "shuffle", "repeat"};
  const Strings single = {"ISPLAYING",       "GETLISTPOS",           "GETLISTLENGTH",
                          "GETCURRENTTITLE", "GETOUTPUTTIME&frmt=0", "GETOUTPUTTIME&frmt=1",
                          "GETVOLUME",       "SHUFFLE_STATUS",       "REPEAT_STATUS"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setup);
    if (*c.setup != '\0') Ask(c.setup);
    now_ += c.advanceMs;
    const auto pairs = Pairs(Ask("GETSTATE?p=pw"));
    ASSERT_EQ(pairs.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(pairs[i].first, keys[i]);
    for (std::size_t i = 0; i < single.size(); ++i) {
      std::string query = single[i];
      const std::size_t amp = query.find('&');
      query =
          amp == query.npos ? query + "?p=pw" : query.substr(0, amp) + "?p=pw" + query.substr(amp);
      EXPECT_EQ(pairs[i + 1].second + "\n", Ask(query)) << query;
    }
  }
}

TEST_F(State, AWaitingClientHearsOfAChangeByAnotherWithin300ms) {
  const char* const changes[] = {"NEXT?p=pw", "SETVOLUME?p=pw&level=7", "SHUFFLE?p=pw&enable=1",
                                 "PLAY?p=pw", "JUMPTOTIME?p=pw&ms=9000"};
  for (const char* change : changes) {
    SCOPED_TRACE(change);
    const std::int64_t since = Counter();
    auto waiters = Wait(1, 30);
    ASSERT_FALSE(Ask(change).empty());
    const Clock::time_point changed = Clock::now();
    const std::string reply = waiters[0]->Reply();
    EXPECT_LT(waiters[0]->At() - changed, 300ms);
    EXPECT_EQ(CounterOf(reply), since + 1);
    EXPECT_EQ(reply, Ask("GETSTATE?p=pw"));  // the state after the change, counted once
  }
}

TEST_F(State, NoChangeAnswersAfterTheTimeOutWithTheSameCounterAndANinthClientAtOnce) {
  const std::int64_t since = Counter();
  const std::int64_t polls = Watch().Polls();
  const Clock::time_point started = Clock::now();
  auto waiters = Wait(8, 1);
  Waiter ninth(port_, WaitQuery(since, 1));
  EXPECT_EQ(CounterOf(ninth.Reply()), since);
  EXPECT_LT(ninth.At() - started, 900ms);
  for (auto& w : waiters) {
    EXPECT_EQ(CounterOf(w->Reply()), since);
    EXPECT_GE(w->At() - started, 1s);
    EXPECT_LT(w->At() - started, 1800ms);
  }
  // One asker for all of them: each arrival asks once, then one poll every 200 ms.
  EXPECT_LE(Watch().Polls() - polls, 1 + 9 + 9);
  EXPECT_EQ(Watch().Waiting(), 0);
}

TEST_F(State, AClientWithoutACurrentCounterIsAnsweredAtOnce) {
  const std::int64_t counter = Counter();
  const std::string queries[] = {"WAITCHANGE?p=pw", "WAITCHANGE?p=pw&since=abc&timeout=30",
                                 "WAITCHANGE?p=pw&since=-1", WaitQuery(counter - 1, 30)};
  for (const std::string& q : queries) {
    const Clock::time_point started = Clock::now();
    EXPECT_EQ(CounterOf(Ask(q)), counter) << q;
    EXPECT_LT(Clock::now() - started, 500ms) << q;
  }
  // A number from before a restart: the new start hands out numbers of its own.
  Config().StopBtnClick();
  Config().StartBtnClick();
  port_ = Config().SrvSocket->BoundPort();
  const Clock::time_point started = Clock::now();
  EXPECT_GT(CounterOf(Ask(WaitQuery(counter, 30))), counter);
  EXPECT_LT(Clock::now() - started, 500ms);
}

TEST_F(State, StopAndRestartAnswerTheWaitingClientsAtOnce) {
  for (bool restart : {false, true}) {
    SCOPED_TRACE(restart ? "restart" : "stop");
    const std::int64_t since = Counter();
    auto waiters = Wait(3, 30);
    const Clock::time_point stopped = Clock::now();
    Config().StopBtnClick();
    if (restart) Config().StartBtnClick();
    for (auto& w : waiters) {
      EXPECT_EQ(CounterOf(w->Reply()), since);
      EXPECT_LT(w->At() - stopped, 1s);
    }
    if (!restart) Config().StartBtnClick();
    port_ = Config().SrvSocket->BoundPort();
  }
}

TEST_F(State, AClientThatResetsWhileWaitingFreesItsPlace) {
  const std::int64_t since = Counter();
  std::vector<std::unique_ptr<Client>> clients;
  for (int i = 0; i < 8; ++i) {
    clients.push_back(std::make_unique<Client>(port_));
    clients.back()->Send("GET /" + WaitQuery(since, 30) + " HTTP/1.0\r\n\r\n");
  }
  ASSERT_TRUE(Eventually([&] { return Watch().Waiting() == 8; }));
  for (std::size_t i = 0; i < clients.size(); ++i) {
    if (i % 2 == 0) {
      clients[i]->Reset();
    } else {
      clients[i]->Close();
    }
  }
  EXPECT_TRUE(Eventually([&] { return Watch().Waiting() == 0; }));
  EXPECT_TRUE(Eventually([&] { return Config().SrvSocket->Served() == 0; }));
  auto waiters = Wait(8, 1);  // every place is free again
}

TEST_F(State, AWaitWritesTheLinesOfARequestOnceAndNothingWhileItWaits) {
  LogWatcher log;
  const std::int64_t since = Counter();
  ASSERT_TRUE(log.WaitFor("Server: Client connect beendet."));
  log.Clear();
  Waiter waiter(port_, WaitQuery(since, 1));
  ASSERT_TRUE(Eventually([&] { return Watch().Waiting() == 1; }));
  const Strings before = {"Server: " + std::string(55, '-'),
                          "Server: Client connect: 127.0.0.1",
                          "Server: Erhalten: GET /" + WaitQuery(since, 1) + " HTTP/1.0\r\n\r\n",
                          "Server: Inputstring auswerten",
                          "Server: Commando ausf\xFChren",
                          "Server: Keine IPs in Liste gefunden",
                          "Server: IP (127.0.0.1) erlaubt",
                          "Server: Passwort aktzeptiert"};
  ASSERT_TRUE(log.WaitUntil([&](const Strings& l) { return l.size() >= before.size(); }));
  EXPECT_EQ(log.Lines(), before);
  const std::string reply = waiter.Reply();
  ASSERT_TRUE(log.WaitFor("Server: Client connect beendet."));
  Strings all = before;
  const std::string shown = reply.substr(0, reply.size() - 1);
  for (const char* l : {"Server returned value: ", "beende Verbindung...", "Verbindung beendet!",
                        "Client connect beendet."}) {
    all.push_back(std::string("Server: ") + l + (l[0] == 'S' ? shown : ""));
  }
  EXPECT_EQ(log.Lines(), all);
}

TEST(StateRules, WhatCountsAsAChange) {
  PlayerState playing;
  playing.playing = 1;
  playing.ms = 10000;
  struct Case {
    const char* what;
    void (*change)(PlayerState&);
    std::int64_t elapsedMs;
    bool changed;
  };
  const Case cases[] = {
      {"nothing", [](PlayerState&) {}, 0, false},
      {"steady playing", [](PlayerState& s) { s.ms += 5000; }, 5000, false},
      {"a little off", [](PlayerState& s) { s.ms += 1500; }, 0, false},
      {"a seek forward", [](PlayerState& s) { s.ms += 2500; }, 0, true},
      {"a seek back", [](PlayerState& s) { s.ms = 0; }, 400, true},
      {"stuck while time passes", [](PlayerState&) {}, 2500, true},
      {"status", [](PlayerState& s) { s.playing = 3; }, 0, true},
      {"position", [](PlayerState& s) { s.pos = 1; }, 0, true},
      {"length", [](PlayerState& s) { s.length = 9; }, 0, true},
      {"title", [](PlayerState& s) { s.title = "x"; }, 0, true},
      {"seconds", [](PlayerState& s) { s.seconds = 1; }, 0, true},
      {"volume", [](PlayerState& s) { s.volume = 1; }, 0, true},
      {"shuffle", [](PlayerState& s) { s.shuffle = 1; }, 0, true},
      {"repeat", [](PlayerState& s) { s.repeat = 1; }, 0, true},
  };
  for (const Case& c : cases) {
    PlayerState now = playing;
    c.change(now);
    EXPECT_EQ(StateChanged(playing, now, c.elapsedMs), c.changed) << c.what;
  }
  PlayerState paused = playing;
  paused.playing = 3;
  EXPECT_FALSE(StateChanged(paused, paused, 60000));  // a paused player's time stands
}

TEST(StateRules, TextCountersAndTimeOuts) {
  PlayerState s{1, 2, 3, "A - B", 4000, 215, 200, 1, 0};
  EXPECT_EQ(StateText(42, s),
            "counter=42\nplaying=1\npos=2\nlength=3\ntitle=A - B\nms=4000\nseconds=215\n"
            "volume=200\nshuffle=1\nrepeat=0");
  // 2026-12-11 03:49:19 UTC is 1796960959 s after 1970; a start never repeats a number.
  const clk::UtcTime t{2026, 12, 11, 5, 3, 49, 19};
  EXPECT_EQ(FirstCounter(t, 0), 1796960959000);
  EXPECT_EQ(FirstCounter(t, 1796960959000), 1796960959001);
  EXPECT_EQ(FirstCounter(clk::UtcTime{1970, 1, 1, 4, 0, 0, 0}, 0), 1);
  const std::pair<const char*, int> timeouts[] = {{"", 20}, {"x", 20}, {"5", 5},   {" 7 ", 7},
                                                  {"0", 1}, {"-3", 1}, {"61", 60}, {"60", 60}};
  for (const auto& [text, seconds] : timeouts) {
    EXPECT_EQ(AnswerWAITCHANGE::TimeoutSeconds(text), seconds) << text;
  }
}

}  // namespace
