#include "ui/main/MainActions.h"

#include <QStatusBar>

#include "ui/main/LumaplotForm.h"

namespace lumaplot {
namespace {

bool Always(const TLumaplotForm&) { return true; }
bool HasDocument(const TLumaplotForm& form) { return form.CurrentDoc() != nullptr; }
bool BelowDocumentLimit(const TLumaplotForm& form) {
  return form.DocumentCount() < TLumaplotForm::kMaxDocuments;
}
bool Editable(const TLumaplotForm& form) {
  return form.CurrentDoc() != nullptr && !form.CurrentDoc()->EditInhibit;
}
bool MoveInhibited(const TLumaplotForm& form) {
  return form.CurrentDoc() != nullptr && form.CurrentDoc()->InhibitMove;
}
bool InTestMode(const TLumaplotForm& form) { return form.Engine().TestMode; }
bool StatusBarShown(const TLumaplotForm& form) { return !form.statusBar()->isHidden(); }

template <int Tag>
void SwitchDocument(TLumaplotForm& form) {
  form.ChgActDataExecute(Tag);
}

constexpr TActionSpec kActions[] = {
    {"FileNew", "新規作成(&N)", "ファイル", "Ctrl+N", "", "", BelowDocumentLimit, nullptr,
     [](TLumaplotForm& f) { f.FileNewItemClick(); }},
    {"FileOpen", "開く(&O)", "ファイル", "Ctrl+O", "開く", ":/tools/open.svg", BelowDocumentLimit,
     nullptr, [](TLumaplotForm& f) { f.FileOpenItemClick(); }},
    {"FileSave", "上書き保存(&S)", "ファイル", "Ctrl+S", "上書き保存", ":/tools/save.svg", Editable,
     nullptr, [](TLumaplotForm& f) { f.FileSaveItemClick(); }},
    {"FileSaveAs", "名前を付けて保存(&A)", "ファイル", "", "", "", Editable, nullptr,
     [](TLumaplotForm& f) { f.FileSaveAsItemClick(); }},
    // A plot read from a read-only file can be closed too.
    {"FileClose", "閉じる(&C)", "ファイル", "", "", "", HasDocument, nullptr,
     [](TLumaplotForm& f) { f.FileCloseExecute(); }},
    {"FileExit", "終了(&X)", "ファイル", "", "終了", ":/tools/exit.svg", Always, nullptr,
     [](TLumaplotForm& f) { f.FileExitItemClick(); }},
    {"ShowSttBar", "ステータスバー(&S)", "表示", "", "", "", Always, StatusBarShown,
     [](TLumaplotForm& f) { f.ShowSttBarItemClick(); }},
    {"ShowRepaint", "再描画(&P)", "表示", "", "画面の再描画", ":/tools/repaint.svg", Always,
     nullptr, [](TLumaplotForm& f) { f.ShowRepaintItemClick(); }},
    {"OptTestMode", "テストモード", "オプション", "", "", "", HasDocument, InTestMode,
     [](TLumaplotForm& f) { f.OptTestModeExecute(); }},
    {"OptInhMove", "位置移動禁止(&P)", "オプション", "", "", "", HasDocument, MoveInhibited,
     [](TLumaplotForm& f) { f.OptInhMoveExecute(); }},
    {"ChgActData1", "画面切り替え 1", "ウィンドウ", "", "", "", Always, nullptr, SwitchDocument<0>},
    {"ChgActData2", "画面切り替え 2", "ウィンドウ", "", "", "", Always, nullptr, SwitchDocument<1>},
    {"ChgActData3", "画面切り替え 3", "ウィンドウ", "", "", "", Always, nullptr, SwitchDocument<2>},
    {"ChgActData4", "画面切り替え 4", "ウィンドウ", "", "", "", Always, nullptr, SwitchDocument<3>},
    {"ChgActData5", "画面切り替え 5", "ウィンドウ", "", "", "", Always, nullptr, SwitchDocument<4>},
    {"ChgActData6", "画面切り替え 6", "ウィンドウ", "", "", "", Always, nullptr, SwitchDocument<5>},
    {"ChgActData7", "画面切り替え 7", "ウィンドウ", "", "", "", Always, nullptr, SwitchDocument<6>},
    {"ChgActData8", "画面切り替え 8", "ウィンドウ", "", "", "", Always, nullptr, SwitchDocument<7>},
    {"ChgActData9", "画面切り替え 9", "ウィンドウ", "", "", "", Always, nullptr, SwitchDocument<8>},
    {"ChgActData10", "画面切り替え 10", "ウィンドウ", "", "", "", Always, nullptr,
     SwitchDocument<9>},
    {"HelpContents", "目次(&C)", "ヘルプ", "F1", "", "", Always, nullptr,
     [](TLumaplotForm& f) { f.HelpContentsExecute(); }},
    {"HelpAbout", "バージョン情報(&A)", "ヘルプ", "", "", "", Always, nullptr,
     [](TLumaplotForm& f) { f.HelpAbautItemClick(); }},
};

constexpr const char* kFileMenu[] = {"FileNew",   "FileOpen", "FileSave", "FileSaveAs",
                                     "FileClose", "-",        "FileExit"};
// "@ToolBars" and "@Tabs" are the View menu's own sub-menus, "@Documents" the 20
// document items of the window menu.
constexpr const char* kShowMenu[] = {"@ToolBars", "ShowSttBar", "@Tabs", "-", "ShowRepaint"};
constexpr const char* kOptionMenu[] = {"OptTestMode", "OptInhMove"};
constexpr const char* kWindowMenu[] = {"@Documents"};
constexpr const char* kHelpMenu[] = {"HelpContents", "-", "HelpAbout"};

constexpr TMenuSpec kMenus[] = {
    {"File1", "ファイル(&F)", kFileMenu},       {"Show1", "表示(&V)", kShowMenu},
    {"Option1", "オプション(&O)", kOptionMenu}, {"Window1", "ウィンドウ(&W)", kWindowMenu},
    {"Help1", "ヘルプ(&H)", kHelpMenu},
};

constexpr const char* kTabPopup[] = {"OptInhMove", "-", "FileClose"};
constexpr const char* kStandardTools[] = {"FileOpen",    "FileSave", "-",
                                          "ShowRepaint", "-",        "FileExit"};

}  // namespace

std::span<const TActionSpec> MainActionTable() { return kActions; }

const TActionSpec* FindActionSpec(std::string_view name) {
  for (const TActionSpec& entry : kActions) {
    if (name == entry.Name) return &entry;
  }
  return nullptr;
}

std::span<const TMenuSpec> CommandMenus() { return kMenus; }
std::span<const char* const> TabPopupItems() { return kTabPopup; }
std::span<const char* const> StandardToolItems() { return kStandardTools; }

}  // namespace lumaplot
