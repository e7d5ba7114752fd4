#include "plugin/interface.h"

#include "base/text.h"
#include "platform/net.h"
#include "plugin/host_messages.h"
#include "ui/config_dlg.h"
#include "ui/restart_dlg.h"

Interface* PluginInterface = nullptr;

namespace {
clk::UtcTime (*g_clock)() = &clk::NowUtc;
}

Interface::Interface(GeneralPurposePlugin* record) : record_(record) {
  new TConfigDlg();         // stores itself in ConfigDlg
  new TServerRestartDlg();  // stores itself in ServerRestartDlg
}

Interface::~Interface() {
  // A throw from a destructor would end the player: the server's stop stops its own failures.
  try {
    if (ConfigDlg != nullptr) ConfigDlg->StopServerForQuit();
  } catch (...) {
    try {
      Log("FEHLER in (Interface::Quit)");
    } catch (...) {
    }
  }
  delete ConfigDlg;
  ConfigDlg = nullptr;
  delete ServerRestartDlg;
}

void Interface::SetupConfigDialog() {
  ConfigDlg->PrepareDialog();
}

void Interface::ShowConfigDialog() {
  ConfigDlg->Show();
  ConfigDlg->FormShow();
}

host::Window Interface::PlayerWindow() const {
  return record_->hwndParent;
}

std::intptr_t Interface::SendPlayerMessage(std::uint32_t msg, std::uintptr_t wparam,
                                           std::intptr_t lparam) {
  return host::Send(record_->hwndParent, msg, wparam, lparam);
}

std::intptr_t Interface::SendPlayerCopyData(std::uintptr_t request, const std::string& text) {
  return host::SendCopyData(record_->hwndParent, request, text);
}

std::string Interface::ReadPlayerText(int maxBytes) const {
  return host::GetText(record_->hwndParent, maxBytes);
}

host::Window Interface::FindWindowByClass(const std::string& className) const {
  return host::FindByClass(className);
}

host::Window Interface::FindWindowByTitle(const std::string& title) const {
  return host::FindByTitle(title);
}

std::intptr_t Interface::SendWindowMessage(host::Window w, std::uint32_t msg, std::uintptr_t wparam,
                                           std::intptr_t lparam) {
  return host::Send(w, msg, wparam, lparam);
}

std::string Interface::ReadWindowText(host::Window w, int maxBytes) const {
  return host::GetText(w, maxBytes);
}

std::string Interface::ReadItemText(host::Window w, int id, int maxBytes) const {
  return host::GetItemText(w, id, maxBytes);
}

std::string Interface::HostText(std::intptr_t reference) {
  if (reference == 0) return std::string();
  return std::string(reinterpret_cast<const char*>(reference));
}

void Interface::WriteLog(const std::string& message) {
  TConfigDlg* dlg = ConfigDlg;
  if (dlg == nullptr || !dlg->LoggingChkBox.Checked()) return;
  dlg->Out.Append("Server: " + message);
}

void Interface::Log(const std::string& message) {
  if (PluginInterface != nullptr) PluginInterface->WriteLog(message);
}

std::string Interface::GetPassword() const {
  return ConfigDlg->PasswdEdit.Text();
}

int Interface::GetAutostart() const {
  return ConfigDlg->DienstAutoStartChkBox.Checked() ? 1 : 0;
}

void Interface::SetAutostart(int value) {
  ConfigDlg->DienstAutoStartChkBox.SetChecked(value == 1);
}

std::string Interface::GetPortText() const {
  return text::Trim(ConfigDlg->PortEdit.Text());
}

int Interface::GetPort() const {
  return text::StrToInt(GetPortText());
}

std::string Interface::GetTimeoutText() const {
  return text::Trim(ConfigDlg->TimeOutEdit.Text());
}

int Interface::GetTimeout() const {
  return text::StrToInt(GetTimeoutText());
}

std::uint32_t Interface::GetBindAddress() const {
  return net::InetAddr(text::Trim(ConfigDlg->IPCombo.SelectedText()));
}

bool Interface::IsControlAllowed() const {
  return ConfigDlg->StrgAllowCombo.Selected() == 1;
}

bool Interface::IsHttpHeaderOn() const {
  return ConfigDlg->httpheadChkBox.Checked();
}

std::vector<std::string> Interface::GetAddressList() const {
  return ConfigDlg->AdrListBox.Items();
}

bool Interface::IsBlockListMode() const {
  return ConfigDlg->ErlaubeAdrRadioBtn.Checked();
}

TConfigDlg& Interface::GetConfigDialog() const {
  return *ConfigDlg;
}

std::string Interface::MonthName(int month) const {
  static const char* const kNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (month < 1 || month > 12) {
    Log("Monat\xFC"
        "bersetzung nicht gefunden!");
    return std::string();
  }
  return kNames[month - 1];
}

std::string Interface::DayName(int weekday) const {
  static const char* const kNames[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  if (weekday < 1 || weekday > 7) {
    Log("Tag\xFC"
        "bersetzung nicht gefunden!");
    return std::string();
  }
  return kNames[weekday - 1];
}

clk::UtcTime Interface::Now() const {
  return g_clock();
}

void Interface::SetClock(clk::UtcTime (*clock)()) {
  g_clock = clock != nullptr ? clock : &clk::NowUtc;
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
  return GetPluginPath() + "Plugins\\" + text::Trim(ConfigDlg->LanguageFileName);
}
