#pragma once
// The configuration dialog's design: form and controls with their design-time captions,
// bounds (left, top, width, height, relative to the parent) and tab order. Views build their
// windows from this table.

#include "ui/models/control.h"

namespace layout {

using ui::Kind;

inline constexpr ui::Bounds kConfigForm{309, 299, 314, 241};
inline constexpr ui::FontStyle kSmallFont{"MS Sans Serif", -7, false};
inline constexpr ui::FontStyle kArial19{"Arial", -19, false};
inline constexpr ui::FontStyle kArial13{"Arial", -13, false};
inline constexpr ui::FontStyle kArial11{"Arial", -11, false};

// clang-format off
inline constexpr ui::Layout CloseBttn{"CloseBttn", Kind::Button, "", "&OK", {235, 213, 75, 25}, 0};
inline constexpr ui::Layout TabPages{"TabPages", Kind::PageControl, "", "", {5, 8, 308, 201}, 1};
inline constexpr ui::Layout StartBtn{"StartBtn", Kind::Button, "", "S&tart", {5, 213, 57, 25}, 2};
inline constexpr ui::Layout StopBtn{"StopBtn", Kind::Button, "", "Sto&p", {69, 213, 57, 25}, 3};
inline constexpr ui::Layout AllgemeinTab{"AllgemeinTab", Kind::TabPage, "TabPages", "&Server", {}, -1};
inline constexpr ui::Layout Bevel1{"Bevel1", Kind::Bevel, "AllgemeinTab", "", {0, 0, 297, 169}, -1};
inline constexpr ui::Layout IP_label{"IP_label", Kind::Label, "AllgemeinTab", "IP:", {24, 22, 13, 13}, -1, ui::kAutoSize};
inline constexpr ui::Layout Port_label{"Port_label", Kind::Label, "AllgemeinTab", "Port:", {24, 56, 22, 13}, -1, ui::kAutoSize};
inline constexpr ui::Layout Passwd_label{"Passwd_label", Kind::Label, "AllgemeinTab", "Passwort:", {24, 84, 46, 13}, -1, ui::kAutoSize};
inline constexpr ui::Layout Timeout_label{"Timeout_label", Kind::Label, "AllgemeinTab", "Timeout (ms):", {24, 108, 63, 13}, -1, ui::kAutoSize};
inline constexpr ui::Layout IPCombo{"IPCombo", Kind::ComboBox, "AllgemeinTab", "", {92, 19, 145, 21}, 0};
inline constexpr ui::Layout PasswdEdit{"PasswdEdit", Kind::Edit, "AllgemeinTab", "", {92, 76, 89, 21}, 1, ui::kPassword};
inline constexpr ui::Layout DienstAutoStartChkBox{"DienstAutoStartChkBox", Kind::CheckBox, "AllgemeinTab", "Dienst automatisch starten", {24, 144, 169, 17}, 2};
inline constexpr ui::Layout PortEdit{"PortEdit", Kind::Edit, "AllgemeinTab", "", {92, 48, 49, 21}, 3};
inline constexpr ui::Layout httpheadChkBox{"httpheadChkBox", Kind::CheckBox, "AllgemeinTab", "HTTP Header", {192, 144, 97, 17}, 4};
inline constexpr ui::Layout TimeOutEdit{"TimeOutEdit", Kind::Edit, "AllgemeinTab", "1000", {92, 104, 49, 21}, 5};
inline constexpr ui::Layout SicherheitTab{"SicherheitTab", Kind::TabPage, "TabPages", "Siche&rheit", {}, -1};
inline constexpr ui::Layout Bevel2{"Bevel2", Kind::Bevel, "SicherheitTab", "", {0, 0, 297, 169}, -1};
inline constexpr ui::Layout ErlaubeAdrRadioBtn{"ErlaubeAdrRadioBtn", Kind::RadioButton, "SicherheitTab", "Erlaube alle Adressen au\xDF" "er:", {16, 8, 273, 17}, 0};
inline constexpr ui::Layout VerbieteAdrRadioBtn{"VerbieteAdrRadioBtn", Kind::RadioButton, "SicherheitTab", "Verbiete alle Adressen au\xDF" "er:", {16, 24, 273, 17}, 1};
inline constexpr ui::Layout hinzfuegenBtn{"hinzfuegenBtn", Kind::Button, "SicherheitTab", "&hinzuf\xFCgen", {216, 116, 75, 17}, 2};
inline constexpr ui::Layout entfernenBtn{"entfernenBtn", Kind::Button, "SicherheitTab", "&entfernen", {216, 136, 75, 17}, 3};
inline constexpr ui::Layout AdrListBox{"AdrListBox", Kind::ListBox, "SicherheitTab", "", {16, 56, 193, 97}, 4};
inline constexpr ui::Layout StrgAllowCombo{"StrgAllowCombo", Kind::ComboBox, "SicherheitTab", "", {216, 56, 73, 21}, 5};
inline constexpr ui::Layout LogTab{"LogTab", Kind::TabPage, "TabPages", "&Protokoll", {}, -1};
inline constexpr ui::Layout Bevel3{"Bevel3", Kind::Bevel, "LogTab", "", {0, 0, 297, 169}, -1};
inline constexpr ui::Layout Out{"Out", Kind::ListBox, "LogTab", "", {8, 24, 281, 121}, 0};
inline constexpr ui::Layout ProtLoeschenBtn{"ProtLoeschenBtn", Kind::Button, "LogTab", "Protokoll &l\xF6schen", {185, 149, 104, 15}, 1};
inline constexpr ui::Layout LoggingChkBox{"LoggingChkBox", Kind::CheckBox, "LogTab", "Protokoll &an", {8, 4, 273, 17}, 2, 0, kSmallFont};
inline constexpr ui::Layout CreateLangBtn{"CreateLangBtn", Kind::Button, "LogTab", "&Erstelle Sprachdatei", {8, 149, 104, 15}, 3};
inline constexpr ui::Layout InfoTab{"InfoTab", Kind::TabPage, "TabPages", "&Info", {}, -1};
inline constexpr ui::Layout Bevel4{"Bevel4", Kind::Bevel, "InfoTab", "", {0, 0, 297, 169}, -1};
inline constexpr ui::Layout Panel1{"Panel1", Kind::Panel, "InfoTab", "", {8, 8, 281, 153}, 0, ui::kBlack};
inline constexpr ui::Layout Image1{"Image1", Kind::Image, "Panel1", "", {8, 2, 113, 145}, -1};
inline constexpr ui::Layout Label2{"Label2", Kind::Label, "Panel1", "Velotam", {143, 42, 127, 22}, -1, 0, kArial19};
inline constexpr ui::Layout NameVersion{"NameVersion", Kind::Label, "Panel1", "Velotam v1.0", {166, 65, 70, 16}, -1, ui::kAutoSize, kArial13};
inline constexpr ui::Layout Label4{"Label4", Kind::Label, "Panel1", "developers", {146, 112, 118, 14}, -1, 0, kArial11};
// clang-format on

}  // namespace layout
