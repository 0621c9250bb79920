#pragma once
// TEnvData, the settings record: one field per preference, named after its key in
// the settings file. The constructor reads the sections "General", "Color" and
// "Default" through the given IniFile (a missing key or a value that is not a number
// gives the field's default; values are used as read, without range checks); Save
// writes the same keys back and flushes the file. Other parts of the program store
// their own keys in the same IniFile.
// The record also holds the run-time values that are not preferences: the default
// text font, the recorder folder, the printer flag and the test fader.
// Ownership: the application core owns the IniFile and the record; the IniFile must
// outlive the record. Threads: the GUI thread creates, changes, saves and destroys
// it; the Art-Net engine thread only reads the atomic fields (DatBufferN,
// DatThreshold, DebugMode, TestLevel).
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/FontSpec.h"

namespace lumaplot {

class IniFile;

// Sections of the settings file.
inline constexpr std::string_view kGeneralSection = "General";
inline constexpr std::string_view kColorSection = "Color";
inline constexpr std::string_view kDefaultSection = "Default";
inline constexpr std::string_view kToolBarSection = "ToolBar";
inline constexpr std::string_view kShortCutSection = "ShortCut";
inline constexpr std::string_view kLightGridSection = "LightGrid";

inline constexpr int kInputPortCount = 8;
inline constexpr char kDefaultEditor[] = "notepad";

class TEnvData {
 public:
  // Reads every preference from `iniFile`. `programFolder` is the folder of the
  // program (with or without a trailing "/"): the default of LastDir, the base of
  // HdrDir and of relative paths.
  TEnvData(IniFile& iniFile, std::string programFolder);
  TEnvData(const TEnvData&) = delete;
  TEnvData& operator=(const TEnvData&) = delete;

  // Writes the preferences back (DebugMode never) and flushes the file; false with
  // the reason in `error` when the file could not be written.
  bool Save(std::string* error = nullptr);

  // A string (empty when missing) without one pair of enclosing double quotes: a
  // value of at least two characters that begins and ends with '"' loses both.
  std::string ReadQuotedString(std::string_view section, std::string_view key) const;

  // Makes a relative path absolute against the program folder, in place, and tells
  // whether the file exists. Backslashes read as "/"; a path beginning with "/" is
  // absolute. A Windows drive ("C:...") or server ("\\server...") form is kept as
  // it is and not found. An empty path stays empty and gives false.
  bool ResolvePath(std::string& path) const;

  // The program folder without a trailing "/" ("/" for the root).
  const std::string& ProgramFolder() const { return programFolder_; }

  FontSpec DefaultFont;  // font of new texts; the main window sets it at start-up
  int32_t TextSize = 16;
  int32_t TextColor = 0xFFFFFF;
  int32_t TextStyle = 0;  // kFontBold | kFontItalic; not stored
  int32_t LineSize = 1;
  int32_t LineColor = 0xFFFFFF;
  int32_t ShapeType = 0;
  int32_t ShapeSize = 1;
  int32_t ShapeWidth = 100;
  int32_t ShapeHeight = 100;
  int32_t ShapeColor = 0xFFFFFF;
  int32_t ShapeColor2 = 0xFFFFFF;
  int32_t SelectRect = 0x0000FF;
  // Art-Net port address of each input port: Net bits 8-14, Sub-Net 4-7, Universe 0-3.
  std::array<int32_t, kInputPortCount> RxUniverse{8, 9, 10, 11, 12, 13, 14, 15};
  std::string HdrDir;  // recorder folder with a trailing "/"; not stored
  int32_t UpdateInterval = 50;
  std::atomic<int32_t> DatBufferN = 0;
  std::atomic<int32_t> DatThreshold = 128;
  bool HideTitleMenu = false;
  bool FlatToolBar = false;
  bool OpenLastData = true;
  int32_t TabWidth = 0;
  uint8_t TabStyle = 0;
  bool TabMultiLine = false;
  int32_t GridSortMode = 0;
  int32_t StretchMode = 0;
  bool SnapGrid = false;
  int32_t GridSize = 20;
  int32_t MinAngle = 5;
  int32_t DimValMode = 0;
  int32_t DmxChMode = 0;
  bool ExchangeValCh = false;
  int32_t ListValMode = 0;
  bool UseCom1Switch = false;
  bool SaveUTF8 = false;
  std::string Editor = kDefaultEditor;
  std::string LastDir;
  bool PrinterPresent = false;         // not stored
  std::atomic<int32_t> DebugMode = 0;  // read, never written
  std::atomic<int32_t> TestLevel = 0;  // test fader 0 ... 255; not stored
  // Where the Art-Net engine listens: an IPv4 address of the host; empty: every
  // interface. Unless the environment fixes it (core/ArtnetEnvironment.h).
  std::string ArtNetBind;
  // Where its polls and replies go: an IPv4 address, "Subnet" (the broadcast of the
  // network it listens on); empty: 2.255.255.255 (192.168.11.255 with DebugMode).
  std::string ArtNetDest;

 private:
  void ReadGeneral();
  void ReadColor();
  void ReadDefault();
  void WriteGeneral();

  IniFile& ini_;
  std::string programFolder_;
};

}  // namespace lumaplot
