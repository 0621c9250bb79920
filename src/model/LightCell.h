#pragma once
// One object of a stage plot: a light (fixture), a free text, a straight line or a
// filled shape. One record serves all four kinds; `Kind` says which fields count.
// The record is a plain value: copying it copies every field, the two texts as
// texts (the clipboard, a document's property template and the add template hold
// such copies).
//
// Ownership: objects are created with NewCell and destroyed with FreeCell by their
// one owner (a document's `Objects`, or the clipboard); `Canvas` is borrowed from
// the document. Lights hold a copy of their fixture type, not a pointer into the
// library. GUI thread only.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/Canvas.h"
#include "model/LibItem.h"
#include "model/Rect.h"

namespace lumaplot {

// Kind codes (`Kind`); the order of the codes is the drawing order.
enum TCellKind : int32_t {
  KindShape = 10,
  KindLine = 20,
  KindText = 30,
  KindLight = 50,
};

// `State` bits.
inline constexpr uint32_t kStateNeedsDraw = 0x001;  // draw at the next drawing pass
inline constexpr uint32_t kStateMoving = 0x100;     // being moved

// Light `Flags` bits.
inline constexpr uint32_t kFlagOutlineFilter = 0x1;  // outline in the filter colour
inline constexpr uint32_t kFlagShowLevel = 0x2;      // show the level text
inline constexpr uint32_t kFlagShowChannel = 0x4;    // show the channel text
// Text `Flags` bits.
inline constexpr uint32_t kFlagBold = 0x1;
inline constexpr uint32_t kFlagItalic = 0x2;

// Shape types (`ShapeType`).
inline constexpr int32_t kShapeRectangle = 0;
inline constexpr int32_t kShapeEllipse = 1;

inline constexpr int kPosHistorySize = 50;
inline constexpr int32_t kNotPatched = -1;      // `StartCh` of a light without a channel
inline constexpr int32_t kStartChDiffers = -2;  // `StartCh` in a template: the selection differs

// One saved position of the position history.
struct TPosEntry {
  int32_t X1 = -1;
  int32_t Y1 = -1;
  int32_t X2 = -1;
  int32_t Y2 = -1;
  int32_t Angle = 0;
  friend bool operator==(const TPosEntry&, const TPosEntry&) = default;
};

struct TLightCell {
  std::array<TPosEntry, kPosHistorySize> PosHistory{};  // ring of saved positions
  int32_t UndoCount = 0;                                // 0..50
  int32_t RedoCount = 0;                                // 0..50
  int32_t HistoryIndex = -1;  // ring slot of the newest saved position, -1..49
  int32_t Kind = KindLight;
  std::string Text;                     // text: the text (UTF-8)
  TLibItem Fixture = DefaultLibItem();  // light: its own copy of its type
  int32_t StartCh = kNotPatched;        // light: 0-based channel 0..4095, or -1
  int32_t ShapeType = kShapeRectangle;
  int32_t Width = 20;   // light: the type's width; other kinds keep 20
  int32_t Height = 20;  // light: the type's height; other kinds keep 20
  int32_t X1 = -1;
  int32_t Y1 = -1;
  int32_t X2 = -1;
  int32_t Y2 = -1;
  int32_t NewX1 = -1;  // scratch coordinates of the stretch operation
  int32_t NewY1 = -1;
  int32_t NewX2 = -1;
  int32_t NewY2 = -1;
  int32_t Size = 16;               // text: font height in pixels; line, shape: pen width
  int32_t Size2 = 0;               // shape: kept and saved, never drawn
  int32_t Angle = 0;               // light: degrees, clockwise on the screen
  int32_t Color = 0;               // 0x00BBGGRR; light: computed display colour
  int32_t Color2 = 0;              // shape: outline colour
  int32_t FilterColor = kNoColor;  // light: gel colour, kNoColor for none
  uint32_t Flags = 0;
  std::string Comment;  // light: free text carried in the stage file (UTF-8)
  int32_t Order = 0;    // sequence within the kind; with Kind fixes the drawing order
  int32_t BaseX = 0;    // X1, Y1 remembered when the stretch dialog opens
  int32_t BaseY = 0;
  int32_t Level = 0;      // light: last computed dimmer/brightness level 0..255
  double BarLevel = 0.0;  // light of shape BarGraph: fill fraction 0..1
  uint32_t State = kStateNeedsDraw;
  bool Selected = false;               // mirrors membership in the document's selection
  TRect ValueRect{};                   // where the level text was last drawn
  lumaplot::Canvas* Canvas = nullptr;  // the document's surface, not owned

  bool NeedsDraw() const { return (State & kStateNeedsDraw) != 0; }
  void SetNeedsDraw(bool on = true);
  bool Moving() const { return (State & kStateMoving) != 0; }
  void SetMoving(bool on = true);

  // Position history (X1, Y1, X2, Y2, Angle), a ring of 50 entries.
  // Push saves the current position and clears the redo steps.
  void PushPosition();
  // Undo and redo swap the current position with a saved one and set NeedsDraw.
  // Each does nothing and returns false when it has no step left.
  bool UndoPosition();
  bool RedoPosition();
};

// A new object with the defaults above: a light of the default type, not patched,
// at (-1, -1), history entries all (-1, -1, -1, -1, 0), NeedsDraw set.
TLightCell* NewCell();
// A new object that is a full copy of `source` (texts included).
TLightCell* CopyCell(const TLightCell& source);
// Releases an object made by NewCell or CopyCell; nullptr is ignored.
void FreeCell(TLightCell* cell);

// Comparators for sorting lists of objects: negative, zero or positive. Names
// compare as CompareNamesNoCase does; numbers never overflow.
int CompareKindOrder(const TLightCell* a, const TLightCell* b);    // Kind, Order
int CompareNameChannel(const TLightCell* a, const TLightCell* b);  // Name, StartCh, X1, Y1
int CompareChannelName(const TLightCell* a, const TLightCell* b);  // StartCh, Name, X1, Y1
int CompareX(const TLightCell* a, const TLightCell* b);            // X1, Y1
int CompareY(const TLightCell* a, const TLightCell* b);            // Y1, X1

// Orders two names without regard to letter case, full-width letters included
// (CompareFoldedCase), as type names are sorted wherever the user sees them: the
// type lists and the light list.
int CompareNamesNoCase(std::string_view a, std::string_view b);

}  // namespace lumaplot
