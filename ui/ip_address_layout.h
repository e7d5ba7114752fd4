#pragma once
// The IP address dialog's design: four octet fields in one row inside a frame, the dots
// between them, OK and Cancel below. The form is centred on the screen by the view.

#include "ui/models/control.h"

namespace layout {

inline constexpr ui::Bounds kIPAddressForm{0, 0, 182, 98};
inline constexpr ui::FontStyle kBold{"MS Sans Serif", -11, true};

// clang-format off
inline constexpr ui::Layout IPBevel1{"Bevel1", ui::Kind::Bevel, "", "", {8, 8, 166, 41}, -1};
inline constexpr ui::Layout IP_firstnum{"IP_firstnum", ui::Kind::Edit, "", "   ", {16, 18, 30, 21}, 0, ui::kOctet, kBold};
inline constexpr ui::Layout IPLabel1{"Label1", ui::Kind::Label, "", ".", {48, 22, 4, 13}, -1, 0, kBold};
inline constexpr ui::Layout IP_secondnum{"IP_secondnum", ui::Kind::Edit, "", "   ", {56, 18, 30, 21}, 1, ui::kOctet, kBold};
inline constexpr ui::Layout IPLabel2{"Label2", ui::Kind::Label, "", ".", {88, 22, 4, 13}, -1, 0, kBold};
inline constexpr ui::Layout IP_thirdnum{"IP_thirdnum", ui::Kind::Edit, "", "   ", {96, 18, 30, 21}, 2, ui::kOctet, kBold};
inline constexpr ui::Layout IPLabel3{"Label3", ui::Kind::Label, "", ".", {128, 22, 4, 13}, -1, 0, kBold};
inline constexpr ui::Layout IP_fourthnum{"IP_fourthnum", ui::Kind::Edit, "", "   ", {136, 18, 30, 21}, 3, ui::kOctet, kBold};
inline constexpr ui::Layout OKBtn{"OKBtn", ui::Kind::Button, "", "OK", {14, 62, 75, 25}, 4};
inline constexpr ui::Layout IPCancelBtn{"CancelBtn", ui::Kind::Button, "", "Cancel", {94, 62, 75, 25}, 5};
// clang-format on

}  // namespace layout
