#include "core/AppCore.h"

#include "core/ArtnetEnvironment.h"

#include <chrono>
#include <filesystem>
#include <thread>
#include <utility>

#include "model/LightPresentation.h"
#include "model/StageFile.h"
#include "util/FileIo.h"

namespace lumaplot {
namespace {

// After the input ports are disabled, the engine gets this long to finish the cycle
// it is in before it is told to end.
constexpr auto kEngineWindDown = std::chrono::milliseconds(250);

std::string LastFileKey(int n) { return "LastFile" + std::to_string(n); }

bool IsOpen(const TDocumentList& documents, const std::string& path) {
  for (int i = 0; i < documents.Count(); ++i) {
    if (documents.At(i)->FileName == path) return true;
  }
  return false;
}

constexpr char kChooseNetworkHint[] =
    "\n「オプション設定」の「ネットワーク」ページで、受信するアドレスと送信先を選べます。";

// A value that would lose blanks at its ends, or a pair of enclosing quotes, when
// read back is written in quotes.
std::string QuotedIfNeeded(const std::string& value) {
  if (value.empty()) return value;
  const bool blankEnds = std::isspace(static_cast<unsigned char>(value.front())) ||
                         std::isspace(static_cast<unsigned char>(value.back()));
  const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  return blankEnds || quoted ? '"' + value + '"' : value;
}

}  // namespace

TAppCore::TAppCore(TCoreSetup setup) : setup_(std::move(setup)), recovery_(setup_.ProgramFolder) {
  ReadSettings();
  ReadLibrary();
  OpenCom1();
  CreateFrameRoad();
}

TAppCore::~TAppCore() {
  // The engine thread is joined first: after that nothing reads the documents or
  // drives the recorder from another thread.
  road_.reset();
  documents_.Clear();
}

void TAppCore::ReadSettings() {
  ini_ = std::make_unique<IniFile>(setup_.SettingsPath, TextEncoding::Utf8);
  std::string error;
  if (!ini_->Load(&error)) {
    messages_.push_back({"設定ファイルを読み込めませんでした。\n" + error, {}});
  }
  env_ = std::make_unique<TEnvData>(*ini_, setup_.ProgramFolder);
  std::error_code ignored;
  std::filesystem::create_directories(env_->HdrDir, ignored);
  ApplyPresentationSettings();
}

void TAppCore::ReadLibrary() {
  library_ = std::make_unique<TLightLib>(env_->ProgramFolder() + "/LIBRARY.INI");
  std::string error;
  if (library_->LoadFromFile(library_->FileName, false, &error) == kLibReadFailed) {
    messages_.push_back({"灯体ライブラリを読み込めませんでした。\n" + error, {}});
  }
}

void TAppCore::CreateFrameRoad() {
  const bool altNetwork = ini_->ReadBool(kGeneralSection, "DebugMode", false);
  road_ = std::make_unique<TFrameRoad>(
      *env_, documents_.LevelLock, [this] { return documents_.Current(); }, EngineOptions(),
      altNetwork);
  TArtnetThread& engine = road_->Engine();
  engine.SetNodeNames(kNodeName, kNodeName);
  road_->EnablePorts(env_->RxUniverse);
  // Linux gives no adapter a fixed 2.x.x.x address, so the warning says where to
  // choose one; a listening address the user chose there is not warned about again.
  if (engine.Message == kNoArtnetAddressMessage) {
    if (BindChosenInSettings()) {
      engine.Message.clear();
    } else {
      engine.Message += kChooseNetworkHint;
    }
  }
  if (!engine.Message.empty()) {
    messages_.push_back({engine.Message, "ArtNet初期化エラー"});
    engine.Message.clear();
  }
}

std::vector<TCoreMessage> TAppCore::TakeMessages() { return std::exchange(messages_, {}); }

std::unique_ptr<TStageData> TAppCore::NewDocument() {
  auto doc = std::make_unique<TStageData>();
  if (PrepareDocument) PrepareDocument(*doc);
  return doc;
}

std::unique_ptr<TStageData> TAppCore::LoadDocument(const std::string& path, std::string* error) {
  auto doc = NewDocument();
  TStageReadContext context;
  context.Library = library_.get();
  context.Pictures = setup_.Pictures.get();
  context.ResolvePath = [this](std::string& file) { return env_->ResolvePath(file); };
  if (!LoadStage(*doc, path, context, error)) return nullptr;
  return doc;
}

void TAppCore::ReopenLastFiles() {
  for (int n = 1; n <= TDocumentList::kMaxDocuments; ++n) {
    // A relative name is taken from the program folder, as every other file name.
    std::string path = env_->ReadQuotedString(kGeneralSection, LastFileKey(n));
    if (!env_->ResolvePath(path) || IsOpen(documents_, path)) continue;
    if (auto doc = LoadDocument(path)) documents_.Add(std::move(doc));
  }
}

void TAppCore::CloseDocument(TStageData* doc) {
  recovery_.Forget(doc);
  documents_.Remove(doc);
}

std::unique_ptr<TStageData> TAppCore::RestoreCopy(const TRecoveryStore::TCopy& copy,
                                                  std::string* error) {
  auto doc = LoadDocument(copy.Path, error);
  if (!doc) return nullptr;
  doc->FileName = copy.FileName;
  doc->EditInhibit = !copy.FileName.empty() && IsReadOnlyFile(copy.FileName);
  doc->Modified = true;
  recovery_.Adopt(doc.get(), copy.Path);
  return doc;
}

void TAppCore::WriteLastFiles() {
  for (int n = 1; n <= TDocumentList::kMaxDocuments; ++n) {
    const TStageData* doc = documents_.At(n - 1);
    ini_->WriteString(kGeneralSection, LastFileKey(n), doc ? QuotedIfNeeded(doc->FileName) : "");
  }
}

void TAppCore::StartEngine() {
  Engine().Start();
  Engine().SendPoll();
}

void TAppCore::StopInput() {
  road_->DisablePorts();
  std::this_thread::sleep_for(kEngineWindDown);
  Engine().Terminate();
  if (com1_) com1_->Close();
}

void TAppCore::OpenCom1() {
  com1_.reset();
  if (!env_->UseCom1Switch) return;
  com1_ = setup_.MakeModemLines ? setup_.MakeModemLines() : std::make_unique<SerialModemLines>();
  if (!com1_) return;
  const std::string device = ini_->ReadString(kGeneralSection, "Com1Device", kDefaultCom1Device);
  if (com1_->Open(device)) com1_->RaiseRts();
}

int TAppCore::Com1Selection() {
  if (!Com1Open()) return -1;
  ModemStatus status;
  if (!com1_->ReadStatus(status) || status == lastModemStatus_) return -1;
  lastModemStatus_ = status;
  return status.Cts ? 0 : status.Dsr ? 1 : status.Ring ? 2 : status.Rlsd ? 3 : -1;
}

bool TAppCore::UpdateCurrentLights() {
  std::lock_guard lock(documents_.LevelLock);
  TStageData* doc = documents_.Current();
  if (!doc) return false;
  const uint64_t serial = documents_.CurrentSerial();
  if (!lightsStale_ && serial == shownSerial_ && doc->LevelChanges == shownChanges_) return false;
  UpdateLights(*doc);
  shownSerial_ = serial;
  shownChanges_ = doc->LevelChanges;
  lightsStale_ = false;
  return true;
}

void TAppCore::ApplyPresentationSettings() {
  PresentationSettings() = PresentationSettingsOf(*env_);
}

void TAppCore::SetInputPortAddresses(const std::array<int32_t, kInputPortCount>& addresses) {
  TArtnetThread& engine = Engine();
  for (int i = 0; i < kInputPortCount; ++i) {
    env_->RxUniverse[static_cast<size_t>(i)] = addresses[static_cast<size_t>(i)];
    if (i < engine.InCount()) engine.InAddr[i] = addresses[static_cast<size_t>(i)];
  }
  engine.RematchNodes();
}

void TAppCore::ScanNodes() {
  TArtnetThread& engine = Engine();
  engine.ClearNodes();
  engine.NodesChanged = true;
  engine.SendPoll();
}

std::vector<NetInterface> TAppCore::HostInterfaces() const {
  std::vector<NetInterface> interfaces;
  if (setup_.Artnet.ReadInterfaces) {
    setup_.Artnet.ReadInterfaces(interfaces);
  } else {
    ReadNetInterfaces(interfaces);
  }
  return interfaces;
}

ArtnetOptions TAppCore::EngineOptions() const {
  return WithNetworkChoices(setup_.Artnet, setup_.ArtnetBindFixed, setup_.ArtnetDestFixed,
                            env_->ArtNetBind, env_->ArtNetDest, HostInterfaces());
}

bool TAppCore::BindChosenInSettings() const {
  uint32_t address = 0;
  return !setup_.ArtnetBindFixed && ParseIpv4(env_->ArtNetBind, address) && address != 0;
}

bool TAppCore::RestartEngine(std::string* problem) {
  const bool running = Engine().Running();
  road_->RestartEngine(EngineOptions());
  TArtnetThread& engine = Engine();
  engine.SetNodeNames(kNodeName, kNodeName);
  // The new engine's node table is empty; whoever lists it shows that.
  engine.NodesChanged = true;
  // The warning about a missing 2.x.x.x address was given at start-up; here the user
  // is choosing the network and sees where the engine listens.
  engine.Message.clear();
  if (running) StartEngine();
  if (!engine.Ready()) {
    if (problem) *problem = engine.SocketError();
    return false;
  }
  return true;
}

}  // namespace lumaplot
