#pragma once
// A Canvas for tests: it records every primitive with the pen, brush and font in
// force, and measures texts with a fixed metric, so drawing code can be checked
// call by call without pixels.
//
// Metric: a text is TextHeight() pixels high (the font's pixel height when one was
// set, otherwise 4/3 of its point size, rounded down) and half that wide per
// character; bold adds one pixel per character.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/Canvas.h"

namespace lumaplot::test {

struct RecordedCall {
  std::string
      Op;  // "Ellipse", "Polygon", "Polyline", "Line", "FillRect", "TextOut", "Pixel", "HandMark"
  std::vector<TPoint> Points;  // Ellipse and FillRect: the two corners; Line: from, to
  std::string Text;
  int32_t PenColor = 0;
  int32_t PenWidth = 1;
  TPenStyle PenStyle = TPenStyle::Solid;
  TPenMode PenMode = TPenMode::Copy;
  int32_t BrushColor = 0;
  TBrushStyle BrushStyle = TBrushStyle::Solid;
  FontSpec Font;
  int32_t FontHeight = 0;  // pixels; 0 when the font goes by its point size
  int32_t FontStyle = 0;
  int32_t FontColor = 0;

  // The call in one line: the operation, its points and the tools that count for
  // it, for example "Polygon (0,0) (10,0) (10,10) pen=0xc0c0c0/1 brush=0x0000ff".
  std::string Describe() const {
    std::string s = Op;
    for (const TPoint& p : Points)
      s += " (" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
    if (!Text.empty() || Op == "TextOut") s += " \"" + Text + "\"";
    const bool pen = Op == "Ellipse" || Op == "Polygon" || Op == "Polyline" || Op == "Line";
    const bool brush = Op == "Ellipse" || Op == "Polygon" || Op == "FillRect" || Op == "TextOut";
    if (pen) s += " pen=" + Hex(PenColor) + "/" + std::to_string(PenWidth);
    if (pen && PenMode == TPenMode::Invert) s += " invert";
    if (brush) s += BrushStyle == TBrushStyle::Clear ? " brush=clear" : " brush=" + Hex(BrushColor);
    if (Op == "TextOut") s += " font=" + Hex(FontColor);
    if (Op == "Pixel") s += " " + Hex(PenColor);
    return s;
  }

  static std::string Hex(int32_t color) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06x", static_cast<unsigned>(color));
    return text;
  }
};

class RecordingCanvas : public Canvas {
 public:
  std::vector<RecordedCall> Calls;

  void Clear() { Calls.clear(); }
  std::vector<std::string> Descriptions() const {
    std::vector<std::string> lines;
    for (const RecordedCall& c : Calls) lines.push_back(c.Describe());
    return lines;
  }

  void SetPenColor(int32_t color) override { state_.PenColor = color; }
  void SetPenWidth(int32_t width) override { state_.PenWidth = width; }
  void SetPenStyle(TPenStyle style) override { state_.PenStyle = style; }
  void SetPenMode(TPenMode mode) override { state_.PenMode = mode; }
  void SetBrushColor(int32_t color) override { state_.BrushColor = color; }
  void SetBrushStyle(TBrushStyle style) override { state_.BrushStyle = style; }
  void SetFont(const FontSpec& font) override {
    state_.Font = font;
    state_.FontHeight = 0;
    state_.FontStyle = font.Style;
  }
  void SetFontHeight(int32_t pixels) override { state_.FontHeight = pixels; }
  void SetFontStyle(int32_t style) override { state_.FontStyle = style; }
  void SetFontColor(int32_t color) override { state_.FontColor = color; }
  const RecordedCall& State() const { return state_; }

  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
    Record("Ellipse", {{left, top}, {right, bottom}});
  }
  void Polygon(std::span<const TPoint> points) override {
    Record("Polygon", {points.begin(), points.end()});
  }
  void Polyline(std::span<const TPoint> points) override {
    Record("Polyline", {points.begin(), points.end()});
  }
  void MoveTo(int32_t x, int32_t y) override { position_ = {x, y}; }
  void LineTo(int32_t x, int32_t y) override {
    Record("Line", {position_, {x, y}});
    position_ = {x, y};
  }
  void FillRect(const TRect& r) override {
    Record("FillRect", {{r.Left, r.Top}, {r.Right, r.Bottom}});
  }
  void TextOut(int32_t x, int32_t y, std::string_view text) override {
    Record("TextOut", {{x, y}}, std::string(text));
  }
  int32_t TextWidth(std::string_view text) override {
    int32_t chars = 0;
    for (char c : text) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    const int32_t bold = (state_.FontStyle & kFontBold) != 0 ? 1 : 0;
    return chars * (TextHeight(text) / 2 + bold);
  }
  int32_t TextHeight(std::string_view) override {
    return state_.FontHeight > 0 ? state_.FontHeight : state_.Font.Size * 4 / 3;
  }
  void SetPixel(int32_t x, int32_t y, int32_t color) override {
    RecordedCall& call = Record("Pixel", {{x, y}});
    call.PenColor = color;
  }
  void DrawHandMark(int32_t x, int32_t y) override { Record("HandMark", {{x, y}}); }

 private:
  RecordedCall& Record(const char* op, std::vector<TPoint> points, std::string text = {}) {
    RecordedCall call = state_;
    call.Op = op;
    call.Points = std::move(points);
    call.Text = std::move(text);
    Calls.push_back(std::move(call));
    return Calls.back();
  }

  RecordedCall state_;
  TPoint position_;
};

}  // namespace lumaplot::test
