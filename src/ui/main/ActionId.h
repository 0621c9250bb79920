#pragma once
// The commands of the main window, named inside the program by an id. The id is
// the place of the command's line in the action table (MainActions.h); its name in
// the table is only the key of its shortcut in the settings file.
namespace lumaplot {

enum class TActionId : int {
  FileNew,
  FileOpen,
  FileSave,
  FileSaveAs,
  FileClose,
  FileExit,
  ShowSttBar,
  ShowRepaint,
  OptTestMode,
  OptInhMove,
  ModeNormal,
  ChgActData1,
  ChgActData2,
  ChgActData3,
  ChgActData4,
  ChgActData5,
  ChgActData6,
  ChgActData7,
  ChgActData8,
  ChgActData9,
  ChgActData10,
  HelpContents,
  HelpAbout,
  Count
};

inline constexpr int kActionCount = static_cast<int>(TActionId::Count);

constexpr int ActionIndex(TActionId id) { return static_cast<int>(id); }

}  // namespace lumaplot
