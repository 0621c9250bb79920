#include "model/ObjectDrawing.h"

#include <span>

#include "model/LightOutline.h"

namespace lumaplot {
namespace {

constexpr int32_t kBlack = 0x000000;
constexpr int32_t kWhite = 0xFFFFFF;

void ResetTools(Canvas& canvas) {
  canvas.SetPenStyle(TPenStyle::Solid);
  canvas.SetPenWidth(1);
  canvas.SetPenMode(TPenMode::Copy);
  canvas.SetBrushStyle(TBrushStyle::Solid);
}

void SetPenAndBrush(Canvas& canvas, int32_t pen, int32_t brush) {
  canvas.SetPenColor(pen);
  canvas.SetBrushColor(brush);
}

void DrawShape(TStageData& doc, const TLightCell& shape, bool real, Canvas& canvas) {
  canvas.SetPenWidth(shape.Size);
  if (real) {
    SetPenAndBrush(canvas, shape.Selected ? kSelectionColor : shape.Color2, shape.Color);
  } else {
    SetPenAndBrush(canvas, doc.BgColor, doc.BgColor);
  }
  if (shape.ShapeType == kShapeEllipse) {
    canvas.Ellipse(shape.X1, shape.Y1, shape.X2, shape.Y2);
  } else if (shape.ShapeType == kShapeRectangle) {
    const TPoint corners[] = {
        {shape.X1, shape.Y1}, {shape.X2, shape.Y1}, {shape.X2, shape.Y2}, {shape.X1, shape.Y2}};
    canvas.Polygon(corners);
  }
}

void DrawLine(TStageData& doc, const TLightCell& line, bool real, Canvas& canvas) {
  canvas.SetPenWidth(line.Size);
  canvas.SetPenColor(!real ? doc.BgColor : line.Selected ? kSelectionColor : line.Color);
  canvas.MoveTo(line.X1, line.Y1);
  canvas.LineTo(line.X2, line.Y2);
}

// The style bits of a text object are its own; those of the default font do not count.
void DrawText(TStageData& doc, const TLightCell& text, bool real, Canvas& canvas,
              const TPresentationSettings& settings) {
  canvas.SetFont(settings.DefaultFont);
  canvas.SetFontHeight(text.Size);
  canvas.SetFontStyle(text.Flags & (kFontBold | kFontItalic));
  if (real) {
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetFontColor(text.Selected ? kSelectionColor : text.Color);
    canvas.TextOut(text.X1, text.Y1, text.Text);
  } else {
    // Measured in the drawn style, so a bold or italic text is covered whole.
    const TRect area{text.X1, text.Y1, text.X1 + canvas.TextWidth(text.Text),
                     text.Y1 + canvas.TextHeight(text.Text)};
    canvas.SetBrushColor(doc.BgColor);
    canvas.FillRect(area);
  }
}

// The outline colour of a light: its type's frame colour, or its filter colour when
// the light asks for that and has one.
int32_t FrameColor(const TLightCell& light) {
  if ((light.Flags & kFlagOutlineFilter) != 0 && light.FilterColor != kNoColor) {
    return light.FilterColor;
  }
  return light.Fixture.FrmColor;
}

void DrawOutline(Canvas& canvas, const TLightOutline& outline) {
  if (outline.Count == 0) {
    const TRect& f = outline.Frame;
    canvas.Ellipse(f.Left, f.Top, f.Right, f.Bottom);
  } else {
    canvas.Polygon(std::span(outline.Points.data(), static_cast<size_t>(outline.Count)));
  }
}

void DrawBody(TStageData& doc, const TLightCell& light, bool real, Canvas& canvas,
              const TLightOutline& outline) {
  if (!real) {
    SetPenAndBrush(canvas, doc.BgColor, doc.BgColor);
  } else {
    const int32_t brush = light.Moving() ? kBlack : light.Color;
    const int32_t frame = FrameColor(light);
    SetPenAndBrush(canvas,
                   light.Selected      ? kSelectionColor
                   : frame == kNoColor ? brush
                                       : frame,
                   brush);
  }
  DrawOutline(canvas, outline);
}

void DrawPart(Canvas& canvas, const TBarPart& part, int32_t pen, int32_t brush) {
  SetPenAndBrush(canvas, pen, brush);
  canvas.Polygon(std::span(part.Points.data(), 4));
}

// A bar graph without an outline colour shows no outline: each part is edged in its
// own fill colour and the frame is left out.
void DrawBarGraph(TStageData& doc, const TLightCell& light, bool real, Canvas& canvas,
                  const TLightOutline& outline) {
  const std::span frame(outline.Points.data(), static_cast<size_t>(outline.Count));
  if (!real) {
    SetPenAndBrush(canvas, doc.BgColor, doc.BgColor);
    canvas.Polygon(frame);
    return;
  }
  const int32_t frameColor = light.Selected ? kSelectionColor : FrameColor(light);
  const bool outlined = frameColor != kNoColor;
  if (light.Moving()) {
    SetPenAndBrush(canvas, outlined ? frameColor : kBlack, kBlack);
    canvas.Polygon(frame);
    return;
  }
  const TBarParts parts = BarParts(light);
  if (parts.Filled.Count > 0) {
    const int32_t fill = light.FilterColor == kNoColor ? kWhite : light.FilterColor;
    DrawPart(canvas, parts.Filled, outlined ? frameColor : fill, fill);
  }
  if (parts.Empty.Count > 0) {
    DrawPart(canvas, parts.Empty, outlined ? frameColor : kBlack, kBlack);
    canvas.SetPenColor(kBlack);
    canvas.MoveTo(parts.Empty.Points[2].X, parts.Empty.Points[2].Y);
    canvas.LineTo(parts.Empty.Points[3].X, parts.Empty.Points[3].Y);
  }
  if (outlined) {
    canvas.SetPenColor(frameColor);
    canvas.Polyline(frame);
  }
}

struct TPlacedText {
  TLightText Text;
  TPoint At;
  int32_t Width = 0;
  int32_t Height = 0;
};

TPlacedText PlaceText(Canvas& canvas, const FontSpec& font, TLightText text, const TRect& box,
                      bool above) {
  canvas.SetFont(font);
  TPlacedText placed{std::move(text), {}, 0, 0};
  placed.Width = canvas.TextWidth(placed.Text.Text);
  placed.Height = canvas.TextHeight(placed.Text.Text);
  placed.At = above ? TextAbove(box, placed.Width, placed.Height) : TextBelow(box, placed.Width);
  return placed;
}

void DrawLevelText(TStageData& doc, TLightCell& light, bool real, Canvas& canvas, const TRect& box,
                   const TPresentationSettings& settings) {
  const TPlacedText placed = PlaceText(
      canvas, doc.ValFont, LevelText(doc, light, settings.DimValMode), box, settings.ExchangeValCh);
  const TRect area{placed.At.X - 2, placed.At.Y, placed.At.X + placed.Width + 2,
                   placed.At.Y + placed.Height};
  // Erasing only when the place or the size changed keeps a steady text from
  // flickering on every refresh.
  if (!light.ValueRect.IsEmpty() && !(real && light.ValueRect == area)) {
    canvas.SetBrushColor(doc.BgColor);
    canvas.FillRect(light.ValueRect);
  }
  if (!real) return;
  canvas.SetFontColor(placed.Text.Color);
  canvas.SetBrushColor(doc.ValBgColor);
  canvas.TextOut(placed.At.X, placed.At.Y, placed.Text.Text);
  light.ValueRect = area;
}

void DrawChannelText(TStageData& doc, const TLightCell& light, bool real, Canvas& canvas,
                     const TRect& box, const TPresentationSettings& settings) {
  const TPlacedText placed =
      PlaceText(canvas, doc.ChFont, ChannelText(doc, light, settings.DmxChMode), box,
                !settings.ExchangeValCh);
  canvas.SetFontColor(real ? placed.Text.Color : doc.BgColor);
  canvas.SetBrushColor(doc.BgColor);
  canvas.TextOut(placed.At.X, placed.At.Y, placed.Text.Text);
}

void DrawLight(TStageData& doc, TLightCell& light, bool real, Canvas& canvas,
               const TPresentationSettings& settings) {
  const bool primary = doc.Primary == &light;
  const TLightOutline outline = LightOutline(light);
  const TPoint c = outline.Center;
  if (primary && !real) {
    canvas.SetBrushColor(doc.BgColor);
    canvas.FillRect({c.X, c.Y, c.X + kHandMarkSize, c.Y + kHandMarkSize});
  }
  if (!light.NeedsDraw()) return;
  if (light.Fixture.Shape == BarGraph) {
    DrawBarGraph(doc, light, real, canvas, outline);
  } else {
    DrawBody(doc, light, real, canvas, outline);
  }
  if ((light.Flags & kFlagShowLevel) != 0) {
    DrawLevelText(doc, light, real, canvas, outline.Box, settings);
  }
  if ((light.Flags & kFlagShowChannel) != 0) {
    DrawChannelText(doc, light, real, canvas, outline.Box, settings);
  }
  if (primary && real) canvas.DrawHandMark(c.X, c.Y);
}

}  // namespace

void DrawObject(TStageData& doc, TLightCell* cell, bool realColours,
                const TPresentationSettings& settings) {
  if (cell == nullptr || doc.Canvas == nullptr) return;
  // Most objects of a refresh are unmarked; only erasing the primary light draws
  // without a mark (its hand mark goes).
  if (!cell->NeedsDraw() && !(cell == doc.Primary && !realColours)) return;
  Canvas& canvas = *doc.Canvas;
  ResetTools(canvas);
  if (cell->Kind == KindLight) {
    DrawLight(doc, *cell, realColours, canvas, settings);
  } else if (cell->NeedsDraw()) {
    switch (cell->Kind) {
      case KindShape:
        DrawShape(doc, *cell, realColours, canvas);
        break;
      case KindLine:
        DrawLine(doc, *cell, realColours, canvas);
        break;
      case KindText:
        DrawText(doc, *cell, realColours, canvas, settings);
        break;
      default:
        break;
    }
  }
  cell->SetNeedsDraw(false);
}

void DrawObject(TStageData& doc, TLightCell* cell, bool realColours) {
  DrawObject(doc, cell, realColours, PresentationSettings());
}

void DrawAll(TStageData& doc, bool realColours, bool markAll, bool clearMoving,
             const TPresentationSettings& settings) {
  for (TLightCell* cell : doc.Objects) {
    if (cell == nullptr) continue;
    if (markAll) cell->SetNeedsDraw();
    DrawObject(doc, cell, realColours, settings);
    if (clearMoving) cell->SetMoving(false);
  }
}

void DrawAll(TStageData& doc, bool realColours, bool markAll, bool clearMoving) {
  DrawAll(doc, realColours, markAll, clearMoving, PresentationSettings());
}

}  // namespace lumaplot
