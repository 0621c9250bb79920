#include "util/EnvData.h"

#include <algorithm>

#include "util/AsciiCase.h"
#include "util/FileIo.h"
#include "util/IniFile.h"
#include "util/NumberText.h"

namespace lumaplot {
namespace {

std::string WithoutTrailingSlashes(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder.empty() ? std::string(".") : folder;
}

std::string WithTrailingSlash(const std::string& folder) {
  return folder.back() == '/' ? folder : folder + "/";
}

bool IsEnclosedInQuotes(std::string_view text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// Saved without quotes as a rule; quotes are added only where the bare value would
// read back differently (blanks at its ends are trimmed, enclosing quotes stripped).
std::string ForQuotedReading(const std::string& value) {
  const bool needsQuotes = TrimControls(value).size() != value.size() || IsEnclosedInQuotes(value);
  return needsQuotes ? "\"" + value + "\"" : value;
}

// "C:..." or "\\server...": written by the Windows program, meaningless here.
bool IsWindowsAbsolutePath(std::string_view path) {
  const char first = path.empty() ? '\0' : ToUpperAscii(path[0]);
  const bool driveLetter = path.size() >= 2 && path[1] == ':' && first >= 'A' && first <= 'Z';
  return driveLetter || path.substr(0, 2) == "\\\\";
}

}  // namespace

TEnvData::TEnvData(IniFile& iniFile, std::string programFolder)
    : ini_(iniFile), programFolder_(WithoutTrailingSlashes(std::move(programFolder))) {
  HdrDir = WithTrailingSlash(programFolder_) + "HdrData/";
  ReadGeneral();
  ReadColor();
  ReadDefault();
}

void TEnvData::ReadGeneral() {
  const IniFile& ini = ini_;
  const auto section = kGeneralSection;
  for (int port = 0; port < kInputPortCount; ++port) {
    RxUniverse[port] =
        ini.ReadInteger(section, "RxUniverse" + std::to_string(port + 1), RxUniverse[port]);
  }
  UpdateInterval = ini.ReadInteger(section, "UpdateInterval", UpdateInterval);
  DatBufferN = ini.ReadInteger(section, "DatBufferN", DatBufferN);
  DatThreshold = ini.ReadInteger(section, "DatThreshold", DatThreshold);
  FlatToolBar = ini.ReadBool(section, "FlatToolBar", FlatToolBar);
  HideTitleMenu = ini.ReadBool(section, "HideTitleMenu", HideTitleMenu);
  OpenLastData = ini.ReadBool(section, "OpenLastData", OpenLastData);
  TabWidth = ini.ReadInteger(section, "TabWidth", TabWidth);
  TabStyle = static_cast<uint8_t>(ini.ReadInteger(section, "TabStyle", TabStyle));
  TabMultiLine = ini.ReadBool(section, "TabMultiLine", TabMultiLine);
  StretchMode = ini.ReadInteger(section, "StretchMode", StretchMode);
  GridSortMode = ini.ReadInteger(section, "GridSortMode", GridSortMode);
  DimValMode = ini.ReadInteger(section, "DimValMode", DimValMode);
  DmxChMode = ini.ReadInteger(section, "DmxChMode", DmxChMode);
  ExchangeValCh = ini.ReadBool(section, "ExchangeValCh", ExchangeValCh);
  ListValMode = ini.ReadInteger(section, "ListValMode", ListValMode);
  UseCom1Switch = ini.ReadBool(section, "UseCom1Switch", UseCom1Switch);
  SnapGrid = ini.ReadBool(section, "SnapGrid", SnapGrid);
  GridSize = ini.ReadInteger(section, "GridSize", GridSize);
  MinAngle = ini.ReadInteger(section, "MinAngle", MinAngle);
  Editor = ReadQuotedString(section, "Editor");
  if (Editor.empty()) Editor = kDefaultEditor;
  LastDir = ReadQuotedString(section, "LastDir");
  if (LastDir.empty()) LastDir = programFolder_;
  SaveUTF8 = ini.ReadBool(section, "SaveUTF8", SaveUTF8);
  DebugMode = ini.ReadInteger(section, "DebugMode", DebugMode);
  ArtNetBind = TrimControls(ini.ReadString(section, "ArtNetBind", ""));
  ArtNetDest = TrimControls(ini.ReadString(section, "ArtNetDest", ""));
}

void TEnvData::ReadColor() {
  SelectRect = ini_.ReadInteger(kColorSection, "SelectRect", SelectRect);
}

void TEnvData::ReadDefault() {
  const IniFile& ini = ini_;
  const auto section = kDefaultSection;
  TextSize = ini.ReadInteger(section, "TextSize", TextSize);
  TextColor = ini.ReadInteger(section, "TextColor", TextColor);
  LineSize = ini.ReadInteger(section, "LineSize", LineSize);
  LineColor = ini.ReadInteger(section, "LineColor", LineColor);
  ShapeType = ini.ReadInteger(section, "ShapeType", ShapeType);
  ShapeSize = ini.ReadInteger(section, "ShapeSize", ShapeSize);
  ShapeWidth = ini.ReadInteger(section, "ShapeWidth", ShapeWidth);
  ShapeHeight = ini.ReadInteger(section, "ShapeHeight", ShapeHeight);
  ShapeColor = ini.ReadInteger(section, "ShapeColor", ShapeColor);
  ShapeColor2 = ini.ReadInteger(section, "ShapeColor2", ShapeColor2);
}

bool TEnvData::Save(std::string* error) {
  WriteGeneral();
  ini_.WriteInteger(kColorSection, "SelectRect", SelectRect);

  const auto section = kDefaultSection;
  ini_.WriteInteger(section, "TextSize", TextSize);
  ini_.WriteInteger(section, "TextColor", TextColor);
  ini_.WriteInteger(section, "LineSize", LineSize);
  ini_.WriteInteger(section, "LineColor", LineColor);
  ini_.WriteInteger(section, "ShapeType", ShapeType);
  ini_.WriteInteger(section, "ShapeSize", ShapeSize);
  ini_.WriteInteger(section, "ShapeWidth", ShapeWidth);
  ini_.WriteInteger(section, "ShapeHeight", ShapeHeight);
  ini_.WriteInteger(section, "ShapeColor", ShapeColor);
  ini_.WriteInteger(section, "ShapeColor2", ShapeColor2);
  return ini_.Flush(error);
}

void TEnvData::WriteGeneral() {
  const auto section = kGeneralSection;
  for (int port = 0; port < kInputPortCount; ++port) {
    ini_.WriteInteger(section, "RxUniverse" + std::to_string(port + 1), RxUniverse[port]);
  }
  ini_.WriteInteger(section, "UpdateInterval", UpdateInterval);
  ini_.WriteInteger(section, "DatBufferN", DatBufferN);
  ini_.WriteInteger(section, "DatThreshold", DatThreshold);
  ini_.WriteBool(section, "FlatToolBar", FlatToolBar);
  ini_.WriteBool(section, "HideTitleMenu", HideTitleMenu);
  ini_.WriteBool(section, "OpenLastData", OpenLastData);
  ini_.WriteInteger(section, "TabWidth", TabWidth);
  ini_.WriteInteger(section, "TabStyle", TabStyle);
  ini_.WriteBool(section, "TabMultiLine", TabMultiLine);
  ini_.WriteInteger(section, "StretchMode", StretchMode);
  ini_.WriteInteger(section, "GridSortMode", GridSortMode);
  ini_.WriteInteger(section, "DimValMode", DimValMode);
  ini_.WriteInteger(section, "DmxChMode", DmxChMode);
  ini_.WriteBool(section, "ExchangeValCh", ExchangeValCh);
  ini_.WriteInteger(section, "ListValMode", ListValMode);
  ini_.WriteBool(section, "UseCom1Switch", UseCom1Switch);
  ini_.WriteBool(section, "SnapGrid", SnapGrid);
  ini_.WriteInteger(section, "GridSize", GridSize);
  ini_.WriteInteger(section, "MinAngle", MinAngle);
  ini_.WriteString(section, "Editor", ForQuotedReading(Editor));
  ini_.WriteString(section, "LastDir", ForQuotedReading(LastDir));
  ini_.WriteBool(section, "SaveUTF8", SaveUTF8);
  // The network choices are written once they were made; a file that never had
  // them keeps the keys of the Windows program only.
  for (const auto& [key, value] :
       {std::pair{"ArtNetBind", &ArtNetBind}, {"ArtNetDest", &ArtNetDest}}) {
    if (!value->empty() || ini_.KeyExists(section, key)) ini_.WriteString(section, key, *value);
  }
}

std::string TEnvData::ReadQuotedString(std::string_view section, std::string_view key) const {
  std::string value = ini_.ReadString(section, key, "");
  if (IsEnclosedInQuotes(value)) return value.substr(1, value.size() - 2);
  return value;
}

bool TEnvData::ResolvePath(std::string& path) const {
  if (path.empty()) return false;
  if (!IsWindowsAbsolutePath(path)) {
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.front() != '/') path = WithTrailingSlash(programFolder_) + path;
  }
  return FileExists(path);
}

}  // namespace lumaplot
