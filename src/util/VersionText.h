#pragma once
// The product version shown in the about box.
#include <string>

namespace lumaplot {

// "major.minor.patch.0" of the version compiled into this program when `fileName`
// is empty or names the running executable; empty for any other file, since only
// the program itself carries a version here.
std::string VersionText(const std::string& fileName = {});

}  // namespace lumaplot
