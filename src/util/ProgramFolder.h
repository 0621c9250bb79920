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

// `folder` + "/" + the executable's file name + ".INI" ("lumaplot.INI"); the file
// name is "lumaplot" when `executablePath` is empty.
std::string SettingsFilePath(const std::string& folder, const std::string& executablePath);

}  // namespace lumaplot
