#pragma once
// The plug-in's pictures, drawn by code at run time: no resource files, nothing loaded.

#include <windows.h>

#include "ui/win32/gdi.h"

namespace win32ui {

// The forms' icon, 45 x 45 pixels: a remote control sending sound waves, on a transparent
// ground. Empty when GDI fails.
Icon CreateFormIcon();

// The picture of the Info page, 110 x 145 pixels: a 24-bit DIB section with an evening sky
// gradient, a sun and equaliser bars. Empty when GDI fails.
Bitmap CreateInfoPicture();

inline constexpr int kFormIconSize = 45;
inline constexpr int kInfoPictureWidth = 110;
inline constexpr int kInfoPictureHeight = 145;

}  // namespace win32ui
