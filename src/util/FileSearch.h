#pragma once
// Folder tests and the recursive file search behind drag-and-drop of folders.
// Results are full paths (folder + "/" + name). Entries of a folder are taken in
// name order (ASCII case ignored), so results do not depend on the file system.
// Only regular files are listed (symbolic links to files included); devices, pipes
// and sockets never are, and symbolic links to folders are not descended into, so a
// link loop cannot make a search run away. A folder that cannot be read adds
// nothing. Safe from any thread.
#include <string>
#include <string_view>
#include <vector>

namespace lumaplot {

// Paths here have no length limit and need no prefix: returns `path` unchanged.
std::string LongPath(const std::string& path);

// False for an empty path; otherwise whether `path` names a folder.
bool DirectoryExistsEx(const std::string& path);

// When `folder` is a folder: with `recurse` and `depth` > 0 first searches each
// sub-folder (not those whose name matches one of `skipMasks`) with `depth` − 1,
// then appends the files of `folder` itself whose name matches `mask` ("*.*", every
// file, when empty; several masks may be separated by ";"). Names starting with "."
// (hidden) are taken only with `withHidden`. `withSystem` exists for callers written
// for systems with a system attribute; here no entry has it. Returns the number of
// paths appended.
int SearchFiles(const std::string& folder, std::string_view mask, std::vector<std::string>& list,
                bool recurse, int depth, const std::vector<std::string>& skipMasks, bool withHidden,
                bool withSystem);

// When `folder` is a folder: with `recurse`, SearchFiles on each sub-folder with
// depth 99, hidden entries included; then the files of `folder` itself that match
// `masks` ("*.*" when empty; ";" separates several). Returns the number appended.
int FindFiles(const std::string& folder, std::string_view masks, std::vector<std::string>& list,
              bool recurse);

}  // namespace lumaplot
