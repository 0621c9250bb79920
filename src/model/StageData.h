#pragma once
// One open stage plot: page options, colours, grid, background picture, the fonts
// of level and channel texts, its objects with the selection, the three level
// buffers the DMX input writes, and the bookkeeping of file, title and changes.
//
// Ownership: the document owns every object in `Objects` (freed by ClearObjects, by
// DeleteObject and by the destructor) and `Background`; `Selection` and `Primary`
// point at objects of `Objects` without owning them; `Canvas` is borrowed.
// Invariants kept by the member functions: every selected object is in `Objects`
// with `Selected` set, and `Primary` is none or in `Objects`.
//
// Threads: the three level buffers are written by the level intake on the engine
// thread while the GUI thread reads `ShownLevels`; both hold `LevelLock`. Everything
// else is for the GUI thread only.
//
// The stage file is read and written by LoadStage/SaveStage (model/StageFile.h).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/Canvas.h"
#include "model/LightCell.h"
#include "model/LightList.h"
#include "util/FontSpec.h"
#include "util/PictureLoader.h"

namespace lumaplot {

// Face of the level and channel fonts of a new document; its size is 9 points.
inline constexpr const char* kDefaultStageFontName = "IPAGothic";

inline constexpr int kStageChannels = 4096;  // 8 ports x 512 channels
using TLevelBuffer = std::array<uint8_t, kStageChannels>;

// Resolves a file name as the settings do (a relative name against the program
// folder); changes `path` in place and returns whether the file exists.
using TPathResolver = std::function<bool(std::string& path)>;

class TStageData {
 public:
  // Takes a type name the library lacks and returns the name to use instead (the
  // same name when the user picks nothing).
  using MissingTypeQuestion = std::function<std::string(const std::string& name)>;

  explicit TStageData(void* owner = nullptr);
  ~TStageData();
  TStageData(const TStageData&) = delete;
  TStageData& operator=(const TStageData&) = delete;

  void* Owner = nullptr;  // the window that holds the document; opaque here
  std::string FileName;   // empty for a new, unsaved document
  std::string Title;
  bool Modified = false;
  TLevelBuffer StageLevels1{};          // first stage of the input change filter
  TLevelBuffer StageLevels2{};          // second stage of the input change filter
  TLevelBuffer ShownLevels{};           // the levels the lights show; index = 0-based channel
  uint64_t LevelChanges = 0;            // counts the frames that changed ShownLevels
  TLightList Objects;                   // owned; sorted by CompareKindOrder = drawing order
  TLightList Selection;                 // in the order of selecting; not owned
  TLightCell* Primary = nullptr;        // the object clicked last, or none
  TLightCell Template;                  // common properties of the selection
  std::unique_ptr<Picture> Background;  // empty when there is no picture
  std::string BgImage;                  // picture file name as stored in the stage file
  MissingTypeQuestion OnMissingType;
  lumaplot::Canvas* Canvas = nullptr;  // where objects are drawn, not owned
  int32_t ScrWidth = 800;
  int32_t ScrHeight = 600;
  bool ShowGrid = false;
  int32_t BgColor = 0x000000;
  int32_t GridColor = 0xFF0000;
  int32_t ValColor = 0xFFFFFF;
  int32_t ValFullColor = 0xFFFFFF;
  int32_t ValZeroColor = 0xFFFFFF;
  int32_t ValBgColor = 0x000000;
  int32_t ChColor = 0xFFFFFF;
  int32_t ModColor = 0x008000;
  int32_t ModChN = 0;  // below 1: off
  int32_t GridStyle = 0;
  int32_t GridSize = 20;
  FontSpec ChFont{kDefaultStageFontName, 9, 0};   // channel texts (points)
  FontSpec ValFont{kDefaultStageFontName, 9, 0};  // level texts (points)
  bool EditInhibit = false;                       // the file read was read-only
  bool InhibitMove = false;
  bool CanUndo = false;
  bool CanRedo = false;

  // Largest `Order` among the objects of `kind`, -1 when there is none.
  int32_t MaxOrder(int32_t kind) const;

  // Takes ownership of `cell`, gives it the document's canvas and appends it to
  // `Objects`, then sorts `Objects` (stable, by kind and order).
  void AddObject(TLightCell* cell);
  // As AddObject but without sorting (the caller sorts, or keeps the order on purpose).
  void AppendObject(TLightCell* cell);
  // Stable sort of `Objects` with CompareKindOrder.
  void SortObjects();
  // Takes `cell` out of the document (out of `Objects`, `Selection` and `Primary`)
  // and gives it to the caller; nullptr when the document does not hold it.
  TLightCell* RemoveObject(TLightCell* cell);
  // Removes `cell` as RemoveObject and frees it.
  void DeleteObject(TLightCell* cell);
  // Frees every object; empties `Objects` and `Selection`; `Primary` = none.
  void ClearObjects();

  // Loads `Background` from `BgImage`: the picture is released first, the name is
  // resolved with `resolve` (when given), and `loader` decodes the file. True when a
  // picture is held afterwards. A missing or undecodable file leaves no picture and
  // keeps `BgImage`.
  bool LoadBackground(PictureLoader* loader, const TPathResolver& resolve,
                      std::string* error = nullptr);
};

}  // namespace lumaplot
