// Failed-password back-off per client address: through the request path with a steady clock
// that the test moves, and the bookkeeping's bounds and counting under concurrent workers.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "control/password_backoff.h"
#include "plugin/interface.h"
#include "protocol/host_messages.h"
#include "tests/fake_host.h"
#include "ui/config_dlg.h"

namespace {

using namespace testing_support;

std::int64_t g_nowMs = 0;
std::int64_t TestClock() {
  return g_nowMs;
}

class Backoff : public AnswerTest {
 protected:
  void SetUp() override {
    AnswerTest::SetUp();
    g_nowMs = 1000000;
    Interface::SetSteadyClock(&TestClock);
    Config().PasswdEdit.SetText("1234");
    SetResult(hostmsg::IPC_GETVERSION, 5);
  }
  void TearDown() override {
    Interface::SetSteadyClock(nullptr);
    AnswerTest::TearDown();
  }

  // One request: 'S' served, 'R' password refused, 'L' refused as locked (then without any
  // password line).
  char Try(const std::string& address, const std::string& password) {
    std::string reply;
    std::vector<std::string> lines = EvaluationLines("GETVERSION?p=" + password, &reply, address);
    const std::string locked = "Server: IP (" + address + ") wegen falscher Passw\xF6rter gesperrt";
    if (std::find(lines.begin(), lines.end(), locked) != lines.end()) {
      EXPECT_EQ(lines.back(), locked);
      EXPECT_EQ(reply, "");
      return 'L';
    }
    if (reply == "5\n") return 'S';
    EXPECT_EQ(lines.back(), "Server: Passwort abgelehnt");
    return 'R';
  }
};

TEST_F(Backoff, LocksDoublesCapsAndForgets) {
  const char* a = "192.168.1.20";
  const char* b = "10.0.0.7";
  struct Step {
    std::int64_t afterMs;  // clock advance before the request
    const char* address;
    const char* password;
    char expected;
  } steps[] = {
      // Four wrong, then the right one is served and starts the count again.
      {0, a, "1", 'R'},
      {0, a, "2", 'R'},
      {0, a, "3", 'R'},
      {0, a, "4", 'R'},
      {0, a, "1234", 'S'},
      // Five wrong within 60 s lock for 2 s, the right password included; others go on.
      {0, a, "1", 'R'},
      {10000, a, "2", 'R'},
      {10000, a, "3", 'R'},
      {10000, a, "4", 'R'},
      {10000, a, "5", 'R'},
      {0, a, "1234", 'L'},
      {1999, a, "1234", 'L'},
      {0, b, "1234", 'S'},
      // After the lock each refusal doubles it: 4 s, then 8 s.
      {1, a, "6", 'R'},
      {3999, a, "1234", 'L'},
      {1, a, "7", 'R'},
      {7999, a, "1234", 'L'},
      {1, a, "1234", 'S'},
      // Five wrong spread over more than 60 s do not lock.
      {0, b, "1", 'R'},
      {20000, b, "2", 'R'},
      {20000, b, "3", 'R'},
      {20000, b, "4", 'R'},
      {20001, b, "5", 'R'},
      {0, b, "1234", 'S'},
      // Ten minutes without a refusal forget the address: a locked one starts from zero.
      {0, a, "1", 'R'},
      {0, a, "2", 'R'},
      {0, a, "3", 'R'},
      {0, a, "4", 'R'},
      {0, a, "5", 'R'},
      {0, a, "1234", 'L'},
      {600000, a, "1", 'R'},
      {0, a, "1234", 'S'},
  };
  int i = 0;
  for (const Step& s : steps) {
    g_nowMs += s.afterMs;
    EXPECT_EQ(Try(s.address, s.password), s.expected) << "step " << i;
    ++i;
  }
  // Loopback is never locked.
  for (const char* local : {"127.0.0.1", "127.3.2.1"}) {
    for (int n = 0; n < 8; ++n) EXPECT_EQ(Try(local, "1"), 'R') << local;
    EXPECT_EQ(Try(local, "1234"), 'S') << local;
  }
}

TEST_F(Backoff, ThirtyTriesTakeOverAnHourAndALockNeverExceedsFiveMinutes) {
  // An attacker who tries again the moment the lock ends, polling once a second.
  const std::int64_t start = g_nowMs;
  std::int64_t lockedSince = -1;
  std::vector<std::int64_t> locks;
  for (int tries = 0; tries < 30;) {
    if (Try("10.1.1.1", std::to_string(tries)) == 'L') {
      if (lockedSince < 0) lockedSince = g_nowMs;
      g_nowMs += 1000;
      continue;
    }
    if (lockedSince >= 0) locks.push_back(g_nowMs - lockedSince);
    lockedSince = -1;
    ++tries;
  }
  EXPECT_EQ(locks, (std::vector<std::int64_t>{
                       2000,   4000,   8000,   16000,  32000,  64000,  128000, 256000, 300000,
                       300000, 300000, 300000, 300000, 300000, 300000, 300000, 300000, 300000,
                       300000, 300000, 300000, 300000, 300000, 300000, 300000}));
  EXPECT_EQ(g_nowMs - start, 5610000);
}

TEST(PasswordBackoffTable, KeepsAtMost1024AddressesDroppingTheLeastRecentlyRefused) {
  PasswordBackoff backoff;
  for (int i = 0; i < 2000; ++i) {
    backoff.Refused("10." + std::to_string(i / 256) + "." + std::to_string(i % 256) + ".1", i);
  }
  EXPECT_EQ(backoff.Size(), PasswordBackoff::kMaxAddresses);
  EXPECT_EQ(backoff.Refusals("10.0.0.1"), 0);    // the first ones are gone
  EXPECT_EQ(backoff.Refusals("10.7.207.1"), 1);  // the last one stays
}

TEST(PasswordBackoffTable, SixteenWorkersRefusingAtOnceCountExactly) {
  PasswordBackoff backoff;
  std::vector<std::thread> workers;
  for (int t = 0; t < 16; ++t) {
    workers.emplace_back([&backoff, t] {
      for (int i = 0; i < 500; ++i) {
        backoff.Refused("10.9.9.9", 0);
        backoff.Refused("10.8." + std::to_string(t) + ".1", 0);
        (void)backoff.Locked("10.9.9.9", 0);
      }
    });
  }
  for (std::thread& w : workers) w.join();
  EXPECT_EQ(backoff.Refusals("10.9.9.9"), 16 * 500);
  for (int t = 0; t < 16; ++t) EXPECT_EQ(backoff.Refusals("10.8." + std::to_string(t) + ".1"), 500);
  EXPECT_TRUE(backoff.Locked("10.9.9.9", PasswordBackoff::kMaxLockMs - 1));
  EXPECT_FALSE(backoff.Locked("10.9.9.9", PasswordBackoff::kMaxLockMs));
}

}  // namespace
