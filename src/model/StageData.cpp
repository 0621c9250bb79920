#include "model/StageData.h"

#include <algorithm>

#include "util/FileIo.h"

namespace lumaplot {

TStageData::TStageData(void* owner) : Owner(owner) {}

TStageData::~TStageData() { ClearObjects(); }

int32_t TStageData::MaxOrder(int32_t kind) const {
  int32_t result = -1;
  for (const TLightCell* cell : Objects) {
    if (cell->Kind == kind) result = std::max(result, cell->Order);
  }
  return result;
}

void TStageData::AddObject(TLightCell* cell) {
  AppendObject(cell);
  SortObjects();
}

void TStageData::AppendObject(TLightCell* cell) {
  cell->Canvas = Canvas;
  Objects.push_back(cell);
}

void TStageData::SortObjects() { SortCells(Objects, CompareKindOrder); }

TLightCell* TStageData::RemoveObject(TLightCell* cell) {
  const auto found = std::find(Objects.begin(), Objects.end(), cell);
  if (found == Objects.end()) return nullptr;
  Objects.erase(found);
  std::erase(Selection, cell);
  cell->Selected = false;
  if (Primary == cell) Primary = nullptr;
  return cell;
}

void TStageData::DeleteObject(TLightCell* cell) { FreeCell(RemoveObject(cell)); }

void TStageData::ClearObjects() {
  Selection.clear();
  Primary = nullptr;
  for (TLightCell* cell : Objects) FreeCell(cell);
  Objects.clear();
}

bool TStageData::LoadBackground(PictureLoader* loader, const TPathResolver& resolve,
                                std::string* error) {
  Background.reset();
  if (BgImage.empty()) {
    if (error) *error = "no background picture is named";
    return false;
  }
  std::string path = BgImage;
  const bool found = resolve ? resolve(path) : FileExists(path);
  if (!found) {
    if (error) *error = "background picture not found: " + path;
    return false;
  }
  if (loader == nullptr) {
    if (error) *error = "no picture loader";
    return false;
  }
  Background = loader->LoadPicture(path, error);
  return Background != nullptr;
}

}  // namespace lumaplot
