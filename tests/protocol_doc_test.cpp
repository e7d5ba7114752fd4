// docs/protocol.md against the running server: every command of both tables has its section, in
// table order, and every example's requests, sent to a freshly started playersim with the demo
// settings, give exactly the replies written under them. Native only.
#ifndef _WIN32

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "control/command_tables.h"
#include "tests/playersim_process.h"
#include "tests/support.h"

namespace {

using testing_support::Playersim;

constexpr const char* kCurl = "    $ curl 'http://127.0.0.1:4800/";

struct Step {
  std::string target;                // what follows the slash
  std::vector<std::string> replies;  // the lines curl prints; none: no reply at all
  bool background = false;           // "&": runs beside the steps after it, read at the end
};
struct Example {
  int line = 0;  // of its first request, for the failure messages
  std::vector<Step> steps;
};
struct Doc {
  std::vector<std::string> query, control;  // the command sections, in order
  std::vector<Example> examples;
};

Doc ReadDoc() {
  std::ifstream in(VELOTAM_SOURCE_DIR "/docs/protocol.md");
  Doc doc;
  std::vector<std::string>* table = nullptr;
  Example* open = nullptr;  // the example whose block goes on
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.rfind("## ", 0) == 0) {
      table = line == "## Query commands"     ? &doc.query
              : line == "## Control commands" ? &doc.control
                                              : nullptr;
    } else if (line.rfind("### ", 0) == 0 && table != nullptr) {
      table->push_back(line.substr(4));
    }
    if (line.rfind(kCurl, 0) == 0) {
      if (open == nullptr) {
        doc.examples.push_back({number, {}});
        open = &doc.examples.back();
      }
      const std::string rest = line.substr(std::string(kCurl).size());
      const bool background = rest.size() > 2 && rest.substr(rest.size() - 2) == " &";
      open->steps.push_back({rest.substr(0, rest.rfind('\'')), {}, background});
    } else if (open != nullptr && line.rfind("    ", 0) == 0) {
      open->steps.back().replies.push_back(line.substr(4));
    } else {
      open = nullptr;
    }
  }
  return doc;
}

std::vector<std::string> Names(std::span<const CommandEntry> table) {
  std::vector<std::string> names;
  for (const CommandEntry& e : table) names.push_back(e.name);
  return names;
}

TEST(ProtocolDoc, HasASectionForEveryCommandInTableOrderAndNoOther) {
  Doc doc = ReadDoc();
  EXPECT_EQ(doc.query, Names(QueryTable()));
  EXPECT_EQ(doc.control, Names(ControlTable()));
  EXPECT_EQ(doc.query.size() + doc.control.size(), 45u);
  EXPECT_GE(doc.examples.size(), 45u);
}

// The reply's text: the body of a well-framed header-on reply without its closing line feed.
std::string AnswerText(const std::string& reply, std::string& problem) {
  const std::size_t end = reply.find("\n\n");
  if (reply.rfind("HTTP/1.0 200 OK\n", 0) != 0 || end == std::string::npos) {
    problem = "no header in: " + reply;
    return reply;
  }
  const std::string header = reply.substr(0, end + 1);
  std::string body = reply.substr(end + 2);
  const std::string key = "\nContent-Length: ";
  const std::size_t at = header.find(key);
  if (body.empty() || body.back() != '\n' || at == std::string::npos) {
    problem = "bad framing: " + reply;
    return body;
  }
  body.pop_back();
  const std::size_t from = at + key.size();
  if (header.substr(from, header.find('\n', from) - from) != std::to_string(body.size())) {
    problem = "Content-Length is not the text's length: " + reply;
  }
  return body;
}

// The change counter starts with each start at a number of its own: the doc's numbers (13 digits
// after "counter=" or "since=") stand for the run's, shifted by what the first counter answered.
class Counters {
 public:
  std::string Shift(const std::string& s) const {
    if (!offset_) return s;
    std::string out = s;
    for (const char* key : {"counter=", "since="}) {
      const std::string k = key;
      for (std::size_t at = out.find(k); at != std::string::npos; at = out.find(k, at + 1)) {
        const std::size_t from = at + k.size();
        if (out.size() < from + 13 || !text::IsDigits(out.substr(from, 13))) continue;
        out.replace(from, 13, std::to_string(std::stoll(out.substr(from, 13)) + *offset_));
      }
    }
    return out;
  }
  // Learns the offset from the first answer with a counter, given what the doc expected.
  void Learn(const std::string& expected, const std::string& answer) {
    if (offset_ || expected.rfind("counter=", 0) != 0 || answer.rfind("counter=", 0) != 0) return;
    const std::string doc = expected.substr(8, expected.find('\n') - 8);
    const std::string run = answer.substr(8, answer.find('\n') - 8);
    if (text::IsDigits(doc) && text::IsDigits(run)) offset_ = std::stoll(run) - std::stoll(doc);
  }

 private:
  std::optional<long long> offset_;
};

TEST(ProtocolDoc, EveryExampleGivesTheRepliesWrittenUnderIt) {
  const std::uint16_t port = static_cast<std::uint16_t>(24000 + getpid() % 1000);
  for (const Example& example : ReadDoc().examples) {
    SCOPED_TRACE("docs/protocol.md:" + std::to_string(example.line));
    // The demo settings of the run script, on a port of the test's own.
    testing_support::TempFolder folder;
    std::filesystem::create_directories(folder.Path() + "demo/Plugins");
    testing_support::WriteFile(folder.Path() + "demo/Plugins/gen_Velotam.ini",
                               "[allgemein]\r\nip=127.0.0.1\r\nport=" + std::to_string(port) +
                                   "\r\npasswd=velotam\r\nautostart=1\r\n\r\n[sicherheit]\r\n"
                                   "AllowIP=1\r\nStrgAllow=1\r\nIPCount=0\r\n\r\n");
    Playersim sim({"--dir", "demo"}, folder.Path());
    ASSERT_TRUE(sim.ReadUntil("LOG Server: Socket ist in Horchmodus"));
    Counters counters;
    const auto check = [&](const Step& step, const std::string& reply) {
      if (step.replies.empty()) {
        EXPECT_EQ(reply, "") << step.target;
        return;
      }
      std::string problem;
      const std::string answer = AnswerText(reply, problem);
      EXPECT_EQ(problem, "") << step.target;
      std::string expected;
      for (const std::string& l : step.replies) expected += (expected.empty() ? "" : "\n") + l;
      counters.Learn(expected, answer);
      EXPECT_EQ(answer, text::Utf8ToLatin1(counters.Shift(expected))) << step.target;
    };
    std::vector<std::pair<const Step*, std::unique_ptr<testing_support::Client>>> background;
    for (const Step& step : example.steps) {
      const std::string request = "GET /" + text::Utf8ToLatin1(counters.Shift(step.target)) +
                                  " HTTP/1.1\r\nHost: 127.0.0.1:4800\r\nAccept: */*\r\n\r\n";
      if (step.background) {
        background.emplace_back(&step, std::make_unique<testing_support::Client>(port));
        background.back().second->Send(request);
        continue;
      }
      check(step, testing_support::Request(port, request));
    }
    for (auto& [step, client] : background) check(*step, client->ReadAll());
    sim.Write("quit\n");
    EXPECT_EQ(sim.ExitCode(), 0);
  }
}

}  // namespace

#endif
