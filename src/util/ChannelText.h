#pragma once
// Text of a 0-based DMX channel in the 4096-channel space (8 ports of 512 channels)
// and its inverse. Letter form: port letter and channel of the port, "A001" … "H512";
// number form: "1" … "4096". Pure functions, safe from any thread.
#include <string>
#include <string_view>

namespace lumaplot {

// Empty text for a channel outside 0 … 4095 (−1 = not patched).
std::string ChannelName(int channel, bool letterForm);

// Reads either form back; −1 for empty text, "All" (any case) and anything that is
// not a channel. Blanks around the text are ignored. A letter "A" … "H" (any case)
// must be followed by 1 … 512; a plain number n is taken when 1 ≤ n ≤ `limit`.
int ParseChannelName(std::string_view text, int limit = 4096);

}  // namespace lumaplot
