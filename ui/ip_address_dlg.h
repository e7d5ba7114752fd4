#pragma once
// The IP address dialog: one IPv4 address typed octet by octet for the client address list.
// Modal; OK (the default button) and Cancel set the modal result. Each octet field behaves as
// a masked edit of three digits: a key release normalises the field and, once it holds three
// characters, moves the focus on to the next field (after the fourth to OK).

#include <optional>
#include <string>

#include "ui/models/dialog.h"

class LogSink;

class TOKBottomDlg : public ui::Dialog {
 public:
  static constexpr std::size_t kOctetLength = 3;

  TOKBottomDlg(ui::Forms& forms, LogSink& log);
  ~TOKBottomDlg() override;

  // Trimmed; the first inner blank removed (the gap a deleted middle digit leaves); a number of
  // 256 or more becomes "255". Leading zeros stay.
  static std::string NormalizeOctet(const std::string& octet);
  // Not empty after normalising, and digits only.
  static bool IsOctetValid(const std::string& octet);
  bool IsAddressValid() const;
  // The four fields, trimmed, joined by ".".
  std::string GetAddressText() const;

  // The mask of an octet field, for every face: what typing `typed` (one key, or a pasted
  // text) over the selection [from, to) of the field's text leaves. Digits only, at most three;
  // blanks are empty places. The typed digits replace the selection, as many as there is room
  // for; the caret stands after them. nullopt when the field stays as it is.
  using Typed = ui::Typed;
  static std::optional<Typed> TypeOver(const std::string& text, std::size_t from, std::size_t to,
                                       const std::string& typed);
  // The mask above, for the faces: every octet field has it.
  std::optional<Typed> TypeOver(const ui::Edit& field, const std::string& text, std::size_t from,
                                std::size_t to, const std::string& typed) const override;
  // A dot typed into a field: once the field holds a digit the focus moves on, as after three
  // digits, so that an address typed with its dots lands in the four fields. Taken in every
  // octet field, whether the focus moves or not.
  bool TypeDot(ui::Edit& field) override;

  void IP_firstnumKeyUp();
  void IP_secondnumKeyUp();
  void IP_thirdnumKeyUp();
  void IP_fourthnumKeyUp();
  void IP_firstnumExit();
  void IP_secondnumExit();
  void IP_thirdnumExit();
  void IP_fourthnumExit();

  ui::Plain Bevel1;
  ui::Edit IP_firstnum;
  ui::Plain Label1;
  ui::Edit IP_secondnum;
  ui::Plain Label2;
  ui::Edit IP_thirdnum;
  ui::Plain Label3;
  ui::Edit IP_fourthnum;
  ui::Plain OKBtn;
  ui::Plain CancelBtn;

 private:
  void KeyUp(ui::Edit& field, ui::Control& next);
  ui::Control* NextAfter(const ui::Edit& field);
  void Normalize(ui::Edit& field);

  LogSink& log_;
};
