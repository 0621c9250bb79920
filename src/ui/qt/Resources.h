#pragma once
// The program's compiled-in resources (icons, help pages; resources/resources.qrc)
// live in the static ui library, where the linker would drop them unless something
// refers to them. Every user of a ":/" path calls InitResources() first; it does its
// work once. GUI thread (or before the application starts).
namespace lumaplot {

void InitResources();

}  // namespace lumaplot
