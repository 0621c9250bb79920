#include <gtest/gtest.h>

#include "model/LightCell.h"
#include "model/Selection.h"
#include "ui/main/FormTexts.h"

namespace lumaplot {
namespace {

TSignalState Network(bool ready, std::initializer_list<int> receiving, bool testMode = false) {
  TSignalState state;
  state.InCount = 8;
  state.Ready = ready;
  state.TestMode = testMode;
  for (int port : receiving) state.Receiving[static_cast<size_t>(port)] = true;
  return state;
}

TEST(FormTexts, SignalPanelNamesTheSourceAndItsPorts) {
  TSignalState playing = Network(true, {0});
  playing.RecorderPlays = true;
  playing.RecorderFrameSize = 1024;
  const struct {
    TSignalState state;
    const char* text;
  } cases[] = {
      {Network(true, {0, 2}), "NET:受信中(A-C-----)"},
      {Network(true, {}), "NET:無信号"},
      {Network(true, {1}, true), "NET:テストモード"},
      {Network(false, {}, true), "NET:テストモード"},
      {Network(false, {}), "NET:NG"},
      {playing, "HDR: (AB------)"},
  };
  for (const auto& c : cases) EXPECT_EQ(SignalStatusText(c.state), QString::fromUtf8(c.text));
}

class SelectionText : public ::testing::Test {
 protected:
  TLightCell* Add(int32_t kind) {
    TLightCell* cell = NewCell();
    cell->Kind = kind;
    doc.AddObject(cell);
    return cell;
  }
  TStageData doc;
};

TEST_F(SelectionText, DescribesTheSelectedObjectOrCountsTheSelection) {
  EXPECT_EQ(SelectionStatusText(nullptr, true), "");
  EXPECT_EQ(SelectionStatusText(&doc, true), "0個の灯体を選択中");

  TLightCell* line = Add(KindLine);
  line->X1 = 0, line->Y1 = 0, line->X2 = 3, line->Y2 = 4;
  SetSelected(doc, line, true);
  EXPECT_EQ(SelectionStatusText(&doc, true), "  直線 (   0,   0 -    3,   4)  L=   5");

  TLightCell* text = Add(KindText);
  text->X1 = 12, text->Y1 = 345;
  SetSelected(doc, line, false);
  SetSelected(doc, text, true);
  EXPECT_EQ(SelectionStatusText(&doc, true), "  テキスト (  12 -  345)");

  // Two selected without a primary object: a count.
  SetSelected(doc, line, true);
  doc.Primary = nullptr;
  EXPECT_EQ(SelectionStatusText(&doc, true), "2個の灯体を選択中");
  doc.Primary = line;
  EXPECT_EQ(SelectionStatusText(&doc, true), "  直線 (   0,   0 -    3,   4)  L=   5");

  TLightCell* shape = Add(KindShape);
  SelectAll(doc, false);
  SetSelected(doc, shape, true);
  EXPECT_EQ(SelectionStatusText(&doc, true), "");
}

TEST_F(SelectionText, LightShowsItsTypeChannelsAndPlace) {
  TLightCell* light = Add(KindLight);
  light->Fixture.Name = "PAR";
  light->X1 = 10, light->Y1 = 20, light->Angle = 45;
  SetSelected(doc, light, true);
  const struct {
    int32_t startCh;
    int32_t channels;
    bool letterForm;
    const char* text;
  } cases[] = {
      {kNotPatched, 3, true, "PAR  Ch.=none  (  10 -   20 :  45°)"},
      {0, 1, true, "PAR  Ch.=A001  (  10 -   20 :  45°)"},
      {510, 3, true, "PAR  Ch.=A511～B001  (  10 -   20 :  45°)"},
      {510, 3, false, "PAR  Ch.=511～513  (  10 -   20 :  45°)"},
  };
  for (const auto& c : cases) {
    light->StartCh = c.startCh;
    light->Fixture.Channels = c.channels;
    EXPECT_EQ(SelectionStatusText(&doc, c.letterForm), QString::fromUtf8(c.text));
  }
}

TEST(FormTexts, CaptionNamesTheDocumentAndItsInhibits) {
  TStageData doc;
  EXPECT_EQ(MainCaption("Lumaplot", false, nullptr), "Lumaplot");
  EXPECT_EQ(MainCaption("Lumaplot", false, &doc), "Lumaplot [無題]");
  doc.Title = "Hall A";
  EXPECT_EQ(MainCaption("Lumaplot", false, &doc), "Lumaplot [無題]");
  doc.FileName = "/plots/hall.dat";
  doc.InhibitMove = true;
  EXPECT_EQ(MainCaption("Lumaplot", false, &doc), "Lumaplot [Hall A: /plots/hall.dat] : 移動禁止");
  doc.EditInhibit = true;
  doc.Title.clear();
  EXPECT_EQ(MainCaption("Lumaplot", true, &doc),
            "Lumaplot - (デバッグモード) [/plots/hall.dat] : 編集禁止");
}

TEST(FormTexts, TabsCounterAndWindowMenuItems) {
  TStageData doc;
  EXPECT_EQ(NewTabText(doc, 1), " データ1 ");
  EXPECT_EQ(TabText(doc, 1), "データ2");
  EXPECT_EQ(WindowMenuCaption(doc, 0), "&1: ");
  doc.FileName = "/p/a.dat";
  EXPECT_EQ(WindowMenuCaption(doc, 9), "&0: /p/a.dat");
  doc.Title = "Main";
  EXPECT_EQ(NewTabText(doc, 3), " Main ");
  EXPECT_EQ(TabText(doc, 4), "Main");
  EXPECT_EQ(WindowMenuCaption(doc, 10), "   Main");
  EXPECT_EQ(DocumentCounterText(1, 3), " 2/3");
}

}  // namespace
}  // namespace lumaplot
