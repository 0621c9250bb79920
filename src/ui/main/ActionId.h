#pragma once
// The commands of the main window, named inside the program by an id. The id is
// the place of the command's line in the action table (MainActions.h); its name in
// the table is only the key of its shortcut in the settings file.
namespace lumaplot {

enum class TActionId : int {
  // File menu.
  FileNew,
  FileOpen,
  FileSave,
  FileSaveAs,
  FileClose,
  // File menu: printing, the light list export and the fixture library.
  FilePrint,
  FilePdf,
  FileList,
  FileLibEdit,
  FileLibMerge,
  FileExit,
  // Edit menu, find and arrange.
  // Mouse editing modes.
  ModeNormal,
  ModeAdd,
  ModeText,
  ModeLine,
  ModeShape,
  ModeDel,
  // View menu.
  ShowSttBar,
  ShowRepaint,
  // View menu: tool windows.
  ShowList,
  // Option menu.
  OptTestMode,
  OptInhMove,
  // Option menu: the settings dialogs.
  OptSetup,
  OptScreen,
  // Tools menu.
  ToolHdrAction,
  // Window menu.
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
  // Help menu.
  HelpContents,
  HelpAbout,
  Count
};

inline constexpr int kActionCount = static_cast<int>(TActionId::Count);

constexpr int ActionIndex(TActionId id) { return static_cast<int>(id); }

}  // namespace lumaplot
