#include "ui/main/MainActions.h"

#include "ui/main/commands/CommandRules.h"
#include "ui/main/commands/FileCommands.h"
#include "ui/main/commands/HelpCommands.h"
#include "ui/main/commands/LibraryCommands.h"
#include "ui/main/commands/ModeCommands.h"
#include "ui/main/commands/OptionCommands.h"
#include "ui/main/commands/PrintCommands.h"
#include "ui/main/commands/ToolWindowCommands.h"
#include "ui/main/commands/SettingsCommands.h"
#include "ui/main/commands/ViewCommands.h"
#include "ui/main/commands/WindowCommands.h"

namespace lumaplot {
namespace {

using Id = TActionId;

template <int Tag>
void SwitchDocument(TCommandContext& context) {
  ChgActDataExecute(context, Tag);
}

constexpr TActionSpec kActions[] = {
    // File menu.
    {Id::FileNew, "FileNew", "新規作成(&N)", "ファイル", "Ctrl+N", "", "", BelowDocumentLimit,
     nullptr, FileNewItemClick},
    {Id::FileOpen, "FileOpen", "開く(&O)", "ファイル", "Ctrl+O", "開く", ":/tools/open.svg",
     BelowDocumentLimit, nullptr, FileOpenItemClick},
    {Id::FileSave, "FileSave", "上書き保存(&S)", "ファイル", "Ctrl+S", "上書き保存",
     ":/tools/save.svg", Editable, nullptr, FileSaveItemClick},
    {Id::FileSaveAs, "FileSaveAs", "名前を付けて保存(&A)", "ファイル", "", "", "", Editable,
     nullptr, FileSaveAsItemClick},
    {Id::FileClose, "FileClose", "閉じる(&C)", "ファイル", "", "", "", HasDocument, nullptr,
     FileCloseExecute},
    // File menu: printing, the light list export and the fixture library.
    {Id::FilePrint, "FilePrint", "印刷(&P)", "ファイル", "Ctrl+P",
     "印刷 (プリンタがないときはPDFに出力)", "", PrinterReady, nullptr, FilePrintExecute},
    {Id::FilePdf, "FilePdf", "PDFに出力", "ファイル", "", "PDFに出力", "", HasDocument, nullptr,
     FilePdfExecute},
    {Id::FileList, "FileList", "灯体一覧を出力(&T)", "ファイル", "", "", "", Editable, nullptr,
     FileListItemClick},
    {Id::FileLibEdit, "FileLibEdit", "灯体ライブラリ編集(&L)", "ファイル", "", "", "", Always,
     nullptr, FileLibEditItemClick},
    {Id::FileLibMerge, "FileLibMerge", "灯体ライブラリのマージ(&M)", "ファイル", "", "", "", Always,
     nullptr, FileLibMergeItemClick},
    {Id::FileExit, "FileExit", "終了(&X)", "ファイル", "", "終了", ":/tools/exit.svg", Always,
     nullptr, FileExitItemClick},
    // Edit menu, find and arrange.
    // Mouse editing modes.
    {Id::ModeNormal, "ModeNormal", "通常編集モード", "モード", "", "通常編集モード",
     ":/tools/mode_normal.svg", Always, NormalModeActive, ModeNormalExecute},
    {Id::ModeAdd, "ModeAdd", "新規追加モード", "モード", "", "灯体の新規追加モード",
     ":/tools/mode_add.svg", Editable, AddModeActive, ModeAddExecute},
    {Id::ModeText, "ModeText", "テキスト追加モード", "モード", "", "テキストの新規追加",
     ":/tools/mode_text.svg", Editable, TextModeActive, ModeTextExecute},
    {Id::ModeLine, "ModeLine", "ライン追加モード", "モード", "",
     "ラインの新規追加(Shiftキーで水平・垂直)", ":/tools/mode_line.svg", Editable, LineModeActive,
     ModeLineExecute},
    {Id::ModeShape, "ModeShape", "図形追加モード", "モード", "", "図形の新規追加",
     ":/tools/mode_shape.svg", Editable, ShapeModeActive, ModeShapeExecute},
    {Id::ModeDel, "ModeDel", "削除モード", "モード", "", "削除モード", ":/tools/mode_del.svg",
     Editable, DelModeActive, ModeDelExecute},
    // View menu.
    {Id::ShowSttBar, "ShowSttBar", "ステータスバー(&S)", "表示", "", "", "", Always, StatusBarShown,
     ShowSttBarItemClick},
    {Id::ShowRepaint, "ShowRepaint", "再描画(&P)", "表示", "", "画面の再描画",
     ":/tools/repaint.svg", Always, nullptr, ShowRepaintItemClick},
    // View menu: tool windows.
    {Id::ShowList, "ShowList", "灯体一覧(&L)", "表示", "", "", "", Always, LightListShown,
     ShowListItemClick},
    // Option menu.
    {Id::OptTestMode, "OptTestMode", "テストモード", "オプション", "", "", "", HasDocument,
     InTestMode, OptTestModeExecute},
    {Id::OptInhMove, "OptInhMove", "位置移動禁止(&P)", "オプション", "", "", "", HasDocument,
     MoveInhibited, OptInhMoveExecute},
    // Option menu: the settings dialogs.
    {Id::OptSetup, "OptSetup", "オプション設定(&O)...", "オプション", "", "", "", Always, nullptr,
     OptSetupItemClick},
    {Id::OptScreen, "OptScreen", "画面設定(&S)...", "オプション", "", "", "", HasDocument, nullptr,
     OptScreenExecute},
    // Tools menu.
    {Id::ToolHdrAction, "ToolHdrAction", "HDレコーダ(&R)", "ツール", "", "", "", Always, nullptr,
     ToolHdrActionExecute},
    // Window menu.
    {Id::ChgActData1, "ChgActData1", "画面切り替え 1", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<0>},
    {Id::ChgActData2, "ChgActData2", "画面切り替え 2", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<1>},
    {Id::ChgActData3, "ChgActData3", "画面切り替え 3", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<2>},
    {Id::ChgActData4, "ChgActData4", "画面切り替え 4", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<3>},
    {Id::ChgActData5, "ChgActData5", "画面切り替え 5", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<4>},
    {Id::ChgActData6, "ChgActData6", "画面切り替え 6", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<5>},
    {Id::ChgActData7, "ChgActData7", "画面切り替え 7", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<6>},
    {Id::ChgActData8, "ChgActData8", "画面切り替え 8", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<7>},
    {Id::ChgActData9, "ChgActData9", "画面切り替え 9", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<8>},
    {Id::ChgActData10, "ChgActData10", "画面切り替え 10", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<9>},
    // Help menu.
    {Id::HelpContents, "HelpContents", "目次(&C)", "ヘルプ", "F1", "", "", Always, nullptr,
     HelpContentsExecute},
    {Id::HelpAbout, "HelpAbout", "バージョン情報(&A)", "ヘルプ", "", "", "", Always, nullptr,
     HelpAbautItemClick},
};
static_assert(std::size(kActions) == kActionCount, "one line per action id");

constexpr bool InIdOrder() {
  for (int i = 0; i < kActionCount; ++i) {
    if (ActionIndex(kActions[i].Id) != i) return false;
  }
  return true;
}
static_assert(InIdOrder(), "the table lists the actions in the order of their ids");

constexpr TMenuEntry C(Id id) { return {TMenuEntry::Command, id}; }
constexpr TMenuEntry kSeparator{TMenuEntry::Separator};

constexpr TMenuEntry kFileMenu[] = {
    C(Id::FileNew),     C(Id::FileOpen),     C(Id::FileSave), C(Id::FileSaveAs), C(Id::FileClose),
    kSeparator,         C(Id::FilePrint),    C(Id::FilePdf),  C(Id::FileList),   kSeparator,
    C(Id::FileLibEdit), C(Id::FileLibMerge), kSeparator,      C(Id::FileExit)};
constexpr TMenuEntry kShowMenu[] = {{TMenuEntry::ToolBarsMenu},
                                    C(Id::ShowSttBar),
                                    C(Id::ShowList),
                                    {TMenuEntry::TabsMenu},
                                    kSeparator,
                                    C(Id::ShowRepaint)};
constexpr TMenuEntry kOptionMenu[] = {C(Id::OptTestMode), C(Id::OptInhMove), kSeparator,
                                      C(Id::OptSetup), C(Id::OptScreen)};
// The Edit menu is filled as its commands arrive.
constexpr TMenuEntry kToolMenu[] = {C(Id::ToolHdrAction)};
constexpr TMenuEntry kWindowMenu[] = {{TMenuEntry::DocumentItems}};
constexpr TMenuEntry kHelpMenu[] = {C(Id::HelpContents), kSeparator, C(Id::HelpAbout)};

constexpr TMenuSpec kMenus[] = {
    {"File1", "ファイル(&F)", kFileMenu},
    {"Edit1", "編集(&E)", {}},
    {"Show1", "表示(&V)", kShowMenu},
    {"Option1", "オプション(&O)", kOptionMenu},
    {"Tool1", "ツール(&T)", kToolMenu},
    {"Window1", "ウィンドウ(&W)", kWindowMenu},
    {"Help1", "ヘルプ(&H)", kHelpMenu},
};

constexpr TMenuEntry kTabPopup[] = {C(Id::OptInhMove), kSeparator, C(Id::FileClose)};
constexpr TMenuEntry kStandardTools[] = {C(Id::FileOpen),    C(Id::FileSave), kSeparator,
                                         C(Id::ShowRepaint), kSeparator,      C(Id::FileExit)};
constexpr TMenuEntry kModeTools[] = {C(Id::ModeNormal), C(Id::ModeAdd),   C(Id::ModeText),
                                     C(Id::ModeLine),   C(Id::ModeShape), C(Id::ModeDel)};
// The canvas pop-up menu of the normal mode holds commands of the edit menu; it is
// empty (and does not open) until they exist. Its list goes here as kCanvasPopup.

}  // namespace

std::span<const TActionSpec> MainActionTable() { return kActions; }

const TActionSpec& ActionSpec(TActionId id) { return kActions[ActionIndex(id)]; }

std::span<const TMenuSpec> CommandMenus() { return kMenus; }
std::span<const TMenuEntry> TabPopupItems() { return kTabPopup; }
std::span<const TMenuEntry> StandardToolItems() { return kStandardTools; }
std::span<const TMenuEntry> ModeToolItems() { return kModeTools; }
std::span<const TMenuEntry> CanvasPopupItems() { return {}; }

}  // namespace lumaplot
