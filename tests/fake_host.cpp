#include "tests/fake_host.h"

#include <algorithm>
#include <iterator>

#include "plugin/interface.h"
#include "protocol/host_messages.h"
#include "ui/config_dlg.h"

namespace testing_support {

ScriptedWindow::ScriptedWindow(sim::WindowHost& host, const std::string& className,
                               const std::string& title, std::vector<int> items)
    : host_(host) {
  sim::WindowSpec desc;
  desc.className = className;
  desc.title = title;
  desc.items = std::move(items);
  text_ = title;
  desc.message = [this](std::uint32_t m, std::uintptr_t w, std::intptr_t l) {
    return Handle(m, w, l);
  };
  desc.text = [this] {
    std::lock_guard<std::mutex> g(lock_);
    return text_;
  };
  desc.itemText = [this](int id) { return ItemText(id); };
  window_ = host_.Create(std::move(desc));
}

ScriptedWindow::~ScriptedWindow() {
  host_.Destroy(window_);
}

std::intptr_t ScriptedWindow::Handle(std::uint32_t msg, std::uintptr_t wparam,
                                     std::intptr_t lparam) {
  HostCall call{msg, wparam, lparam, {}};
  if (msg == hostmsg::WM_COPYDATA) {
    const auto* record = reinterpret_cast<const host::CopyData*>(lparam);
    call.lparam = static_cast<std::intptr_t>(record->dwData);
    call.copied.assign(static_cast<const char*>(record->lpData), record->cbData);
  }
  Answer answer;
  {
    std::lock_guard<std::mutex> g(lock_);
    calls_.push_back(call);
    answer = answer_;
  }
  return answer ? answer(call) : 0;
}

void ScriptedWindow::OnMessage(Answer answer) {
  std::lock_guard<std::mutex> g(lock_);
  answer_ = std::move(answer);
}

void ScriptedWindow::SetText(const std::string& text) {
  std::lock_guard<std::mutex> g(lock_);
  text_ = text;
}

void ScriptedWindow::SetItemText(int id, const std::string& text) {
  std::lock_guard<std::mutex> g(lock_);
  items_[id] = text;
}

std::string ScriptedWindow::ItemText(int id) const {
  std::lock_guard<std::mutex> g(lock_);
  auto it = items_.find(id);
  return it == items_.end() ? std::string() : it->second;
}

std::vector<HostCall> ScriptedWindow::Calls() const {
  std::lock_guard<std::mutex> g(lock_);
  return calls_;
}

void ScriptedWindow::ClearCalls() {
  std::lock_guard<std::mutex> g(lock_);
  calls_.clear();
}

void AnswerTest::SetUp() {
  PluginTest::SetUp();
  main_ = std::make_unique<ScriptedWindow>(windows_, "VelotamTestPlayer", "Test Player");
  main_->OnMessage([this](const HostCall& c) -> std::intptr_t {
    if (c.msg == hostmsg::WM_HOST_USER && c.lparam == hostmsg::IPC_GETINIFILE) {
      return reinterpret_cast<std::intptr_t>(player_->iniPath.c_str());
    }
    if (c.msg == hostmsg::WM_HOST_USER &&
        (c.lparam == hostmsg::IPC_GETPLAYLISTFILE || c.lparam == hostmsg::IPC_GETPLAYLISTTITLE)) {
      if (c.wparam >= entries.size() || entries[c.wparam] == "\x01") return 0;
      return reinterpret_cast<std::intptr_t>(entries[c.wparam].c_str());
    }
    std::intptr_t code =
        c.msg == hostmsg::WM_COMMAND ? static_cast<std::intptr_t>(c.wparam) : c.lparam;
    std::lock_guard<std::mutex> g(lock_);
    auto it = results_.find({c.msg, code});
    return it == results_.end() ? 0 : it->second;
  });
  record_->hwndParent = main_->Window();
  Config().httpheadChkBox.SetChecked(false);
  Config().StrgAllowCombo.SetSelected(1);
  Config().PasswdEdit.SetText("");  // the settings file's default password is not empty
  main_->ClearCalls();
}

void AnswerTest::TearDown() {
  Interface::SetClock(nullptr);
  PluginTest::TearDown();
}

void AnswerTest::SetResult(std::intptr_t code, std::intptr_t result, std::uint32_t msg) {
  std::lock_guard<std::mutex> g(lock_);
  results_[{msg, code}] = result;
}

bool ReplyBytes::SendAll(const std::string& data) {
  if (closed) return false;
  bytes += data;
  return true;
}

void AnswerTest::StartLoopback() {
  port_ = StartServer("0", "5000");
  ASSERT_NE(port_, 0);
}

std::string AnswerTest::Ask(const std::string& target, const std::string& address) {
  ReplyBytes reply;
  PluginInterface->Serve("GET /" + target + " HTTP/1.0\r\n\r\n", address, reply);
  return reply.bytes;
}

std::vector<std::string> AnswerTest::EvaluationLines(const std::string& target, std::string* reply,
                                                     const std::string& address) {
  log_->Clear();
  std::string got = Ask(target, address);
  if (reply != nullptr) *reply = got;
  std::vector<std::string> lines = log_->Lines();
  auto from = std::find(lines.begin(), lines.end(), "Server: Commando ausf\xFChren");
  if (from == lines.end()) return {};
  return std::vector<std::string>(from + 1, lines.end());
}

}  // namespace testing_support
