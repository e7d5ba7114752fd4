#pragma once
// The restart dialog's design: form and controls with their design-time captions, bounds
// (left, top, width, height) and tab order. The form is centred on the screen by the view, so
// only its client size counts.

#include "ui/models/control.h"

namespace layout {

inline constexpr ui::Bounds kRestartForm{0, 0, 511, 78};
inline constexpr ui::FontStyle kRestartFont{"MS Sans Serif", -13, true};

// clang-format off
inline constexpr ui::Layout RestartBevel1{"Bevel1", ui::Kind::Bevel, "", "", {0, 0, 511, 78}, -1};
inline constexpr ui::Layout RestartLabel{"RestartLabel", ui::Kind::Label, "", "Damit die \xC4" "nderung aktiv wird, muss der Server neugestartet werden.", {8, 8, 489, 16}, -1, ui::kCentred, kRestartFont};
inline constexpr ui::Layout RestartQuestLabel{"RestartQuestLabel", ui::Kind::Label, "", "Soll der Server jetzt neu gestartet werden?", {8, 24, 489, 16}, -1, ui::kCentred, kRestartFont};
inline constexpr ui::Layout RestartBtn{"RestartBtn", ui::Kind::Button, "", "&Ja - Restart", {176, 48, 81, 25}, 0};
inline constexpr ui::Layout RestartCancelBtn{"CancelBtn", ui::Kind::Button, "", "&Nein - Abbruch", {272, 48, 81, 25}, 1};
// clang-format on

}  // namespace layout
