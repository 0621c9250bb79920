#pragma once
// Builders of fixture types, libraries, stage objects and plot files for the tests
// and benchmarks of the plain layers. Objects made by New… belong to the caller until
// given to a document; Add… gives them to `doc`, which sorts them into drawing order.
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "model/LibItem.h"
#include "model/LightCell.h"
#include "model/LightLib.h"
#include "model/StageData.h"
#include "model/StageFile.h"

namespace lumaplot::test {

// A type named "test" with exactly the given channel roles (none beyond them).
inline TLibItem MakeType(std::initializer_list<int32_t> roles, int32_t shape = Circle,
                         int32_t width = 20, int32_t height = 20) {
  TLibItem type;
  type.Name = "test";
  type.Shape = shape;
  type.Width = width;
  type.Height = height;
  type.Channels = static_cast<int32_t>(roles.size());
  type.ChAtr = {};
  int i = 0;
  for (int32_t role : roles) type.ChAtr[static_cast<size_t>(i++)] = role;
  return type;
}

// A type as the library file reader makes it: the default type with these values,
// so roles beyond `roles` keep the default type's red, green, blue.
inline TLibItem LibraryType(std::string name, int32_t shape, int32_t width, int32_t height,
                            const std::vector<int32_t>& roles, int32_t exAtr = 0) {
  TLibItem type = DefaultLibItem();
  type.Name = std::move(name);
  type.Shape = shape;
  type.Width = width;
  type.Height = height;
  type.Channels = static_cast<int32_t>(roles.size());
  for (size_t i = 0; i < roles.size(); ++i) type.ChAtr[i] = roles[i];
  type.ExAtr = exAtr;
  return type;
}

// A library holding `types` in this order.
inline TLightLib MakeLibrary(const std::vector<TLibItem>& types) {
  TLightLib library;
  for (const TLibItem& type : types) library.Items.Add(type);
  return library;
}

// The text of one section of a library file (LF line ends): "[DefineNNN]", the name
// and `rest`.
inline std::string LibrarySection(int slot, std::string_view name, std::string_view rest = "") {
  char header[32];
  std::snprintf(header, sizeof header, "[Define%03d]\n", slot);
  return std::string(header) + "Name=" + std::string(name) + "\n" + std::string(rest);
}

// A light of `type` at (x, y), patched to `startCh`.
inline TLightCell* NewLight(const TLibItem& type, int32_t x, int32_t y,
                            int32_t startCh = kNotPatched) {
  TLightCell* cell = NewCell();
  cell->Kind = KindLight;
  cell->Fixture = type;
  cell->Width = type.Width;
  cell->Height = type.Height;
  cell->X1 = x;
  cell->Y1 = y;
  cell->StartCh = startCh;
  return cell;
}

// A shape, line or text with the given corners (texts use only the first).
inline TLightCell* NewObject(int32_t kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  TLightCell* cell = NewCell();
  cell->Kind = kind;
  cell->X1 = x1;
  cell->Y1 = y1;
  cell->X2 = x2;
  cell->Y2 = y2;
  return cell;
}

inline TLightCell* AddLight(TStageData& doc, const TLibItem& type, int32_t x, int32_t y,
                            int32_t startCh = kNotPatched) {
  TLightCell* cell = NewLight(type, x, y, startCh);
  doc.AddObject(cell);
  return cell;
}

inline TLightCell* AddCell(TStageData& doc, int32_t kind, int32_t x1, int32_t y1, int32_t x2,
                           int32_t y2) {
  TLightCell* cell = NewObject(kind, x1, y1, x2, y2);
  doc.AddObject(cell);
  return cell;
}

// A line `width` pixels wide.
inline TLightCell* AddLine(TStageData& doc, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                           int32_t width = 1) {
  TLightCell* cell = AddCell(doc, KindLine, x1, y1, x2, y2);
  cell->Size = width;
  return cell;
}

// A text at (x, y) in the default height.
inline TLightCell* AddText(TStageData& doc, int32_t x, int32_t y, std::string text) {
  TLightCell* cell = NewObject(KindText, x, y, -1, -1);
  cell->Text = std::move(text);
  doc.AddObject(cell);
  return cell;
}

// Saves `doc` as `path` the way the program does (code page 932 unless `utf8`).
inline bool SavePlot(TStageData& doc, const std::string& path, bool utf8 = false) {
  doc.FileName = path;
  return SaveStage(doc, utf8);
}

}  // namespace lumaplot::test
