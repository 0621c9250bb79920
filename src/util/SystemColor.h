#pragma once
// Colour values that name a system colour of the Windows palette: 0xFF000000 plus
// the colour index (as stage and settings files written on Windows may hold them,
// for example 0xFF00000F for the button face). ColorToRgb turns such a value into
// the plain colour 0x00BBGGRR that the classic palette gives it; every other value
// is returned unchanged. Pure functions, any thread.
#include <cstdint>

namespace lumaplot {

inline constexpr int32_t kSystemColorFlag = static_cast<int32_t>(0xFF000000u);
inline constexpr int32_t kSysColorAppWorkspace = 12;
inline constexpr int32_t kSysColorButtonFace = 15;

// True for 0xFF000000 | index.
bool IsSystemColor(int32_t color);

// A system colour value gives its palette colour (an index the palette lacks gives
// black); any other value comes back as it is.
int32_t ColorToRgb(int32_t color);

}  // namespace lumaplot
