#pragma once
// Starting external programs (the editor that shows the exported light list).
// Programs are started directly with an argument vector, never through a shell, so
// no file name or setting can inject a command. The started program runs on its own
// (its own session; it is reaped in the background and outlives nothing of ours).
// Call from the GUI thread.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumaplot {

// Starts arguments[0] (looked up on PATH when it holds no "/") with the whole vector
// as its argv. True when the program was started; false with the reason in `error`
// when the vector is empty or the program cannot be found or executed.
bool StartProgram(const std::vector<std::string>& arguments, std::string* error = nullptr);

// What OpenWithProgram starts programs with; tests pass a recorder instead.
using ProgramStarter =
    std::function<bool(const std::vector<std::string>& arguments, std::string* error)>;

// Opens a file with `program`. `fileSpec` is a file name, optionally in double
// quotes, optionally followed by a position such as "(12)", ":12" or " 12" (the line
// number; 1 when there is none). A fileSpec that names an existing file as a whole is
// taken as it stands, spaces and brackets included. Nothing is started (false) when
// `program` or the file name is empty or the file does not exist.
// `argumentTemplate` is split into arguments at blanks (double quotes group words
// and are removed); in each argument "$F" becomes the file name and "$L" the line
// number. An empty template passes just the file name. A relative file name that
// starts with "-" is passed as "./name" so that it cannot read as an option.
bool OpenWithProgram(std::string_view fileSpec, std::string_view program,
                     std::string_view argumentTemplate, std::string* error = nullptr,
                     const ProgramStarter& starter = StartProgram);

// The program that shows an exported file for the setting `Editor`: the setting as
// it stands, but the desktop's opener (kDesktopOpener) when it is empty or names the
// Windows default "notepad" (any letter case, with or without ".exe" and a folder),
// which a settings file from Windows holds and this system lacks.
inline constexpr char kDesktopOpener[] = "xdg-open";
std::string EditorProgram(std::string_view editor);

}  // namespace lumaplot
