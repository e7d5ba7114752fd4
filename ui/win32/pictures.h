#pragma once
// The plug-in's pictures, drawn by code at run time: no resource files, nothing loaded.

#include <windows.h>

namespace win32ui {

// The forms' icon, 45 x 45 pixels: a remote control sending sound waves, on a transparent
// ground. The caller owns the icon and frees it with DestroyIcon. nullptr when GDI fails.
HICON CreateFormIcon();

// The picture of the Info page, 110 x 145 pixels: a 24-bit DIB section with an evening sky
// gradient, a sun and equaliser bars. The caller owns the bitmap and frees it with
// DeleteObject. nullptr when GDI fails.
HBITMAP CreateInfoPicture();

inline constexpr int kFormIconSize = 45;
inline constexpr int kInfoPictureWidth = 110;
inline constexpr int kInfoPictureHeight = 145;

}  // namespace win32ui
