#include "plugin/interface.h"

#include "base/text.h"
#include "control/serve_request.h"
#include "lang/language_translation.h"
#include "platform/net.h"
#include "protocol/host_messages.h"
#include "ui/config_dlg.h"
#include "ui/face.h"
#include "ui/models/forms.h"

// The one central object of the run; the entry points create it and take it away, and the
// player's callbacks (which carry no context) reach it here.
Interface* PluginInterface = nullptr;

namespace {
// The clock of the Date header: a seam that tests replace, read by the workers on any thread.
clk::UtcTime (*g_clock)() = &clk::NowUtc;
// The password back-off's clock: a seam that tests replace, read by the workers on any thread.
std::int64_t (*g_steadyClock)() = &clk::SteadyMs;
}  // namespace

Interface::Interface(GeneralPurposePlugin* record)
    : record_(record),
      dialogs_(*this),
      face_(face::Make(dialogs_.Forms(), static_cast<DialogHost&>(*this))) {}

Interface::~Interface() {
  face_.reset();
}

bool Interface::StopServerForQuit() {
  // A throw would end the player: the server's stop stops its own failures.
  try {
    return GetConfigDialog().StopServerForQuit();
  } catch (...) {
    try {
      WriteLog("FEHLER in (Interface::Quit)");
    } catch (...) {
    }
    return false;
  }
}

void Interface::KeepForWorker() {
  try {
    // The dialog is not destroyed, so its settings are saved here.
    GetConfigDialog().SaveSettings();
  } catch (...) {
    try {
      WriteLog("FEHLER in (TConfigDlg::SaveSettings)");
    } catch (...) {
    }
  }
  try {
    WriteLog("Quit: Server-Thread endet nicht - Objekte bleiben bestehen");
  } catch (...) {
  }
  try {
    face_.reset();
  } catch (...) {
  }
}

void Interface::SetupConfigDialog() {
  GetConfigDialog().PrepareDialog();
}

void Interface::ShowConfigDialog() {
  GetConfigDialog().Show();
  GetConfigDialog().FormShow();
}

std::intptr_t Interface::SendPlayerMessage(std::uint32_t msg, std::uintptr_t wparam,
                                           std::intptr_t lparam) {
  return host::Send(record_->hwndParent, msg, wparam, lparam);
}

std::intptr_t Interface::SendPlayerCopyData(std::uintptr_t request, const std::string& text) {
  return host::SendCopyData(record_->hwndParent, request, text);
}

std::string Interface::ReadPlayerText(int maxBytes) {
  return host::GetText(record_->hwndParent, maxBytes);
}

host::Window Interface::FindWindowByClass(const std::string& className) {
  return host::FindByClass(className);
}

host::Window Interface::FindWindowByTitle(const std::string& title) {
  return host::FindByTitle(title);
}

std::intptr_t Interface::SendWindowMessage(host::Window w, std::uint32_t msg, std::uintptr_t wparam,
                                           std::intptr_t lparam) {
  return host::Send(w, msg, wparam, lparam);
}

std::string Interface::ReadItemText(host::Window w, int id, int maxBytes) {
  return host::GetItemText(w, id, maxBytes);
}

void Interface::WriteLog(const std::string& message) {
  dialogs_.WriteLog(message);
}

void Interface::Flush() {
  dialogs_.FlushLog();
}

void Interface::Log(const std::string& message) {
  if (PluginInterface != nullptr) PluginInterface->WriteLog(message);
}

std::string Interface::GetPassword() const {
  return GetConfigDialog().PasswdEdit.Text();
}

int Interface::GetAutostart() const {
  return GetConfigDialog().DienstAutoStartChkBox.Checked() ? 1 : 0;
}

void Interface::SetAutostart(int value) {
  GetConfigDialog().DienstAutoStartChkBox.SetChecked(value == 1);
}

std::string Interface::GetPortText() const {
  return text::Trim(GetConfigDialog().PortEdit.Text());
}

int Interface::GetPort() const {
  return text::StrToInt(GetPortText());
}

std::string Interface::GetTimeoutText() const {
  return text::Trim(GetConfigDialog().TimeOutEdit.Text());
}

int Interface::GetTimeout() const {
  return text::StrToInt(GetTimeoutText());
}

std::uint32_t Interface::GetBindAddress() const {
  return net::InetAddr(text::Trim(GetConfigDialog().IPCombo.SelectedText()));
}

bool Interface::IsControlAllowed() const {
  return GetConfigDialog().StrgAllowCombo.Selected() == 1;
}

bool Interface::IsHttpHeaderOn() const {
  return GetConfigDialog().httpheadChkBox.Checked();
}

std::vector<std::string> Interface::GetAddressList() const {
  return GetConfigDialog().AdrListBox.Items();
}

bool Interface::IsBlockListMode() const {
  return GetConfigDialog().ErlaubeAdrRadioBtn.Checked();
}

TConfigDlg& Interface::GetConfigDialog() const {
  return dialogs_.Config();
}

RequestSettings Interface::SnapshotSettings() const {
  RequestSettings s;
  s.password = GetPassword();
  s.addressList = GetAddressList();
  s.blockListMode = IsBlockListMode();
  s.controlAllowed = IsControlAllowed();
  s.httpHeader = IsHttpHeaderOn();
  s.autostart = GetAutostart();
  return s;
}

void Interface::Serve(const std::string& received, const std::string& clientAddress,
                      ReplySink& reply) {
  try {
    RequestContext request(SnapshotSettings(), *this, &reply);
    request.watch = &watch_;
    ServeRequest(received, clientAddress, request, &backoff_);
  } catch (...) {
    Log("FEHLER in (Interface::Serve)");
  }
}

void Interface::ServerStarted() {
  try {
    watch_.Begin(FirstCounter(Now(), watch_.LastCounter()));
  } catch (...) {
    Log("FEHLER in (Interface::ServerStarted)");
  }
}

void Interface::ServerStopping() {
  watch_.End();
}

LanguageTranslation Interface::Language() {
  // One question to the player for the folder: the file's path is built from it.
  const std::string folder = GetPluginPath() + "Plugins";
  DialogHost& log = *this;
  return LanguageTranslation(LanguageFileIn(folder), folder, dialogs_, log);
}

void Interface::ReadLanguageFile() {
  Language().ReadLanguageFile();
}

void Interface::WriteLanguageFile() {
  Language().WriteLanguageFile();
}

clk::UtcTime Interface::Now() {
  return g_clock();
}

void Interface::SetClock(clk::UtcTime (*clock)()) {
  g_clock = clock != nullptr ? clock : &clk::NowUtc;
}

std::int64_t Interface::SteadyMs() {
  return g_steadyClock();
}

void Interface::SetSteadyClock(std::int64_t (*clock)()) {
  g_steadyClock = clock != nullptr ? clock : &clk::SteadyMs;
}

std::string Interface::GetPluginPath() {
  try {
    std::intptr_t r = SendPlayerMessage(hostmsg::WM_HOST_USER, 0, hostmsg::IPC_GETINIFILE);
    std::string path = r != 0 ? std::string(reinterpret_cast<const char*>(r)) : std::string();
    std::size_t p = path.find("Winamp.ini");
    if (p != std::string::npos) path.erase(p, 10);
    return path;
  } catch (...) {
    Log("FEHLER in (Interface::GetPluginPath)");
    return std::string();
  }
}

std::string Interface::GetIniPath() {
  return GetPluginPath() + "Plugins\\gen_Velotam.ini";
}

std::string Interface::GetLanguagePath() {
  return LanguageFileIn(GetPluginPath() + "Plugins");
}

std::string Interface::LanguageFileIn(const std::string& folder) const {
  return folder + "\\" + text::Trim(GetConfigDialog().LanguageFileName);
}
