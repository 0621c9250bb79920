#include "model/StageFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Crlf.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

using test::TempDir;

const std::string kWindowsPlot = LUMAPLOT_TEST_DATA "/stage/windows_plot.dat";
const std::string kWindowsLibrary = LUMAPLOT_TEST_DATA "/library/windows_library.ini";

using test::Crlf;

std::vector<int32_t> PositionOf(const TLightCell& c) { return {c.X1, c.Y1, c.X2, c.Y2}; }

// A red, green, blue type half as high as it is wide.
TLibItem Type(std::string name, int32_t width) {
  return test::LibraryType(std::move(name), Circle, width, width / 2,
                           {RoleRed, RoleGreen, RoleBlue});
}

class StageFileTest : public testing::Test {
 protected:
  StageFileTest() {
    library.Items.Add(Type("LED", 30));
    library.Items.Add(Type("SPOT", 40));
    library.Items.Add(Type("PAR", 24));
    context.Library = &library;
  }

  // Loads `text` (UTF-8, LF line ends) written as a CP932 file with CR LF.
  bool LoadText(std::string_view text) {
    return LoadStage(doc, dir.Write("plot.dat", Utf8ToCp932(Crlf(text))), context);
  }

  std::vector<TLightCell*> OfKind(int32_t kind) const {
    std::vector<TLightCell*> cells;
    for (TLightCell* c : doc.Objects) {
      if (c->Kind == kind) cells.push_back(c);
    }
    return cells;
  }

  // The object lines SaveStage writes for the document (without the option lines).
  std::vector<std::string> ObjectLines() {
    std::vector<std::string> lines = StageFileLines(doc);
    lines.resize(lines.size() - 22);
    return lines;
  }

  TempDir dir;
  TLightLib library;
  TStageReadContext context;
  TStageData doc;
};

TEST_F(StageFileTest, AFileOfTheWindowsProgramRoundTripsByteForByte) {
  TLightLib windowsLibrary;
  ASSERT_EQ(windowsLibrary.LoadFromFile(kWindowsLibrary, false), 3);
  context.Library = &windowsLibrary;
  ASSERT_TRUE(LoadStage(doc, kWindowsPlot, context));

  EXPECT_EQ(doc.Title, "本公演");
  EXPECT_EQ(doc.ScrWidth, 1024);
  EXPECT_EQ(doc.ScrHeight, 768);
  EXPECT_TRUE(doc.ShowGrid);
  EXPECT_EQ(doc.GridStyle, 1);
  EXPECT_EQ(doc.ValColor, 0xFFFF00);
  EXPECT_EQ(doc.ModChN, 10);
  EXPECT_EQ(doc.ValFont.Name, "ＭＳ ゴシック");
  EXPECT_EQ(doc.ChFont.Size, 8);
  EXPECT_FALSE(doc.InhibitMove);
  EXPECT_FALSE(doc.Modified);
  EXPECT_EQ(doc.FileName, kWindowsPlot);

  ASSERT_EQ(doc.Objects.size(), 8u);
  const auto lights = OfKind(KindLight);
  ASSERT_EQ(lights.size(), 3u);
  EXPECT_EQ(lights[0]->StartCh, 0);
  EXPECT_EQ(lights[1]->StartCh, -1);
  EXPECT_EQ(lights[1]->Comment, "下手側");
  EXPECT_EQ(lights[2]->StartCh, 512);
  EXPECT_EQ(lights[2]->Fixture.Name, "ムービング色");
  EXPECT_EQ(lights[2]->Fixture.Shape, Octagon);
  EXPECT_EQ(lights[2]->Width, 30);
  EXPECT_EQ(lights[2]->FilterColor, 0xFF);
  EXPECT_EQ(lights[2]->Flags, 7u);
  EXPECT_EQ(lights[1]->Width, 24);
  EXPECT_EQ(lights[1]->Height, 16);
  const auto texts = OfKind(KindText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->Text, "下手");
  EXPECT_EQ(texts[1]->Size, 24);
  EXPECT_EQ(texts[1]->Flags, 3u);
  const auto shapes = OfKind(KindShape);
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[1]->ShapeType, 1);
  EXPECT_EQ(shapes[1]->Order, 1);
  EXPECT_EQ(shapes[1]->Color, 0x000080);
  EXPECT_EQ(shapes[1]->Color2, 0x00FF00);
  EXPECT_EQ(doc.Objects.front(), shapes[0]);  // shapes first: drawing order

  doc.FileName = dir.File("copy.dat");
  ASSERT_TRUE(SaveStage(doc, false));
  EXPECT_EQ(TempDir::Read(doc.FileName), TempDir::Read(kWindowsPlot));
}

TEST_F(StageFileTest, ALightLineEndingInACommaIsAnUnpatchedLightWithAnEmptyComment) {
  ASSERT_TRUE(LoadText("[LightData]\n0,10,20,45,0x1fffffff,LED,0x00000004,\n"));
  ASSERT_EQ(doc.Objects.size(), 1u);
  const TLightCell& light = *doc.Objects[0];
  EXPECT_EQ(light.StartCh, -1);
  EXPECT_EQ(light.X1, 10);
  EXPECT_EQ(light.Y1, 20);
  EXPECT_EQ(light.Angle, 45);
  EXPECT_EQ(light.FilterColor, kNoColor);
  EXPECT_EQ(light.Flags, kFlagShowChannel);
  EXPECT_EQ(light.Comment, "");
  EXPECT_EQ(light.Fixture.Name, "LED");
  EXPECT_EQ(light.Width, 30);
  EXPECT_EQ(light.Height, 15);
  EXPECT_EQ(ObjectLines()[1], "0,10,20,45,0x1fffffff,LED,0x00000004,");
}

TEST_F(StageFileTest, EveryFieldLandsInItsMemberAndIsWrittenBackInItsPlace) {
  const std::vector<std::string> lines = {
      "[LightData]", "2,3,4,5,0x00000006,LED,0x00000007,C",
      "[TextData]",  "1,2,T,4,0x000005,0x00000006",
      "[LineData]",  "1,2,3,4,5,0x000006",
      "[ShapeData]", "1,2,3,4,5,6,7,0x000008,0x000009",
  };
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  ASSERT_TRUE(LoadText(text));
  using Values = std::vector<int64_t>;
  const TLightCell& light = *OfKind(KindLight)[0];
  EXPECT_EQ(
      (Values{light.StartCh, light.X1, light.Y1, light.Angle, light.FilterColor, light.Flags}),
      (Values{1, 3, 4, 5, 6, 7}));
  EXPECT_EQ(light.Fixture.Name, "LED");
  EXPECT_EQ(light.Comment, "C");
  const TLightCell& t = *OfKind(KindText)[0];
  EXPECT_EQ((Values{t.X1, t.Y1, t.Size, t.Color, t.Flags}), (Values{1, 2, 4, 5, 6}));
  EXPECT_EQ(t.Text, "T");
  const TLightCell& l = *OfKind(KindLine)[0];
  EXPECT_EQ((Values{l.X1, l.Y1, l.X2, l.Y2, l.Size, l.Color}), (Values{1, 2, 3, 4, 5, 6}));
  const TLightCell& s = *OfKind(KindShape)[0];
  EXPECT_EQ((Values{s.ShapeType, s.X1, s.Y1, s.X2, s.Y2, s.Size, s.Size2, s.Color, s.Color2}),
            (Values{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(ObjectLines(), lines);
}

struct FieldCountCase {
  const char* section;
  const char* line;
  size_t objects;
};

class FieldCounts : public StageFileTest, public testing::WithParamInterface<FieldCountCase> {};

TEST_P(FieldCounts, OnlyTheExactCountMakesAnObject) {
  ASSERT_TRUE(LoadText(std::string(GetParam().section) + "\n" + GetParam().line + "\n"));
  EXPECT_EQ(doc.Objects.size(), GetParam().objects) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FieldCounts,
    testing::Values(FieldCountCase{"[LightData]", "5,10,20,0,0x1fffffff,LED,0x00000000", 0},
                    FieldCountCase{"[LightData]", "5,10,20,0,0x1fffffff,LED,0x00000000,a,", 0},
                    FieldCountCase{"[LightData]", "5,10,20,0,0x1fffffff,LED,0x00000000,a", 1},
                    FieldCountCase{"[TextData]", "10,10,A,B,16,0xffffff,0x00000000", 0},
                    FieldCountCase{"[TextData]", "10,10,AB,16,0xffffff,0x00000000", 1},
                    FieldCountCase{"[LineData]", "0,200,800,200,2", 0},
                    FieldCountCase{"[LineData]", "0,200,800,200,2,0x00ffff", 1},
                    FieldCountCase{"[ShapeData]", "0,10,10,110,60,1,8,0x404040,0xffffff,", 0},
                    FieldCountCase{"[ShapeData]", "0,10,10,110,60,1,8,0x404040,0xffffff", 1},
                    FieldCountCase{"[ShapeData]", "0,1,2,3,4,5,6,7,8,9,10,11", 0},
                    FieldCountCase{"[ShapeData]", " ", 0}));

TEST_F(StageFileTest, MalformedNumbersTakeTheFieldDefaults) {
  ASSERT_TRUE(
      LoadText("[LightData]\nx,a,b,c,d,LED,e,\n"
               "[TextData]\na,b,T,c,d,e\n"
               "[LineData]\na,b,c,d,e,f\n"
               "[ShapeData]\na,b,c,d,e,f,g,h,i\n"));
  const TLightCell& shape = *OfKind(KindShape)[0];
  EXPECT_EQ(PositionOf(shape), (std::vector<int32_t>{0, 0, 100, 100}));
  EXPECT_EQ(shape.Size, 1);
  EXPECT_EQ(shape.Size2, 8);
  EXPECT_EQ(shape.Color, 0xFFFFFF);
  EXPECT_EQ(shape.Color2, 0xFFFFFF);
  const TLightCell& line = *OfKind(KindLine)[0];
  EXPECT_EQ(PositionOf(line), (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(line.Size, 1);
  EXPECT_EQ(line.Color, 0xFFFFFF);
  const TLightCell& text = *OfKind(KindText)[0];
  EXPECT_EQ(text.Size, 16);
  EXPECT_EQ(text.Color, 0xFFFFFF);
  EXPECT_EQ(text.Flags, 0u);
  const TLightCell& light = *OfKind(KindLight)[0];
  EXPECT_EQ(light.StartCh, 0);
  EXPECT_EQ(light.X1, 0);
  EXPECT_EQ(light.FilterColor, kNoColor);
}

TEST_F(StageFileTest, ChannelsOutsideTheChannelSpaceLeaveTheLightUnpatched) {
  ASSERT_TRUE(
      LoadText("[LightData]\n4096,0,0,0,0,LED,0,\n4097,0,0,0,0,LED,0,\n-5,0,0,0,0,LED,0,\n"
               "-2147483648,0,0,0,0,LED,0,\n99999999999,0,0,0,0,LED,0,\n"));
  const auto lights = OfKind(KindLight);
  ASSERT_EQ(lights.size(), 5u);
  EXPECT_EQ(lights[0]->StartCh, 4095);
  EXPECT_EQ(lights[1]->StartCh, -1);
  EXPECT_EQ(lights[2]->StartCh, -1);
  EXPECT_EQ(lights[3]->StartCh, -1);
  EXPECT_EQ(lights[4]->StartCh, 0);  // not a 32-bit number: the default channel 1
}

TEST_F(StageFileTest, ShapesAndLinesTakeTheirLineIndexTextsAndLightsKeepFileOrder) {
  ASSERT_TRUE(
      LoadText("[ShapeData]\nbad\n0,0,0,1,1,1,8,0,0\n0,0,0,2,2,1,8,0,0\n"
               "[TextData]\n1,1,first,16,0,0\n2,2,second,16,0,0\n"
               "[LineData]\n0,0,1,1,1,0\n"));
  const auto shapes = OfKind(KindShape);
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[0]->Order, 1);
  EXPECT_EQ(shapes[1]->Order, 2);
  doc.SortObjects();
  const auto texts = OfKind(KindText);
  EXPECT_EQ(texts[0]->Text, "first");
  EXPECT_EQ(texts[1]->Text, "second");
  EXPECT_EQ(texts[0]->Order, 0);
}

TEST_F(StageFileTest, SectionHeadersAndOptionsInAnyOrder) {
  ASSERT_TRUE(
      LoadText("0,0,orphan,16,0,0\n"
               "[option]\nTitle=early\n"
               "[lightdata]\n1,0,0,0,0,LED,0,\n"
               "[LightData] \n2,0,0,0,0,LED,0,\n"
               "[Unknown]\n3,0,0,0,0,LED,0,\n"
               "[OPTION]\nTITLE=late\n"
               "[TextData]\n\n0,0,kept,16,0,0\n"));
  EXPECT_EQ(doc.Title, "late");
  const auto lights = OfKind(KindLight);
  ASSERT_EQ(lights.size(), 1u);
  EXPECT_EQ(lights[0]->StartCh, 0);
  ASSERT_EQ(OfKind(KindText).size(), 1u);
  EXPECT_EQ(OfKind(KindText)[0]->Text, "kept");
}

TEST_F(StageFileTest, OptionValues) {
  ASSERT_TRUE(
      LoadText("[Option]\nScrWidth= 1280 \nScrHeight=abc\nShowGrid= 1\nInhibitMove= 1\n"
               "BgColor=0x00FF00\nGridColor=$FF\nTitle=a=b \nBgImage=pic.png\nModChN=99999999999\n"
               "ValFontName= Sans\nValFontSize=12\nGridSizeX=7\nNoSuchKey=1\n"));
  EXPECT_EQ(doc.ScrWidth, 1280);
  EXPECT_EQ(doc.ScrHeight, 800);
  EXPECT_FALSE(doc.ShowGrid);
  EXPECT_TRUE(doc.InhibitMove);
  EXPECT_EQ(doc.BgColor, 0x00FF00);
  EXPECT_EQ(doc.GridColor, 0xFF);
  EXPECT_EQ(doc.Title, "a=b ");
  EXPECT_EQ(doc.BgImage, "pic.png");
  EXPECT_EQ(doc.ModChN, 0);
  EXPECT_EQ(doc.ValFont.Name, " Sans");
  EXPECT_EQ(doc.ValFont.Size, 12);
  EXPECT_EQ(doc.GridSize, 20);  // "GridSizeX=" is no key
}

TEST_F(StageFileTest, AbsentOptionsKeepTheDocumentValues) {
  ASSERT_TRUE(LoadText("[Option]\nScrHeight= 480\n"));
  EXPECT_EQ(doc.ScrHeight, 480);
  EXPECT_EQ(doc.ScrWidth, 800);
  ASSERT_TRUE(LoadText("[Option]\nShowGrid=1\n"));
  EXPECT_EQ(doc.ScrHeight, 480);
  EXPECT_TRUE(doc.ShowGrid);
  TStageData fresh;
  ASSERT_TRUE(LoadStage(fresh, dir.Write("empty.dat", ""), context));
  EXPECT_EQ(fresh.ScrHeight, 600);
}

TEST_F(StageFileTest, MissingTypesAreAskedOncePerNameInOrder) {
  std::vector<std::string> asked;
  doc.OnMissingType = [&](const std::string& name) {
    asked.push_back(name);
    return name == "spot" ? std::string("PAR") : std::string();
  };
  ASSERT_TRUE(
      LoadText("[LightData]\n"
               "1,0,0,0,0,spot,0,\n"
               "2,0,0,0,0,Fog,0\n"    // seven fields: dropped, but asked
               "3,0,0,0,0,SPOT,0,\n"  // SPOT exists, yet takes the answer for spot
               "4,0,0,0,0,*default*,0,\n"
               "5,0,0,0,0,fog,0,\n"
               "6,0,0,0,0,,0,\n"));
  EXPECT_EQ(asked, (std::vector<std::string>{"spot", "Fog", "*default*", ""}));
  const auto lights = OfKind(KindLight);
  ASSERT_EQ(lights.size(), 5u);
  EXPECT_EQ(lights[0]->Fixture.Name, "PAR");
  EXPECT_EQ(lights[0]->Width, 24);
  EXPECT_EQ(lights[1]->Fixture.Name, "PAR");
  // No replacement: the default type under the name read.
  EXPECT_EQ(lights[2]->Fixture.Name, "*default*");
  EXPECT_EQ(lights[3]->Fixture.Name, "fog");
  EXPECT_EQ(lights[3]->Fixture.Width, 20);
  EXPECT_EQ(lights[3]->Fixture.Channels, 3);
  EXPECT_EQ(lights[3]->StartCh, 4);
  EXPECT_EQ(lights[4]->Fixture, DefaultLibItem());
}

TEST_F(StageFileTest, AnUnknownTypeKeepsItsNameThroughASave) {
  ASSERT_TRUE(LoadText("[LightData]\n1,5,6,0,0x1fffffff,Strobe,0x00000000,\n"));
  const TLightCell& light = *doc.Objects[0];
  EXPECT_EQ(light.Fixture.Name, "Strobe");
  EXPECT_EQ(light.Fixture.Shape, Circle);
  EXPECT_EQ(light.Width, 20);
  EXPECT_EQ(ObjectLines()[1], "1,5,6,0,0x1fffffff,Strobe,0x00000000,");

  library.Items.Add(Type("Strobe", 50));
  TLibItem relinked;
  EXPECT_GE(library.IndexOfName(light.Fixture.Name, &relinked), 0);
  EXPECT_EQ(relinked.Width, 50);
}

TEST_F(StageFileTest, AReplacementTheLibraryLacksIsKeptAsTheName) {
  doc.OnMissingType = [](const std::string&) { return std::string("Other"); };
  ASSERT_TRUE(LoadText("[LightData]\n1,0,0,0,0,Gone,0,\n"));
  EXPECT_EQ(doc.Objects[0]->Fixture.Name, "Other");
  EXPECT_EQ(doc.Objects[0]->Fixture.Width, 20);
}

TEST_F(StageFileTest, WithoutALibraryEveryTypeIsMissing) {
  context.Library = nullptr;
  int questions = 0;
  doc.OnMissingType = [&](const std::string& name) { return ++questions, name; };
  ASSERT_TRUE(LoadText("[LightData]\n1,0,0,0,0,LED,0,\n2,0,0,0,0,led,0,\n"));
  EXPECT_EQ(questions, 1);
  EXPECT_EQ(doc.Objects[0]->Width, 20);
  EXPECT_EQ(doc.Objects[1]->Fixture.Name, "LED");
}

TEST_F(StageFileTest, TextsWithCommasAndQuotesSurviveASaveAndReload) {
  library.Items.Add(Type("A,B", 22));
  test::AddText(doc, 10, 10, "A,B")->Color = 0xFFFFFF;
  test::AddText(doc, -1, -1, "\"quoted\" text");
  test::AddLight(doc, library.Items[3], -1, -1)->Comment = "front, left";
  test::AddText(doc, -1, -1, "mid\"dle");

  const auto lines = ObjectLines();
  EXPECT_EQ(lines[1], "0,-1,-1,0,0x1fffffff,\"A,B\",0x00000000,\"front, left\"");
  EXPECT_EQ(lines[3], "10,10,\"A,B\",16,0xffffff,0x00000000");
  EXPECT_EQ(lines[4], "-1,-1,\"\"\"quoted\"\" text\",16,0x000000,0x00000000");
  EXPECT_EQ(lines[5], "-1,-1,mid\"dle,16,0x000000,0x00000000");

  doc.FileName = dir.File("quoted.dat");
  ASSERT_TRUE(SaveStage(doc, false));
  TStageData again;
  ASSERT_TRUE(LoadStage(again, doc.FileName, context));
  ASSERT_EQ(again.Objects.size(), 4u);
  EXPECT_EQ(again.Objects[0]->Text, "A,B");
  EXPECT_EQ(again.Objects[1]->Text, "\"quoted\" text");
  EXPECT_EQ(again.Objects[2]->Text, "mid\"dle");
  EXPECT_EQ(again.Objects[3]->Fixture.Name, "A,B");
  EXPECT_EQ(again.Objects[3]->Width, 22);
  EXPECT_EQ(again.Objects[3]->Comment, "front, left");
}

TEST_F(StageFileTest, QuotedFieldsAsOtherProgramsWriteThem) {
  ASSERT_TRUE(
      LoadText("[TextData]\n1,2,\"say \"\"hi\"\", all\",16,0,0\n3,4,\"open,16,0,0\n"
               "5,6,\"a\"b,16,0,0\n"));
  const auto texts = OfKind(KindText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->Text, "say \"hi\", all");
  EXPECT_EQ(texts[1]->Text, "ab");
}

TEST_F(StageFileTest, SavesTheWrittenLayout) {
  doc.Title = "本公演";
  doc.BgImage = "bg.png";
  doc.ShowGrid = true;
  doc.InhibitMove = true;
  doc.ValFont = {"Sans", 10, 0};
  TLightCell* shape = test::AddCell(doc, KindShape, 10, 10, 110, 60);
  shape->ShapeType = kShapeRectangle;
  shape->Size = 1;
  shape->Size2 = 8;
  shape->Color = 0x404040;
  shape->Color2 = 0xFFFFFF;
  test::AddLine(doc, 0, 200, 800, 200, 2)->Color = 0x00FFFF;
  TLightCell* text = test::AddText(doc, 20, 300, "下手");
  text->Color = 0xFFFFFF;
  text->Flags = kFlagBold;
  TLightCell* light = test::AddLight(doc, library.Items[0], 100, 40, 0);
  light->Flags = 6;
  light->Color = 0x123456;  // computed, never saved
  doc.Modified = true;
  doc.FileName = dir.File("out.dat");

  ASSERT_TRUE(SaveStage(doc, false));
  EXPECT_FALSE(doc.Modified);
  const std::string expected =
      "[LightData]\n1,100,40,0,0x1fffffff,LED,0x00000006,\n"
      "[TextData]\n20,300,下手,16,0xffffff,0x00000001\n"
      "[LineData]\n0,200,800,200,2,0x00ffff\n"
      "[ShapeData]\n0,10,10,110,60,1,8,0x404040,0xffffff\n"
      "[Option]\nBgImage=bg.png\nTitle=本公演\nScrWidth=800\nScrHeight=600\nShowGrid=1\nGridSize="
      "20\n"
      "GridStyle=0\nBgColor=0\nGridColor=16711680\nValColor=16777215\nValZeroColor=16777215\n"
      "ValFullColor=16777215\nValBgColor=0\nChColor=16777215\nModColor=32768\nModChN=0\n"
      "ValFontName=Sans\nValFontSize=10\nChFontName=IPAGothic\nChFontSize=9\nInhibitMove=1\n";
  EXPECT_EQ(TempDir::Read(doc.FileName), Utf8ToCp932(Crlf(expected)));

  ASSERT_TRUE(SaveStage(doc, true));
  EXPECT_EQ(TempDir::Read(doc.FileName), "\xEF\xBB\xBF" + Crlf(expected));
}

TEST_F(StageFileTest, EncodingsAreReadByTheirMark) {
  const std::string text = "[TextData]\r\n0,0,照明,16,0,0\r\n";
  ASSERT_TRUE(LoadStage(doc, dir.Write("u8.dat", "\xEF\xBB\xBF" + text), context));
  EXPECT_EQ(doc.Objects[0]->Text, "照明");
  // Without a mark UTF-8 bytes are taken for code page 932.
  ASSERT_TRUE(LoadStage(doc, dir.Write("plain.dat", text), context));
  EXPECT_NE(doc.Objects[0]->Text, "照明");
  std::string utf16 = "\xFE\xFF";
  for (char c : std::string("[TextData]\r\n0,0,AB,16,0,0\r\n")) {
    utf16 += '\0';
    utf16 += c;
  }
  ASSERT_TRUE(LoadStage(doc, dir.Write("u16.dat", utf16), context));
  EXPECT_EQ(doc.Objects[0]->Text, "AB");
}

TEST_F(StageFileTest, TextsCodePage932CannotHoldAreSavedAsUtf8) {
  test::AddText(doc, -1, -1, "Ünïcode 💡");
  doc.FileName = dir.File("wide.dat");
  ASSERT_TRUE(SaveStage(doc, false));
  EXPECT_EQ(TempDir::Read(doc.FileName).substr(0, 3), "\xEF\xBB\xBF");
  TStageData again;
  ASSERT_TRUE(LoadStage(again, doc.FileName, context));
  EXPECT_EQ(again.Objects[0]->Text, "Ünïcode 💡");
}

TEST_F(StageFileTest, LineBreaksInTextsAreWrittenAsBlanks) {
  doc.Title = "two\r\nlines";
  test::AddText(doc, -1, -1, "a\nb");
  doc.FileName = dir.File("breaks.dat");
  ASSERT_TRUE(SaveStage(doc, false));
  TStageData again;
  ASSERT_TRUE(LoadStage(again, doc.FileName, context));
  EXPECT_EQ(again.Title, "two  lines");
  ASSERT_EQ(again.Objects.size(), 1u);
  EXPECT_EQ(again.Objects[0]->Text, "a b");
}

TEST_F(StageFileTest, LoadingReplacesTheObjectsAndTheSelection) {
  TLightCell* old = test::AddLight(doc, DefaultLibItem(), -1, -1);
  old->Selected = true;
  doc.Selection.push_back(old);
  doc.Primary = old;
  doc.Modified = true;
  ASSERT_TRUE(LoadText("[LineData]\n0,0,5,5,1,0\n"));
  ASSERT_EQ(doc.Objects.size(), 1u);
  EXPECT_EQ(doc.Objects[0]->Kind, KindLine);
  EXPECT_TRUE(doc.Selection.empty());
  EXPECT_EQ(doc.Primary, nullptr);
  EXPECT_FALSE(doc.Modified);
}

TEST_F(StageFileTest, AMissingFileOrEmptyPathChangesNothingButTheFileName) {
  ASSERT_TRUE(LoadText("[LineData]\n0,0,5,5,1,0\n[Option]\nTitle=kept\n"));
  std::string error;
  EXPECT_FALSE(LoadStage(doc, dir.File("none.dat"), context, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(doc.FileName, "");
  EXPECT_EQ(doc.Title, "kept");
  EXPECT_EQ(doc.Objects.size(), 1u);
  EXPECT_FALSE(LoadStage(doc, "", context));
  EXPECT_FALSE(LoadStage(doc, dir.Path(), context));  // a folder is no stage file
}

TEST_F(StageFileTest, ReadsBytesInMemoryAndDropsTheMalformedLines) {
  doc.FileName = "kept.dat";
  doc.EditInhibit = true;
  doc.Modified = true;
  const std::string bytes =
      Utf8ToCp932(Crlf("[LightData]\n1,10,20,0,0x1fffffff,LED,0x00000006,前\n"
                       "2,10,20,0,LED,0\n"  // six fields
                       "not a light at all\n"
                       "[TextData]\n5,6,照明,16,0xffffff,0\n"));
  ASSERT_TRUE(LoadStageFromBytes(doc, bytes, context));
  ASSERT_EQ(doc.Objects.size(), 2u);
  EXPECT_EQ(OfKind(KindText)[0]->Text, "照明");
  const TLightCell& light = *OfKind(KindLight)[0];
  EXPECT_EQ(light.Comment, "前");
  EXPECT_EQ(light.Width, 30);           // LED of the library
  EXPECT_EQ(doc.FileName, "kept.dat");  // the file's business, not the reader's
  EXPECT_TRUE(doc.EditInhibit);
  EXPECT_FALSE(doc.Modified);

  std::string error;
  EXPECT_FALSE(LoadStageFromBytes(doc, std::string(kMaxStageFileBytes + 1, '\n'), context, &error));
  EXPECT_NE(error.find("too large"), std::string::npos);
  EXPECT_EQ(doc.Objects.size(), 2u);
}

TEST_F(StageFileTest, SavingToBytesWritesWhatSavingToTheFileWrites) {
  ASSERT_TRUE(LoadStage(doc, kWindowsPlot, context));
  for (const bool utf8 : {false, true}) {
    std::string bytes;
    ASSERT_TRUE(SaveStageToBytes(doc, utf8, bytes));
    doc.FileName = dir.File("copy.dat");
    ASSERT_TRUE(SaveStage(doc, utf8));
    EXPECT_EQ(bytes, TempDir::Read(doc.FileName));
    TStageData again;
    ASSERT_TRUE(LoadStageFromBytes(again, bytes, context));
    EXPECT_EQ(StageFileLines(again), StageFileLines(doc));
  }
}

TEST_F(StageFileTest, AFileTooLargeIsRefusedWithoutReadingIt) {
  const std::string path = dir.Write("huge.dat", "[Option]\r\nTitle=huge\r\n");
  std::filesystem::resize_file(path, kMaxStageFileBytes + 1);  // sparse: nothing is written
  std::string error;
  doc.Title = "before";
  EXPECT_FALSE(LoadStage(doc, path, context, &error));
  EXPECT_NE(error.find("too large"), std::string::npos);
  EXPECT_EQ(doc.Title, "before");
  EXPECT_EQ(doc.FileName, "");
}

TEST_F(StageFileTest, APlotIsSavedUpToTheSizeTheReaderTakesAndNoFurther) {
  TLightCell* text = test::AddText(doc, -1, -1, "x");
  std::string bytes;
  ASSERT_TRUE(SaveStageToBytes(doc, true, bytes));
  // The text grown until the file is exactly as large as the reader takes.
  text->Text.resize(kMaxStageFileBytes - bytes.size() + 1, 'x');
  ASSERT_TRUE(SaveStageToBytes(doc, true, bytes));
  EXPECT_EQ(bytes.size(), kMaxStageFileBytes);
  TStageData again;
  ASSERT_TRUE(LoadStageFromBytes(again, bytes, context));
  EXPECT_EQ(again.Objects[0]->Text.size(), text->Text.size());

  // One byte more: refused before anything is written.
  const std::string path = dir.Write("plot.dat", "old content");
  doc.FileName = path;
  doc.Modified = true;
  text->Text += 'x';
  std::string error;
  EXPECT_FALSE(SaveStage(doc, true, &error));
  EXPECT_NE(error.find("not saved"), std::string::npos) << error;
  EXPECT_TRUE(doc.Modified);
  EXPECT_EQ(TempDir::Read(path), "old content");
}

TEST_F(StageFileTest, AFileThatCannotBeReadIsReportedAndForgotten) {
  // A regular file whose read fails for everyone, root included (EIO at offset 0).
  const std::string path = "/proc/self/mem";
  doc.Title = "before";
  std::string error;
  EXPECT_FALSE(LoadStage(doc, path, context, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(doc.FileName, "");  // so that no save can replace the file with an empty plot
  EXPECT_EQ(doc.Title, "before");
}

TEST_F(StageFileTest, AReadOnlyFileInhibitsEditing) {
  const std::string path = dir.Write("ro.dat", "[Option]\r\n");
  ASSERT_TRUE(LoadStage(doc, path, context));
  EXPECT_FALSE(doc.EditInhibit);
  ::chmod(path.c_str(), 0444);
  ASSERT_TRUE(LoadStage(doc, path, context));
  EXPECT_TRUE(doc.EditInhibit);
}

TEST_F(StageFileTest, AFailedSaveKeepsTheOldFileAndTheModifiedFlag) {
  const std::string path = dir.Write("keep.dat", "old content");
  doc.FileName = dir.File("missing/folder/plot.dat");
  doc.Modified = true;
  std::string error;
  EXPECT_FALSE(SaveStage(doc, false, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(doc.Modified);

  // A file that cannot be replaced (here a folder of that name) stays as it was.
  const std::string folder = dir.File("folder.dat");
  std::filesystem::create_directory(folder);
  std::filesystem::create_directory(folder + "/inside");
  doc.FileName = folder;
  EXPECT_FALSE(SaveStage(doc, false, &error));
  EXPECT_TRUE(std::filesystem::is_directory(folder + "/inside"));
  EXPECT_TRUE(doc.Modified);
  EXPECT_EQ(TempDir::Read(path), "old content");

  doc.FileName.clear();
  EXPECT_FALSE(SaveStage(doc, false, &error));
}

TEST_F(StageFileTest, TheBackgroundIsLoadedAfterReading) {
  class CountingLoader : public PictureLoader {
   public:
    std::unique_ptr<Picture> LoadPicture(const std::string& path, std::string*) override {
      asked = path;
      return nullptr;
    }
    std::string asked;
  } loader;
  dir.Write("bg.bmp", "BM");
  context.Pictures = &loader;
  context.ResolvePath = [&](std::string& path) {
    path = dir.File(path);
    return std::filesystem::exists(path);
  };
  ASSERT_TRUE(LoadText("[Option]\nBgImage=bg.bmp\n"));
  EXPECT_EQ(loader.asked, dir.File("bg.bmp"));
  EXPECT_EQ(doc.BgImage, "bg.bmp");
  EXPECT_EQ(doc.Background, nullptr);
}

TEST_F(StageFileTest, JunkLongLinesAndManySectionsNeitherCrashNorHang) {
  std::string junk;
  for (int i = 0; i < 200000; ++i) junk += static_cast<char>((i * 2654435761u) >> 24);
  EXPECT_TRUE(LoadStage(doc, dir.Write("junk.dat", junk), context));

  std::string many;
  for (int i = 0; i < 5000; ++i)
    many += "[LightData]\r\n1,2,3,4,5,LED,6,7\r\n[Option]\r\nTitle=x\r\n[Bad]\r\n";
  many += "[TextData]\r\n1,1," + std::string(1 << 20, 'x') + ",16,0,0\r\n" +
          std::string(1 << 20, ',') + "\r\n";
  ASSERT_TRUE(LoadStage(doc, dir.Write("many.dat", many), context));
  EXPECT_EQ(OfKind(KindLight).size(), 5000u);
  ASSERT_EQ(OfKind(KindText).size(), 1u);
  EXPECT_EQ(OfKind(KindText)[0]->Text.size(), 1u << 20);
}

}  // namespace
}  // namespace lumaplot
