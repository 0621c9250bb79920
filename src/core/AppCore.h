#pragma once
// TAppCore, the application core: what the program holds for its whole run, below
// every window. It creates, wires and destroys, in this order: the settings file
// (IniFile) and the settings record (EnvData), the fixture library, the open
// documents with the current one and LevelLock, the object clipboard, the COM1
// switch port, and the frame road (recorder, Art-Net engine, level intake). The
// engine's frame reaches the intake, the recorder and the current document here,
// on the engine thread, without passing through a window.
//
// Life: the constructor reads the settings and the library, creates the recorder
// and the engine (not yet running) and opens COM1 when the settings ask for it;
// problems met on the way wait in TakeMessages for a window to show them.
// StartEngine starts the engine; StopInput ends it (the ports are disabled, the
// engine gets 250 ms to finish its cycle, then its thread is joined) and closes COM1.
// The destructor joins the engine before anything it reads is destroyed.
//
// Threads: GUI thread only, except what the engine thread reaches through the
// intake (the recorder, the current document's level buffers under LevelLock).
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/DocumentList.h"
#include "core/FrameRoad.h"
#include "core/RecoveryStore.h"
#include "dmx/ArtnetThread.h"
#include "dmx/HdrRecorder.h"
#include "model/LightLib.h"
#include "model/LightList.h"
#include "model/StageData.h"
#include "util/EnvData.h"
#include "util/IniFile.h"
#include "util/ModemLines.h"
#include "util/PictureLoader.h"

namespace lumaplot {

// What the core takes from the process that creates it: where the program's files
// are, where the Art-Net engine listens and sends, how the COM1 switch port is made
// and how background pictures are decoded. Start-up fills it from the environment;
// tests point it at a temporary folder, loopback and fakes.
struct TCoreSetup {
  std::string ProgramFolder;  // holds LIBRARY.INI and HdrData/
  std::string SettingsPath;   // the settings file
  ArtnetOptions Artnet;
  // Makes the port object behind the COM1 switch; none: the serial port driver.
  std::function<std::unique_ptr<ModemLines>()> MakeModemLines;
  // Decodes background pictures; none: documents show no picture.
  std::shared_ptr<PictureLoader> Pictures;
  // Artnet's listening address (BindIp) and destination (DestIp) were fixed by the
  // process (the environment, tests): the settings' network choices leave them be.
  bool ArtnetBindFixed = false;
  bool ArtnetDestFixed = false;
};

// A problem the user should hear of: the text and the caption of its message box
// (empty: the default caption).
struct TCoreMessage {
  std::string Text;
  std::string Caption;
};

class TAppCore {
 public:
  // Node names the engine answers polls with.
  static constexpr char kNodeName[] = "TintviewV";

  explicit TAppCore(TCoreSetup setup);
  ~TAppCore();
  TAppCore(const TAppCore&) = delete;
  TAppCore& operator=(const TAppCore&) = delete;

  const TCoreSetup& Setup() const { return setup_; }
  IniFile& Ini() const { return *ini_; }
  TEnvData& Env() const { return *env_; }
  TLightLib& Library() const { return *library_; }
  TDocumentList& Documents() { return documents_; }
  const TDocumentList& Documents() const { return documents_; }
  TStageData* CurrentDoc() const { return documents_.Current(); }
  // The program's own clipboard of stage objects; it survives switching documents.
  TCellClipboard& Clipboard() { return clipboard_; }
  const TCellClipboard& Clipboard() const { return clipboard_; }
  THdrRecorder& Recorder() const { return road_->Recorder(); }
  TArtnetThread& Engine() const { return road_->Engine(); }

  // The problems met since the last call (start-up: settings, library, engine).
  std::vector<TCoreMessage> TakeMessages();

  // Every new document passes through this before it is filled: the window gives
  // it its drawing surface and the missing-type question.
  std::function<void(TStageData&)> PrepareDocument;
  std::unique_ptr<TStageData> NewDocument();
  // A new document loaded from `path`; none (with the reason) when it cannot be read.
  std::unique_ptr<TStageData> LoadDocument(const std::string& path, std::string* error = nullptr);
  // Adds the documents open at the last exit (LastFile1 … LastFile20) that still
  // load and are not open already; missing or unreadable ones are left out without
  // a word.
  void ReopenLastFiles();
  // Removes `doc` from the open documents, with its recovery copy.
  void CloseDocument(TStageData* doc);

  // Copies of the plots with unsaved changes (see TRecoveryStore).
  TRecoveryStore& Recovery() { return recovery_; }
  // A document made from a recovery copy an earlier run left: it stands for the
  // copy's plot again (its file name, read-only as that file is), modified, and
  // keeps the copy until the next update rewrites it. None when the copy cannot be
  // read.
  std::unique_ptr<TStageData> RestoreCopy(const TRecoveryStore::TCopy& copy,
                                          std::string* error = nullptr);
  // Writes LastFile1 … LastFile20 from the open documents (empty for the rest).
  void WriteLastFiles();

  // Starts the engine thread and polls the network once.
  void StartEngine();
  // Disables every input port, gives the engine its last cycle, ends its thread and
  // closes COM1. Nothing is received afterwards; the documents stay.
  void StopInput();

  // Closes the COM1 switch port and, when `UseCom1Switch` is on, opens it again and
  // raises RTS. A port that cannot be opened only leaves the switch off.
  void OpenCom1();
  bool Com1Open() const { return com1_ && com1_->IsOpen(); }
  // The document the COM1 lines choose when they changed since the last call (the
  // first line that is on: CTS 0, DSR 1, RING 2, RLSD 3); -1 when they did not
  // change, none is on or the port cannot be read. A line held on chooses once.
  int Com1Selection();

  // Carries the current document's shown levels into its lights (colour, level,
  // bar fill), marking the lights to redraw; under LevelLock. Only when something
  // could have changed what they show: a level changed since the last update, another
  // document became current, or the lights were marked stale. True when it ran.
  bool UpdateCurrentLights();
  // The current document's lights changed (added, re-patched, another type): the
  // next update runs whatever the levels did.
  void MarkLightsStale() { lightsStale_ = true; }

  // The presentation settings of the drawing code, from the settings record.
  void ApplyPresentationSettings();

  // --- What the options dialog changes at once ---
  // The eight input port addresses: into the settings record and into the engine,
  // whose node marks follow. Each port's address changes whole (one atomic word),
  // so no datagram is matched against half an old and half a new address.
  void SetInputPortAddresses(const std::array<int32_t, kInputPortCount>& addresses);
  // A node scan: the engine's node table is emptied and a poll goes out at once.
  void ScanNodes();
  // Where the engine listens and sends: the set-up's options with the settings'
  // network choices (ArtNetBind, ArtNetDest) where the set-up does not fix them.
  ArtnetOptions EngineOptions() const;
  // Replaces the engine by one made with EngineOptions(): the old one ends first, so
  // its port is free; port addresses, test mode and callbacks carry over, and the new
  // one runs when the old one ran. False, with the reason, when the new one cannot
  // receive; the program then runs on without network input, as after a failed start.
  bool RestartEngine(std::string* problem = nullptr);

 private:
  void ReadSettings();
  void ReadLibrary();
  void CreateFrameRoad();

  TCoreSetup setup_;
  std::vector<TCoreMessage> messages_;
  // In the order of creation; destroyed the other way round, the engine first.
  std::unique_ptr<IniFile> ini_;
  std::unique_ptr<TEnvData> env_;
  std::unique_ptr<TLightLib> library_;
  TDocumentList documents_;
  TRecoveryStore recovery_;
  TCellClipboard clipboard_;
  std::unique_ptr<ModemLines> com1_;  // the COM1 switch port; none: no switch
  // What the lights showed at the last update.
  uint64_t shownSerial_ = ~uint64_t{0};
  uint64_t shownChanges_ = 0;
  bool lightsStale_ = true;
  ModemStatus lastModemStatus_;
  std::unique_ptr<TFrameRoad> road_;

  // The host's interfaces, as the engine's options read them.
  std::vector<NetInterface> HostInterfaces() const;
  // The user chose the listening address on the network page (and nothing fixes it).
  bool BindChosenInSettings() const;
};

}  // namespace lumaplot
