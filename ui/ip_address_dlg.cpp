#include "ui/ip_address_dlg.h"

#include <algorithm>

#include "base/log_sink.h"
#include "base/text.h"
#include "ui/ip_address_layout.h"

TOKBottomDlg::TOKBottomDlg(ui::Forms& forms, LogSink& log)
    : ui::Dialog(forms, "OKBottomDlg", "IP - Adresse", layout::kIPAddressForm),
      Bevel1(*this, layout::IPBevel1),
      IP_firstnum(*this, layout::IP_firstnum),
      Label1(*this, layout::IPLabel1),
      IP_secondnum(*this, layout::IP_secondnum),
      Label2(*this, layout::IPLabel2),
      IP_thirdnum(*this, layout::IP_thirdnum),
      Label3(*this, layout::IPLabel3),
      IP_fourthnum(*this, layout::IP_fourthnum),
      OKBtn(*this, layout::OKBtn),
      CancelBtn(*this, layout::IPCancelBtn),
      log_(log) {
  IP_firstnum.OnKeyUp = [this] { IP_firstnumKeyUp(); };
  IP_secondnum.OnKeyUp = [this] { IP_secondnumKeyUp(); };
  IP_thirdnum.OnKeyUp = [this] { IP_thirdnumKeyUp(); };
  IP_fourthnum.OnKeyUp = [this] { IP_fourthnumKeyUp(); };
  IP_firstnum.OnExit = [this] { IP_firstnumExit(); };
  IP_secondnum.OnExit = [this] { IP_secondnumExit(); };
  IP_thirdnum.OnExit = [this] { IP_thirdnumExit(); };
  IP_fourthnum.OnExit = [this] { IP_fourthnumExit(); };
  OKBtn.OnClick = [this] { SetModalResult(ui::ModalResult::OK); };
  CancelBtn.OnClick = [this] { SetModalResult(ui::ModalResult::Cancel); };
  AnnounceCreated();
}

TOKBottomDlg::~TOKBottomDlg() {
  AnnounceDestroyed();
}

std::string TOKBottomDlg::NormalizeOctet(const std::string& octet) {
  std::string t = text::Trim(octet);
  if (t.empty()) return t;
  std::size_t blank = t.find(' ');
  if (blank != std::string::npos) t.erase(blank, 1);
  // Only digits reach the field through its mask; other texts are left for IsOctetValid.
  if (!text::IsDigits(t)) return t;
  auto v = text::ParseInt(t);
  if (!v || *v >= 256) t = "255";
  return t;
}

bool TOKBottomDlg::IsOctetValid(const std::string& octet) {
  return text::IsDigits(NormalizeOctet(octet));
}

bool TOKBottomDlg::IsAddressValid() const {
  for (const ui::Edit* f : {&IP_firstnum, &IP_secondnum, &IP_thirdnum, &IP_fourthnum}) {
    if (!IsOctetValid(f->Text())) return false;
  }
  return true;
}

std::string TOKBottomDlg::GetAddressText() const {
  return text::Trim(IP_firstnum.Text()) + "." + text::Trim(IP_secondnum.Text()) + "." +
         text::Trim(IP_thirdnum.Text()) + "." + text::Trim(IP_fourthnum.Text());
}

namespace {
std::string WithoutBlanks(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c != ' ') out += c;
  }
  return out;
}
}  // namespace

std::optional<TOKBottomDlg::Typed> TOKBottomDlg::TypeOver(const std::string& text, std::size_t from,
                                                          std::size_t to,
                                                          const std::string& typed) {
  from = std::min(from, text.size());
  to = std::min(std::max(from, to), text.size());
  std::string digits;
  for (char c : typed) {
    if (c >= '0' && c <= '9') digits += c;
  }
  const std::string before = WithoutBlanks(text.substr(0, from));
  const std::string after = WithoutBlanks(text.substr(to));
  const std::size_t kept = before.size() + after.size();
  digits.resize(std::min(digits.size(), kept < kOctetLength ? kOctetLength - kept : 0));
  if (digits.empty()) return std::nullopt;
  return Typed{before + digits + after, before.size() + digits.size()};
}

std::optional<TOKBottomDlg::Typed> TOKBottomDlg::TypeOver(const ui::Edit& field,
                                                          const std::string& text, std::size_t from,
                                                          std::size_t to,
                                                          const std::string& typed) const {
  if (!field.Has(ui::kOctet)) return std::nullopt;
  return TypeOver(text, from, to, typed);
}

bool TOKBottomDlg::TypeDot(ui::Edit& field) {
  if (!field.Has(ui::kOctet)) return false;
  ui::Control* next = NextAfter(field);
  if (next != nullptr && !text::Trim(field.Text()).empty()) AllForms().MoveFocus(next);
  return true;
}

ui::Control* TOKBottomDlg::NextAfter(const ui::Edit& field) {
  if (&field == &IP_firstnum) return &IP_secondnum;
  if (&field == &IP_secondnum) return &IP_thirdnum;
  if (&field == &IP_thirdnum) return &IP_fourthnum;
  if (&field == &IP_fourthnum) return &OKBtn;
  return nullptr;
}

void TOKBottomDlg::Normalize(ui::Edit& field) {
  field.SetText(NormalizeOctet(field.Text()));
}

void TOKBottomDlg::KeyUp(ui::Edit& field, ui::Control& next) {
  try {
    Normalize(field);
    if (field.Text().size() >= kOctetLength) AllForms().MoveFocus(&next);
  } catch (...) {
    log_.WriteLog("FEHLER in (TOKBottomDlg::KeyUp)");
  }
}

void TOKBottomDlg::IP_firstnumKeyUp() {
  KeyUp(IP_firstnum, IP_secondnum);
}
void TOKBottomDlg::IP_secondnumKeyUp() {
  KeyUp(IP_secondnum, IP_thirdnum);
}
void TOKBottomDlg::IP_thirdnumKeyUp() {
  KeyUp(IP_thirdnum, IP_fourthnum);
}
void TOKBottomDlg::IP_fourthnumKeyUp() {
  KeyUp(IP_fourthnum, OKBtn);
}
void TOKBottomDlg::IP_firstnumExit() {
  Normalize(IP_firstnum);
}
void TOKBottomDlg::IP_secondnumExit() {
  Normalize(IP_secondnum);
}
void TOKBottomDlg::IP_thirdnumExit() {
  Normalize(IP_thirdnum);
}
void TOKBottomDlg::IP_fourthnumExit() {
  Normalize(IP_fourthnum);
}
