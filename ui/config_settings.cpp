// The configuration dialog and its settings file: loading at start-up, saving on OK and at quit.
#include <algorithm>
#include <utility>

#include "base/text.h"
#include "platform/files.h"
#include "ui/config_dlg.h"
#include "ui/dialog_host.h"
#include "ui/ini_file.h"

namespace {

constexpr int kDefaultPasswordDigit = 0;

// The number n of an address-list key "IP_" + n (decimal, no leading zeros), or false.
bool AddressKeyNumber(const std::string& key, std::int32_t& n) {
  if (key.size() < 4 || !IniFile::SameName(key.substr(0, 3), "IP_")) return false;
  std::string digits = key.substr(3);
  if (digits.size() > 1 && digits[0] == '0') return false;
  if (!text::IsDigits(digits)) return false;
  auto v = text::ParseInt(digits);
  if (!v) return false;
  n = *v;
  return true;
}

// The address-list keys IP_0 .. IP_(count-1) in the order of their numbers; of a key that
// occurs twice the first counts. Only the keys present are visited, so a huge count in a
// hand-edited file costs nothing.
std::vector<std::string> StoredAddresses(const IniFile& file, std::int32_t count) {
  std::vector<std::pair<std::int32_t, std::string>> found;
  for (const IniFile::Entry& e : file.Entries("sicherheit")) {
    std::int32_t n = 0;
    if (!AddressKeyNumber(e.key, n) || n >= count) continue;
    bool seen =
        std::any_of(found.begin(), found.end(), [n](const auto& f) { return f.first == n; });
    if (!seen) found.emplace_back(n, e.value);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> out;
  for (const auto& [n, value] : found) {
    if (!value.empty()) out.push_back(value);
  }
  return out;
}

}  // namespace

std::string TConfigDlg::DefaultPassword() {
  return text::IntToStr(kDefaultPasswordDigit);
}

void TConfigDlg::LoadSettings() {
  const std::string path = host_.IniPath();
  if (path.empty()) return;  // no player folder: no settings file
  IniFile file = IniFile::Load(path);

  LoggingChkBox.SetChecked(file.ReadBool("logging", "EnableLog", true));
  host_.WriteLog(path);
  SelectStoredAddress(file);
  PortEdit.SetText(file.ReadString("allgemein", "port", "4800"));
  PasswdEdit.SetText(file.ReadString("allgemein", "passwd", DefaultPassword()));
  DienstAutoStartChkBox.SetChecked(file.ReadBool("allgemein", "autostart", false));
  bool allow = file.ReadBool("sicherheit", "AllowIP", true);
  ErlaubeAdrRadioBtn.SetChecked(allow);
  VerbieteAdrRadioBtn.SetChecked(!allow);
  StrgAllowCombo.SetSelected(file.ReadInteger("sicherheit", "StrgAllow", 0));
  AdrListBox.SetItems(StoredAddresses(file, file.ReadInteger("sicherheit", "IPCount", 0)));
  TimeOutEdit.SetText(file.ReadString("erweitert", "timeout", "1000"));
  httpheadChkBox.SetChecked(file.ReadBool("erweitert", "httpHeaders", true));
  LanguageFileName = file.ReadString("Language", "Filename", "Velotam_Language.dat");

  if (DienstAutoStartChkBox.Checked()) StartBtnClick();
}

void TConfigDlg::SelectStoredAddress(const IniFile& file) {
  std::string stored = text::Trim(file.ReadString("allgemein", "ip", IPCombo.SelectedText()));
  int index = IPCombo.IndexOf(stored);
  IPCombo.SetSelected(index >= 0 ? index : 0);
}

void TConfigDlg::SaveSettings() {
  const std::string path = host_.IniPath();
  if (path.empty()) return;  // no player folder: no settings file
  IniFile file = IniFile::Load(path);

  file.WriteString("allgemein", "ip", IPCombo.SelectedText());
  file.WriteString("allgemein", "port", PortEdit.Text());
  file.WriteString("allgemein", "passwd", PasswdEdit.Text());
  file.WriteBool("allgemein", "autostart", DienstAutoStartChkBox.Checked());
  file.WriteBool("sicherheit", "AllowIP", ErlaubeAdrRadioBtn.Checked());
  file.WriteInteger("sicherheit", "StrgAllow", StrgAllowCombo.Selected());

  // The keys of the old list go; keys at or above the old count were never read and stay.
  std::int32_t oldCount = file.ReadInteger("sicherheit", "IPCount", 0);
  file.DeleteKeysIf("sicherheit", [oldCount](const std::string& key) {
    std::int32_t n = 0;
    return AddressKeyNumber(key, n) && n < oldCount;
  });
  std::vector<std::string> addresses = AdrListBox.Items();
  file.WriteInteger("sicherheit", "IPCount", static_cast<std::int32_t>(addresses.size()));
  for (std::size_t j = 0; j < addresses.size(); ++j) {
    file.WriteString("sicherheit", "IP_" + text::IntToStr(static_cast<long long>(j)), addresses[j]);
  }

  file.WriteString("erweitert", "timeout", TimeOutEdit.Text());
  file.WriteBool("erweitert", "httpHeaders", httpheadChkBox.Checked());
  file.WriteBool("logging", "EnableLog", LoggingChkBox.Checked());
  file.WriteString("Language", "Filename", LanguageFileName);

  files::MakeFolder(path.substr(0, path.rfind('\\')));
  if (!file.Save(path)) {
    host_.WriteLog("Einstellungen konnten nicht gespeichert werden (" + path + ")");
  }
}
