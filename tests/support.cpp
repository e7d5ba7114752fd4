#include "tests/support.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "plugin/interface.h"
#include "protocol/host_messages.h"
#include "server/server_socket.h"
#include "ui/config_dlg.h"

namespace testing_support {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path p = fs::temp_directory_path() /
               ("velotam-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(p / "Plugins");
  path_ = p.string();
  path_ += static_cast<char>(fs::path::preferred_separator);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::permissions(fs::path(path_) / "Plugins", fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

DialogSet& PluginDialogs() {
  return PluginInterface->Dialogs();
}

TConfigDlg& Config() {
  return PluginDialogs().Config();
}

ui::Forms& Forms() {
  return PluginDialogs().Forms();
}

LogWatcher::LogWatcher()
    : reader_(std::make_unique<ui::LogReader>(Config().Out, [this] {
        // Runs with the log locked: the waiter takes wakeLock_ only while it holds no other.
        std::lock_guard<std::mutex> g(wakeLock_);
        woken_ = true;
        cv_.notify_all();
      })) {}

LogWatcher::~LogWatcher() {
  if (PluginInterface == nullptr) (void)reader_.release();  // its log is gone with the dialog
}

void LogWatcher::CatchUp() const {
  ui::LogBatch batch = reader_->Next();
  skipped_ += batch.skipped;
  lines_.insert(lines_.end(), batch.entries.begin(), batch.entries.end());
}

std::vector<std::string> LogWatcher::Lines() const {
  std::lock_guard<std::mutex> g(lock_);
  CatchUp();
  return lines_;
}

bool LogWatcher::WaitUntil(const std::function<bool(const std::vector<std::string>&)>& pred,
                           std::chrono::milliseconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    {
      std::lock_guard<std::mutex> g(lock_);
      CatchUp();
      if (pred(lines_)) return true;
    }
    std::unique_lock<std::mutex> w(wakeLock_);
    if (!cv_.wait_until(w, deadline, [this] { return woken_; })) {
      std::lock_guard<std::mutex> g(lock_);
      CatchUp();
      return pred(lines_);
    }
    woken_ = false;
  }
}

bool LogWatcher::WaitFor(const std::string& line, int count,
                         std::chrono::milliseconds limit) const {
  return WaitUntil(
      [&](const std::vector<std::string>& lines) {
        return std::count(lines.begin(), lines.end(), line) >= count;
      },
      limit);
}

std::uint64_t LogWatcher::Skipped() const {
  std::lock_guard<std::mutex> g(lock_);
  CatchUp();
  return skipped_;
}

void LogWatcher::Clear() {
  std::lock_guard<std::mutex> g(lock_);
  CatchUp();
  lines_.clear();
}

FakePlayer::FakePlayer(const std::string& folder) : iniPath(folder + "Winamp.ini") {
  sim::WindowSpec desc;
  desc.className = "FakePlayer";
  desc.title = "Fake Player";
  desc.message = [this](std::uint32_t msg, std::uintptr_t w, std::intptr_t l) -> std::intptr_t {
    if (msg == hostmsg::WM_HOST_USER && l == hostmsg::IPC_GETINIFILE) {
      return reinterpret_cast<std::intptr_t>(iniPath.c_str());
    }
    std::lock_guard<std::mutex> g(lock_);
    messages_.push_back({msg, w, l});
    for (const auto& [request, result] : answers_) {
      if (msg == hostmsg::WM_HOST_USER && l == request) return result;
    }
    return 0;
  };
  window_ = host_.Create(desc);
}

FakePlayer::~FakePlayer() {
  host_.Destroy(window_);
}

std::vector<RecordedMessage> FakePlayer::Messages() const {
  std::lock_guard<std::mutex> g(lock_);
  return messages_;
}

void FakePlayer::ClearMessages() {
  std::lock_guard<std::mutex> g(lock_);
  messages_.clear();
}

void FakePlayer::Answer(std::int32_t request, std::intptr_t result) {
  std::lock_guard<std::mutex> g(lock_);
  answers_.emplace_back(request, result);
}

void PluginTest::SetUp() {
  player_ = std::make_unique<FakePlayer>(folder_.Path());
  record_ = winampGetGeneralPurposePlugin();
  record_->hwndParent = player_->Window();
  ASSERT_EQ(record_->init(), 0);
  ASSERT_NE(PluginInterface, nullptr);
  log_ = std::make_unique<LogWatcher>();
  Config().LoggingChkBox.SetChecked(true);
  Config().IPCombo.SetItems({"127.0.0.1"});
  Config().IPCombo.SetSelected(0);
}

void PluginTest::TearDown() {
  log_.reset();
  if (record_ != nullptr) record_->quit();
  player_.reset();
}

std::uint16_t PluginTest::StartServer(const std::string& port, const std::string& timeout) {
  Config().PortEdit.SetText(port);
  Config().TimeOutEdit.SetText(timeout);
  Config().StartBtnClick();
  return Config().SrvSocket ? Config().SrvSocket->BoundPort() : 0;
}

void PluginTest::StopServer() {
  Config().StopBtnClick();
}

std::string PluginTest::SettingsFile() const {
  return (fs::path(folder_.Path()) / "Plugins" / "gen_Velotam.ini").string();
}

void PluginTest::ReloadPlugin(const std::optional<std::string>& settings) {
  log_.reset();
  record_->quit();
  std::error_code ec;
  fs::remove(SettingsFile(), ec);
  if (settings) WriteFile(SettingsFile(), *settings);
  ASSERT_EQ(record_->init(), 0);
  ASSERT_NE(PluginInterface, nullptr);
  log_ = std::make_unique<LogWatcher>();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

Client::Client(std::uint16_t port) {
  (void)net::Startup();
  socket_ = net::OpenStream();
  if (socket_ == net::kInvalidSocket) return;
  (void)net::SetReceiveTimeout(socket_, 5000);
  if (net::Connect(socket_, net::InetAddr("127.0.0.1"), port) != 0) Close();
}

Client::~Client() {
  Close();
  (void)net::Cleanup();
}

void Client::Send(const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    int n = net::Send(socket_, data.data() + done, static_cast<int>(data.size() - done));
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string Client::ReadAll(int limitMs) {
  std::string out;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  char buf[4096];
  while (std::chrono::steady_clock::now() < deadline) {
    int n = net::Receive(socket_, buf, sizeof buf);
    if (n <= 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  return out;
}

void Client::Close() {
  if (socket_ != net::kInvalidSocket) net::Close(socket_);
  socket_ = net::kInvalidSocket;
}

void Client::Reset() {
  if (socket_ != net::kInvalidSocket) (void)net::SetLingerAbort(socket_);
  Close();
}

std::string Request(std::uint16_t port, const std::string& request) {
  Client c(port);
  c.Send(request);
  return c.ReadAll();
}

std::uint16_t FreePort() {
  (void)net::Startup();
  net::Socket s = net::OpenStream();
  std::uint16_t port = 0;
  if (net::Bind(s, net::InetAddr("127.0.0.1"), 0) == 0) port = net::LocalPort(s);
  net::Close(s);
  (void)net::Cleanup();
  return port;
}

bool Eventually(const std::function<bool()>& pred, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (pred()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(2ms);
  }
}

int AddressInUseError() {
#ifdef _WIN32
  return 10048;
#else
  return 98;
#endif
}

}  // namespace testing_support
