#pragma once
// File-name masks as the file search and drag-and-drop use them.
#include <string>
#include <string_view>
#include <vector>

namespace lumaplot {

// "*" matches any run of characters (also none), "?" exactly one character (one
// UTF-8 sequence), every other mask character one equal character, ASCII letters
// without regard to case. An empty mask matches only the empty text. Runs in time
// proportional to mask length × text length at worst, whatever the input.
bool MatchesWildcard(std::string_view mask, std::string_view text);

// The masks of a list separated by ";", blanks around each removed, empty ones left out.
std::vector<std::string> SplitMaskList(std::string_view masks);

}  // namespace lumaplot
