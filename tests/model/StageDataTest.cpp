#include "model/StageData.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace lumaplot {
namespace {

using test::TempDir;

class FakePicture : public Picture {
 public:
  int Width() const override { return 64; }
  int Height() const override { return 32; }
};

class FakeLoader : public PictureLoader {
 public:
  std::unique_ptr<Picture> LoadPicture(const std::string& path, std::string* error) override {
    paths.push_back(path);
    if (path.ends_with(".png")) return std::make_unique<FakePicture>();
    if (error) *error = "not a picture";
    return nullptr;
  }
  std::vector<std::string> paths;
};

TEST(StageData, ANewDocumentHasTheDefaults) {
  const TStageData doc;
  EXPECT_EQ(doc.ScrWidth, 800);
  EXPECT_EQ(doc.ScrHeight, 600);
  EXPECT_EQ(doc.BgColor, 0x000000);
  EXPECT_EQ(doc.GridColor, 0xFF0000);
  EXPECT_EQ(doc.GridSize, 20);
  EXPECT_FALSE(doc.ShowGrid);
  EXPECT_EQ(doc.ValColor, 0xFFFFFF);
  EXPECT_EQ(doc.ValZeroColor, 0xFFFFFF);
  EXPECT_EQ(doc.ValFullColor, 0xFFFFFF);
  EXPECT_EQ(doc.ValBgColor, 0);
  EXPECT_EQ(doc.ChColor, 0xFFFFFF);
  EXPECT_EQ(doc.ModColor, 0x008000);
  EXPECT_EQ(doc.ModChN, 0);
  EXPECT_EQ(doc.ValFont.Size, 9);
  EXPECT_FALSE(doc.ValFont.Name.empty());
  EXPECT_TRUE(doc.Objects.empty());
  EXPECT_FALSE(doc.Modified);
  EXPECT_EQ(doc.Template.Kind, KindLight);
  for (uint8_t level : doc.ShownLevels) ASSERT_EQ(level, 0);
  EXPECT_EQ(doc.StageLevels1.size(), 4096u);
}

TEST(StageData, MaxOrderPerKind) {
  TStageData doc;
  EXPECT_EQ(doc.MaxOrder(KindShape), -1);
  for (int32_t order : {4, 9, 2}) {
    TLightCell* shape = NewCell();
    shape->Kind = KindShape;
    shape->Order = order;
    doc.AddObject(shape);
  }
  doc.AddObject(NewCell());
  EXPECT_EQ(doc.MaxOrder(KindShape), 9);
  EXPECT_EQ(doc.MaxOrder(KindLight), 0);
  EXPECT_EQ(doc.MaxOrder(KindText), -1);
  EXPECT_EQ(doc.Objects.front()->Order, 2);
  EXPECT_EQ(doc.Objects.back()->Kind, KindLight);
}

TEST(StageData, RemovingAnObjectKeepsTheSelectionConsistent) {
  TStageData doc;
  TLightCell* a = NewCell();
  TLightCell* b = NewCell();
  doc.AddObject(a);
  doc.AddObject(b);
  a->Selected = b->Selected = true;
  doc.Selection = {a, b};
  doc.Primary = a;

  EXPECT_EQ(doc.RemoveObject(a), a);
  EXPECT_FALSE(a->Selected);
  EXPECT_EQ(doc.Selection, TLightList{b});
  EXPECT_EQ(doc.Primary, nullptr);
  EXPECT_EQ(doc.RemoveObject(a), nullptr);
  FreeCell(a);

  doc.DeleteObject(b);
  EXPECT_TRUE(doc.Objects.empty());
  EXPECT_TRUE(doc.Selection.empty());
}

TEST(StageData, DestroyingFreesEverySelectedAndUnselectedObject) {
  // The sanitizer build reports a leak or a double free here.
  TStageData doc;
  for (int i = 0; i < 3; ++i) doc.AddObject(NewCell());
  doc.Objects[1]->Selected = true;
  doc.Selection.push_back(doc.Objects[1]);
  doc.Primary = doc.Objects[2];
}

TEST(StageData, AddedObjectsGetTheDocumentCanvas) {
  TStageData doc;
  auto* canvas = reinterpret_cast<Canvas*>(&doc);  // only compared, never used
  doc.Canvas = canvas;
  TLightCell* cell = NewCell();
  doc.AddObject(cell);
  EXPECT_EQ(cell->Canvas, canvas);
}

TEST(StageData, LoadBackground) {
  TempDir dir;
  dir.Write("stage.png", "png");
  dir.Write("broken.bmp", "bmp");
  FakeLoader loader;
  const TPathResolver resolve = [&](std::string& path) {
    if (!path.starts_with("/")) path = dir.File(path);
    return std::filesystem::exists(path);
  };
  TStageData doc;

  EXPECT_FALSE(doc.LoadBackground(&loader, resolve));  // empty name
  EXPECT_TRUE(loader.paths.empty());

  doc.BgImage = "stage.png";
  EXPECT_TRUE(doc.LoadBackground(&loader, resolve));
  ASSERT_NE(doc.Background, nullptr);
  EXPECT_EQ(doc.Background->Width(), 64);
  EXPECT_EQ(loader.paths.back(), dir.File("stage.png"));
  EXPECT_EQ(doc.BgImage, "stage.png");

  doc.BgImage = "broken.bmp";
  std::string error;
  EXPECT_FALSE(doc.LoadBackground(&loader, resolve, &error));
  EXPECT_EQ(doc.Background, nullptr);
  EXPECT_EQ(error, "not a picture");

  doc.BgImage = "missing.png";
  EXPECT_FALSE(doc.LoadBackground(&loader, resolve));
  EXPECT_EQ(loader.paths.size(), 2u);
  EXPECT_EQ(doc.BgImage, "missing.png");
}

}  // namespace
}  // namespace lumaplot
