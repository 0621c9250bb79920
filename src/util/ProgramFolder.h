#pragma once
// Where the program keeps its files: the settings file, LIBRARY.INI and HdrData/.
// Resolved once at start-up by the caller, which hands the folder on (EnvData keeps
// it). Reads the environment; call before other threads start.
#include <string>

namespace lumaplot {

// The path of the running executable (its " (deleted)" mark removed when the file
// was replaced while running); empty when it cannot be read.
std::string ExecutablePath();

// The program folder, without a trailing "/":
// 1. $LUMAPLOT_HOME when set and not empty (made absolute, created when missing),
//    otherwise the folder of `executablePath`;
// 2. when that folder cannot be written to, $XDG_CONFIG_HOME/lumaplot (an unset,
//    empty or relative XDG_CONFIG_HOME means ~/.config), created when missing.
// Empty, with the reason in `error`, only when no folder can be had at all.
std::string ResolveProgramFolder(const std::string& executablePath, std::string* error = nullptr);

// The program folder of a program that only reads from it (lumaplot-cli), where
// the program keeps its files:
// 1. $LUMAPLOT_HOME when set and not empty (made absolute), whether it can be
//    written to or not: a reader that went elsewhere would read another library
//    and other settings;
// 2. otherwise the folder of `executablePath`, or, when that cannot be written
//    to, the configuration folder ResolveProgramFolder goes to.
// Nothing is created. When the folder is not one the program could write to (or
// is missing), `note` says which folder is read and why, for the user; otherwise
// it is left empty. Empty only when neither an executable path nor a home folder
// is known.
std::string ProgramFolderForReading(const std::string& executablePath, std::string* note = nullptr);

// `folder` + "/" + the executable's file name + ".INI" ("lumaplot.INI"); the file
// name is "lumaplot" when `executablePath` is empty.
std::string SettingsFilePath(const std::string& folder, const std::string& executablePath);

}  // namespace lumaplot
