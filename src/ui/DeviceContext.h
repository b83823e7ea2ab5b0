#pragma once
// Device contexts as scopes: a window's DC, and BeginPaint / EndPaint.

#include "platform/win32/Win32Toolkit.h"

namespace tarn::ui {

using platform::PaintScope;
using platform::WindowDc;

}  // namespace tarn::ui
