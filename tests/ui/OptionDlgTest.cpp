// The options dialog in the running program, opened by its command: every
// preference through the controls, OK and the settings file; Cancel; what takes
// effect at once (port addresses with real ArtDmx, shortcuts, node scans, the
// network page); the node list from real ArtPollReply datagrams. Every datagram
// stays on loopback; message boxes and file dialogs are answered by the test.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "dmx/ArtnetPackets.h"
#include "dmx/UdpSocket.h"
#include "model/LightPresentation.h"
#include "support/FakeModemLines.h"
#include "support/LoopbackCore.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/dialogs/ArtNetPropDlg.h"
#include "ui/dialogs/OptionDlg.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/MainBars.h"
#include "ui/main/TabControl.h"
#include "ui/qt/NumberEdit.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kLoopback = 0x7F000001;

template <class T>
T* Find(const QWidget& dialog, const char* name) {
  T* widget = dialog.findChild<T*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// Picks item `index` of a list as the user does (the list reports it as activated).
void Choose(QComboBox* combo, int index) {
  ASSERT_GE(index, 0);
  ASSERT_LT(index, combo->count());
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

void ChooseText(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  Choose(combo, index);
}

// Runs the event loop until `done` holds or `ms` have passed.
bool WaitUntil(const std::function<bool()>& done, int ms = 2000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

QStringList Lines(const QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

// An ArtPollReply of a node at 2.0.0.`last` with ports of the given types on Net
// `net`, Sub-Net `sub`, inputs `swIn`.
ArtPollReplyPacket NodeReply(uint8_t last, const char* name, uint8_t net, uint8_t sub,
                             std::array<uint8_t, 4> types, std::array<uint8_t, 4> swIn) {
  ArtPollReplyPacket reply = BuildArtPollReply({2, 0, 0, last}, name, name, "OK");
  reply[18] = net;  // NetSwitch
  reply[19] = sub;  // SubSwitch
  reply[173] = 4;   // NumPortsLo
  for (int k = 0; k < 4; ++k) {
    reply[174 + k] = types[k];  // PortTypes
    reply[186 + k] = swIn[k];   // SwIn
  }
  return reply;
}

class OptionDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    ASSERT_TRUE(desk.Open({kLoopback, 0}, 0));
  }
  void TearDown() override {
    if (form) form->hide();
    form.reset();
    core.reset();
  }

  TCoreSetup CoreSetup() { return test::LoopbackCoreSetup(dir.Path(), &modem); }

  TMainFormSetup FormSetup() {
    TMainFormSetup setup;
    setup.Prompts.YesNoCancel = [](const QString&, const QString&) { return QMessageBox::No; };
    setup.Prompts.Warning = [this](const QString& text, const QString&) { warnings << text; };
    setup.Prompts.Error = [this](const QString& text, const QString& caption) {
      if (caption != "ArtNet初期化エラー") errors << text;
    };
    setup.Prompts.Info = [](const QString&, const QString&) {};
    setup.Prompts.OpenFileName = [this](const TFileDialogRequest& request) {
      fileRequests.push_back(request);
      return nextFile;
    };
    setup.Prompts.SaveFileName = [](const TFileDialogRequest&) { return QString(); };
    setup.Prompts.Beep = [] {};
    setup.AskMissingType = [](const std::string& name) { return name; };
    return setup;
  }

  TLumaplotForm& Start(TCoreSetup setup) {
    core = std::make_unique<TAppCore>(std::move(setup));
    form = std::make_unique<TLumaplotForm>(*core, FormSetup());
    form->show();
    QApplication::processEvents();
    return *form;
  }
  TLumaplotForm& Start() { return Start(CoreSetup()); }

  // Opens the dialog by its command and runs `body` while it is shown; a dialog the
  // body leaves open is cancelled.
  void WithOptions(const std::function<void(TOptionDlg&)>& body) {
    bool ran = false;
    QTimer::singleShot(0, form.get(), [&] {
      TOptionDlg* dialog = form->Dialogs().Find<TOptionDlg>();
      ASSERT_NE(dialog, nullptr);
      ASSERT_TRUE(dialog->isVisible());
      ran = true;
      body(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
    form->Action(TActionId::OptSetup)->trigger();
    EXPECT_TRUE(ran);
  }

  static void Ok(TOptionDlg& dialog) { Find<QPushButton>(dialog, "OKBtn")->click(); }
  static void Cancel(TOptionDlg& dialog) { Find<QPushButton>(dialog, "CancelBtn")->click(); }

  // The settings file as the program wrote it at exit.
  IniFile ClosedSettings() {
    EXPECT_TRUE(form->close());
    IniFile ini(dir.File("lumaplot.INI"));
    ini.Load();
    return ini;
  }

  // Sends ArtDmx for `address` to the engine until input port `port` receives.
  bool Reaches(int address, int port) {
    return WaitUntil([&] {
      desk.SendTo(BuildArtDmx(1, address, Bytes(8, 99)), core->Engine().LocalEndpoint());
      std::this_thread::sleep_for(10ms);
      return core->Engine().Received(port) != 0;
    });
  }

  test::TempDir dir;
  test::FakeModemLines* modem = nullptr;
  UdpSocket desk;
  // The engine's time where a test moves it; outlives the core, whose engine reads it.
  ManualClock clock{100000};
  std::unique_ptr<TAppCore> core;
  std::unique_ptr<TLumaplotForm> form;
  QStringList warnings;
  QStringList errors;
  std::vector<TFileDialogRequest> fileRequests;
  QString nextFile;
};

// Each preference: how the user sets it, the settings key and the text stored, and
// whether a later showing of the dialog shows it again.
struct Preference {
  const char* key;
  const char* stored;
  std::function<void(TOptionDlg&)> set;
  std::function<bool(TOptionDlg&)> shown;
};

const Preference kPreferences[] = {
    {"GridSize", "35",
     [](TOptionDlg& d) { Find<NumberEdit>(d, "GridEdit")->Edit()->setText("35"); },
     [](TOptionDlg& d) { return Find<NumberEdit>(d, "GridEdit")->Text() == "35"; }},
    {"SnapGrid", "1", [](TOptionDlg& d) { Find<QCheckBox>(d, "SnapCheckBox")->setChecked(true); },
     [](TOptionDlg& d) { return Find<QCheckBox>(d, "SnapCheckBox")->isChecked(); }},
    {"MinAngle", "15",
     [](TOptionDlg& d) { Find<NumberEdit>(d, "MinAngEdit")->Edit()->setText("15"); },
     [](TOptionDlg& d) { return Find<NumberEdit>(d, "MinAngEdit")->Text() == "15"; }},
    {"DimValMode", "2", [](TOptionDlg& d) { Find<QRadioButton>(d, "ValRadio2")->click(); },
     [](TOptionDlg& d) { return Find<QRadioButton>(d, "ValRadio2")->isChecked(); }},
    {"DmxChMode", "1", [](TOptionDlg& d) { Find<QRadioButton>(d, "ChRadio1")->click(); },
     [](TOptionDlg& d) { return Find<QRadioButton>(d, "ChRadio1")->isChecked(); }},
    {"ExchangeValCh", "1",
     [](TOptionDlg& d) { Find<QCheckBox>(d, "ExValChCheckBox")->setChecked(true); },
     [](TOptionDlg& d) { return Find<QCheckBox>(d, "ExValChCheckBox")->isChecked(); }},
    {"TabWidth", "120", [](TOptionDlg& d) { Find<QLineEdit>(d, "TabWidthEdit")->setText("120"); },
     [](TOptionDlg& d) { return Find<QLineEdit>(d, "TabWidthEdit")->text() == "120"; }},
    {"TabStyle", "2",
     [](TOptionDlg& d) { Find<QComboBox>(d, "TabStyleComboBox")->setCurrentIndex(2); },
     [](TOptionDlg& d) {
       return Find<QComboBox>(d, "TabStyleComboBox")->currentText() == "フラット";
     }},
    {"TabMultiLine", "1",
     [](TOptionDlg& d) { Find<QCheckBox>(d, "TabMltCheckBox")->setChecked(true); },
     [](TOptionDlg& d) { return Find<QCheckBox>(d, "TabMltCheckBox")->isChecked(); }},
    {"OpenLastData", "0",
     [](TOptionDlg& d) { Find<QCheckBox>(d, "OpenLastCheckBox")->setChecked(false); },
     [](TOptionDlg& d) { return !Find<QCheckBox>(d, "OpenLastCheckBox")->isChecked(); }},
    {"HideTitleMenu", "1",
     [](TOptionDlg& d) { Find<QCheckBox>(d, "HideTitleCheckBox")->setChecked(true); },
     [](TOptionDlg& d) { return Find<QCheckBox>(d, "HideTitleCheckBox")->isChecked(); }},
    {"Editor", "/usr/bin/my editor",
     [](TOptionDlg& d) { Find<QLineEdit>(d, "EditorEdit")->setText("/usr/bin/my editor"); },
     [](TOptionDlg& d) {
       return Find<QLineEdit>(d, "EditorEdit")->text() == "/usr/bin/my editor";
     }},
    {"UpdateInterval", "100",
     [](TOptionDlg& d) { ChooseText(Find<QComboBox>(d, "IntervalComboBox"), "100"); },
     [](TOptionDlg& d) { return Find<QComboBox>(d, "IntervalComboBox")->currentText() == "100"; }},
    {"DatBufferN", "2", [](TOptionDlg& d) { Choose(Find<QComboBox>(d, "DatBufNComboBox"), 2); },
     [](TOptionDlg& d) { return Find<QComboBox>(d, "DatBufNComboBox")->currentIndex() == 2; }},
    {"DatThreshold", "192",
     [](TOptionDlg& d) { ChooseText(Find<QComboBox>(d, "ThresholdComboBox"), "192"); },
     [](TOptionDlg& d) { return Find<QComboBox>(d, "ThresholdComboBox")->currentText() == "192"; }},
    {"UseCom1Switch", "1",
     [](TOptionDlg& d) { Find<QCheckBox>(d, "UseCom1CheckBox")->setChecked(true); },
     [](TOptionDlg& d) { return Find<QCheckBox>(d, "UseCom1CheckBox")->isChecked(); }},
    {"SaveUTF8", "1",
     [](TOptionDlg& d) { Find<QCheckBox>(d, "SaveUTF8CheckBox")->setChecked(true); },
     [](TOptionDlg& d) { return Find<QCheckBox>(d, "SaveUTF8CheckBox")->isChecked(); }},
};

TEST_F(OptionDlgTest, EveryPreferenceRoundTripsThroughTheDialogAndTheSettingsFile) {
  Start();
  WithOptions([](TOptionDlg& dialog) {
    for (const Preference& preference : kPreferences) {
      EXPECT_FALSE(preference.shown(dialog)) << preference.key << " already set";
      preference.set(dialog);
    }
    Ok(dialog);
  });
  const IniFile ini = ClosedSettings();
  for (const Preference& preference : kPreferences) {
    EXPECT_EQ(ini.ReadString("General", preference.key, "?"), preference.stored) << preference.key;
  }
  form.reset();
  core.reset();

  Start();
  WithOptions([](TOptionDlg& dialog) {
    for (const Preference& preference : kPreferences) {
      EXPECT_TRUE(preference.shown(dialog)) << preference.key;
    }
  });
}

// Only OK stores the preferences; the port addresses, the shortcuts and a node scan
// have taken effect and stay.
TEST_F(OptionDlgTest, CancelKeepsAllButWhatTookEffectAtOnce) {
  Start();
  ASSERT_TRUE(WaitUntil([&] {
    desk.SendTo(NodeReply(7, "desk", 0, 0, {}, {}), core->Engine().LocalEndpoint());
    std::this_thread::sleep_for(10ms);
    return core->Engine().NodeCount() == 1;
  }));
  WithOptions([this](TOptionDlg& dialog) {
    for (const Preference& preference : kPreferences) preference.set(dialog);
    Choose(Find<QComboBox>(dialog, "IsubComboBox3"), 2);
    QTreeWidget* list = Find<QTreeWidget>(dialog, "ShortCutList");
    list->setCurrentItem(list->topLevelItem(ActionIndex(TActionId::FileOpen)));
    Find<QComboBox>(dialog, "KeyComboBox")->setCurrentText("F5");
    Find<QPushButton>(dialog, "SKChgBtn")->click();
    Find<QPushButton>(dialog, "NodeScanBtn")->click();
    EXPECT_EQ(Find<QListWidget>(dialog, "NodeListBox")->count(), 0);
    Cancel(dialog);
  });
  const TEnvData& env = core->Env();
  EXPECT_EQ(env.GridSize, 20);
  EXPECT_FALSE(env.SnapGrid);
  EXPECT_EQ(env.UpdateInterval, 50);
  EXPECT_EQ(env.Editor, "notepad");
  EXPECT_TRUE(env.OpenLastData);
  EXPECT_EQ(env.RxUniverse[2], 0x2A);
  EXPECT_EQ(core->Engine().InAddr[2], 0x2A);
  EXPECT_EQ(form->Action(TActionId::FileOpen)->shortcut(), QKeySequence("Ctrl+F5"));
  EXPECT_EQ(core->Engine().NodeCount(), 0);
  const IniFile ini = ClosedSettings();
  EXPECT_EQ(ini.ReadString("General", "GridSize", "?"), "20");
  EXPECT_EQ(ini.ReadString("General", "RxUniverse3", "?"), "42");
  EXPECT_EQ(ini.ReadString("ShortCut", "FileOpenItem", "?"), "Ctrl+F5");
}

TEST_F(OptionDlgTest, AfterOkTheWindowFollowsTheSettings) {
  Start();
  ASSERT_EQ(form->Bars().ChCombo()->itemText(0), "A001");
  ASSERT_FALSE(core->Com1Open());
  WithOptions([](TOptionDlg& dialog) {
    ChooseText(Find<QComboBox>(dialog, "IntervalComboBox"), "100");
    Find<QComboBox>(dialog, "TabStyleComboBox")->setCurrentIndex(1);
    Find<QCheckBox>(dialog, "UseCom1CheckBox")->setChecked(true);
    Find<QRadioButton>(dialog, "ChRadio1")->click();
    Find<QRadioButton>(dialog, "ValRadio1")->click();
    Ok(dialog);
  });
  EXPECT_EQ(form->Timer1()->interval(), 100);
  EXPECT_TRUE(form->Timer1()->isActive());
  EXPECT_TRUE(form->TabControl1()->Tabs()->documentMode());
  EXPECT_TRUE(core->Com1Open());
  EXPECT_EQ(modem->RtsRaised, 1);
  EXPECT_EQ(form->Bars().ChCombo()->itemText(0), "1");
  EXPECT_EQ(PresentationSettings().DimValMode, 1);
}

TEST_F(OptionDlgTest, ValuesOutsideTheListsAndRangesAreKept) {
  dir.Write("lumaplot.INI", "[General]\r\nUpdateInterval=45\r\nDatBufferN=0\r\nGridSize=30\r\n");
  Start();
  WithOptions([this](TOptionDlg& dialog) {
    EXPECT_EQ(Find<QComboBox>(dialog, "IntervalComboBox")->currentIndex(), -1);
    QComboBox* threshold = Find<QComboBox>(dialog, "ThresholdComboBox");
    EXPECT_FALSE(threshold->isEnabled());
    Choose(Find<QComboBox>(dialog, "DatBufNComboBox"), 1);
    EXPECT_TRUE(threshold->isEnabled());

    NumberEdit* grid = Find<NumberEdit>(dialog, "GridEdit");
    grid->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    grid->Edit()->setText("0");
    EXPECT_EQ(grid->Edit()->palette().color(QPalette::Text), QColor(Qt::red));
    Find<QCheckBox>(dialog, "SnapCheckBox")->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(WaitUntil([&] { return !warnings.isEmpty(); }));
    EXPECT_EQ(warnings, QStringList{"入力した数値[0]は範囲を超えています"});
    Ok(dialog);
  });
  EXPECT_EQ(core->Env().UpdateInterval, 45);
  EXPECT_EQ(core->Env().GridSize, 30);
  EXPECT_EQ(core->Env().DatBufferN, 1);
}

// The boxes write every port's address at once; the Net shown is everybody's. A
// real ArtDmx to the new address reaches its port while the dialog is still open.
TEST_F(OptionDlgTest, PortBoxesChangeTheEngineAtOnce) {
  Start();
  WithOptions([this](TOptionDlg& dialog) {
    Choose(Find<QComboBox>(dialog, "InetComboBox"), 1);
    Choose(Find<QComboBox>(dialog, "IsubComboBox3"), 2);
    ChooseText(Find<QComboBox>(dialog, "IunvComboBox3"), "A");
    EXPECT_EQ(core->Env().RxUniverse[2], 298);
    EXPECT_EQ(core->Engine().InAddr[2], 298);
    EXPECT_EQ(core->Env().RxUniverse[0], 0x108);
    EXPECT_EQ(core->Engine().InAddr[7], 0x10F);
    EXPECT_TRUE(Reaches(0x012A, 2));
    EXPECT_EQ(core->Engine().Received(0), 0);
    Cancel(dialog);
  });
  // The status bar follows the port that receives.
  EXPECT_TRUE(WaitUntil([&] { return form->StatusText(1) == "NET:受信中(--C-----)"; }))
      << form->StatusText(1).toStdString();
}

TEST_F(OptionDlgTest, ShortCutsAreAssignedRefusedTwiceAndCleared) {
  Start();
  WithOptions([this](TOptionDlg& dialog) {
    QTreeWidget* list = Find<QTreeWidget>(dialog, "ShortCutList");
    QComboBox* keys = Find<QComboBox>(dialog, "KeyComboBox");
    QCheckBox* ctrl = Find<QCheckBox>(dialog, "CtrlCheckBox");
    QCheckBox* shift = Find<QCheckBox>(dialog, "ShiftCheckBox");
    QPushButton* change = Find<QPushButton>(dialog, "SKChgBtn");
    EXPECT_EQ(list->topLevelItemCount(), kActionCount);
    EXPECT_EQ(keys->count(), 63);  // the arrow keys included

    // Choosing a category shows its first command.
    ChooseText(Find<QComboBox>(dialog, "ParentCombo"), "ヘルプ");
    EXPECT_EQ(list->currentItem()->text(0), "目次(&C)");
    EXPECT_EQ(keys->currentText(), "F1");

    // A line shows its shortcut in the boxes.
    list->setCurrentItem(list->topLevelItem(ActionIndex(TActionId::FileOpen)));
    EXPECT_EQ(Find<QComboBox>(dialog, "ParentCombo")->currentText(), "ファイル");
    EXPECT_TRUE(ctrl->isChecked());
    EXPECT_EQ(keys->currentText(), "O");
    keys->setCurrentText("F5");
    shift->setChecked(true);
    change->click();
    EXPECT_EQ(form->Action(TActionId::FileOpen)->shortcut(), QKeySequence("Shift+Ctrl+F5"));
    EXPECT_EQ(list->currentItem()->text(1), "Shift+Ctrl+F5");

    // Ctrl+S belongs to saving.
    list->setCurrentItem(list->topLevelItem(ActionIndex(TActionId::FileNew)));
    keys->setCurrentText("S");
    change->click();
    EXPECT_EQ(warnings, QStringList{"ショートカットキーが重複しています"});
    EXPECT_EQ(form->Action(TActionId::FileNew)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(list->currentItem()->text(1), "Ctrl+N");

    // Cleared, the key is free for another command.
    list->setCurrentItem(list->topLevelItem(ActionIndex(TActionId::FileSave)));
    Find<QPushButton>(dialog, "ClrBtn")->click();
    EXPECT_TRUE(form->Action(TActionId::FileSave)->shortcut().isEmpty());
    EXPECT_EQ(list->currentItem()->text(1), "");
    EXPECT_FALSE(ctrl->isChecked());
    EXPECT_EQ(keys->currentIndex(), -1);
    EXPECT_FALSE(change->isEnabled());  // no key, nothing to assign
    list->setCurrentItem(list->topLevelItem(ActionIndex(TActionId::FileNew)));
    keys->setCurrentText("S");
    change->click();
    EXPECT_EQ(form->Action(TActionId::FileNew)->shortcut(), QKeySequence("Ctrl+S"));
    Cancel(dialog);
  });
  const IniFile ini = ClosedSettings();
  EXPECT_EQ(ini.ReadString("ShortCut", "FileOpenItem", "?"), "Shift+Ctrl+F5");
  EXPECT_EQ(ini.ReadString("ShortCut", "FileNewItem", "?"), "Ctrl+S");
  EXPECT_EQ(ini.ReadString("ShortCut", "FileSaveItem", "?"), "");
  form.reset();
  core.reset();

  // Saving's empty entry takes its built-in Ctrl+S only while no command has it.
  Start();
  EXPECT_EQ(form->Action(TActionId::FileNew)->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_TRUE(form->Action(TActionId::FileSave)->shortcut().isEmpty());
}

// The engine's node table from real replies: one line per node, "*" for one that
// carries our port, how long ago each answered; marks follow the port boxes; the
// details of the selected node; a scan empties the list.
TEST_F(OptionDlgTest, NodeListFollowsTheEngineAndOpensTheDetails) {
  TCoreSetup setup = CoreSetup();
  setup.Artnet.TickClock = &clock;
  Start(std::move(setup));
  const ArtPollReplyPacket desk1 = NodeReply(10, "desk", 0, 0, {0x40, 0, 0, 0}, {8, 0, 0, 0});
  const ArtPollReplyPacket gateway =
      NodeReply(11, "gw", 1, 2, {0xC0, 0xC0, 0xC0, 0xC0}, {0xA, 0xB, 0xC, 0xD});
  ASSERT_TRUE(WaitUntil([&] {
    desk.SendTo(desk1, core->Engine().LocalEndpoint());
    desk.SendTo(gateway, core->Engine().LocalEndpoint());
    std::this_thread::sleep_for(10ms);
    return core->Engine().NodeCount() == 2;
  }));

  WithOptions([&](TOptionDlg& dialog) {
    QListWidget* list = Find<QListWidget>(dialog, "NodeListBox");
    EXPECT_EQ(Lines(list), (QStringList{"*  2.  0.  0. 10 : desk   (0秒前)",
                                        "   2.  0.  0. 11 : gw   (0秒前)"}));
    EXPECT_TRUE(Find<QLabel>(dialog, "IpAdrLabel")->text().startsWith("IPアドレス: 127.0.0.1"));
    QPushButton* details = Find<QPushButton>(dialog, "Button1");
    EXPECT_FALSE(details->isEnabled());

    // Port 3 takes the gateway's first universe: its mark follows.
    Choose(Find<QComboBox>(dialog, "InetComboBox"), 1);
    Choose(Find<QComboBox>(dialog, "IsubComboBox3"), 2);
    ChooseText(Find<QComboBox>(dialog, "IunvComboBox3"), "A");
    EXPECT_TRUE(WaitUntil([&] { return Lines(list).value(1).startsWith("*"); }))
        << Lines(list).join("|").toStdString();
    EXPECT_TRUE(Lines(list).value(0).startsWith(" "));  // desk's universe 8 is Net 0

    // Seven seconds without an answer: stopped answering.
    clock.Advance(7000);
    EXPECT_TRUE(WaitUntil([&] { return Lines(list).value(0).endsWith("応答なし (7秒前)"); }))
        << Lines(list).join("|").toStdString();
    EXPECT_NE(list->item(0)->foreground(), list->palette().brush(QPalette::Text));

    list->setCurrentRow(1);
    EXPECT_TRUE(details->isEnabled());
    QStringList shown;
    QTimer::singleShot(0, &dialog, [&] {
      TArtNetPropDlg& prop = dialog.PropDlg();
      shown << prop.InfoGrid()->item(0, 1)->text() << prop.InfoGrid()->item(1, 1)->text()
            << prop.PortGrid()->item(1, 1)->text() << prop.PortGrid()->item(2, 4)->text();
      prop.accept();
    });
    details->click();
    EXPECT_EQ(shown, (QStringList{"  2.  0.  0. 11", "gw", "001:2:A", "001:2:0"}));

    Find<QPushButton>(dialog, "NodeScanBtn")->click();
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(details->isEnabled());
    Cancel(dialog);
  });
}

// The network page chooses where the engine listens; applied, the engine starts
// again there and receives.
TEST_F(OptionDlgTest, TheNetworkPageMovesTheEngineToTheChosenAddress) {
  dir.Write("lumaplot.INI", "[General]\r\nArtNetBind=127.0.0.2\r\n");
  TCoreSetup setup = CoreSetup();
  setup.Artnet.BindIp = "0.0.0.0";
  setup.ArtnetBindFixed = false;
  setup.ArtnetDestFixed = false;
  Start(std::move(setup));
  ASSERT_EQ(core->Engine().LocalEndpoint().Address, 0x7F000002u);
  WithOptions([this](TOptionDlg& dialog) {
    QComboBox* bind = Find<QComboBox>(dialog, "BindComboBox");
    QComboBox* dest = Find<QComboBox>(dialog, "DestComboBox");
    QPushButton* apply = Find<QPushButton>(dialog, "NetApplyBtn");
    EXPECT_TRUE(bind->isEnabled());
    EXPECT_EQ(bind->currentText(), "127.0.0.2 (見つかりません)");
    EXPECT_FALSE(apply->isEnabled());

    dest->setEditText("2.0.0");  // not an address
    EXPECT_FALSE(apply->isEnabled());
    dest->setEditText("127.0.0.1");
    const int loopback = bind->findData(QString("127.0.0.1"));
    ASSERT_GE(loopback, 0);
    bind->setCurrentIndex(loopback);
    EXPECT_TRUE(apply->isEnabled());
    apply->click();
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join("|").toStdString();
    EXPECT_EQ(core->Engine().LocalEndpoint().Address, kLoopback);
    EXPECT_EQ(core->Engine().DestAddr().Address, kLoopback);
    EXPECT_TRUE(Find<QLabel>(dialog, "NetStateLabel")->text().contains("受信: 127.0.0.1:"));
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_TRUE(Reaches(8, 0));
    Cancel(dialog);
  });
  EXPECT_EQ(core->Env().ArtNetBind, "127.0.0.1");
  const IniFile ini = ClosedSettings();
  EXPECT_EQ(ini.ReadString("General", "ArtNetBind", "?"), "127.0.0.1");
  EXPECT_EQ(ini.ReadString("General", "ArtNetDest", "?"), "127.0.0.1");
}

TEST_F(OptionDlgTest, WhatTheProcessFixesCannotBeChosen) {
  Start();  // the loopback set-up fixes both addresses
  WithOptions([](TOptionDlg& dialog) {
    EXPECT_FALSE(Find<QComboBox>(dialog, "BindComboBox")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(dialog, "DestComboBox")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(dialog, "NetApplyBtn")->isEnabled());
    EXPECT_TRUE(Find<QLabel>(dialog, "NetFixedLabel")->text().contains("LUMAPLOT_ARTNET_BIND"));
  });
}

}  // namespace
}  // namespace lumaplot
