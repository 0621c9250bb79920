// The four object property dialogs shown from the main window: driven through their
// controls and OK or Cancel, alone and for several objects at once, where only what
// the user touched is written.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <vector>

#include <gtest/gtest.h>

#include "model/Selection.h"
#include "support/EditingForm.h"
#include "ui/dialogs/LightPrpDlg.h"
#include "ui/dialogs/LinePrpDlg.h"
#include "ui/dialogs/ShapePrpDlg.h"
#include "ui/dialogs/TextPrpDlg.h"
#include "ui/main/commands/PropertyCommands.h"
#include "ui/qt/NumberEdit.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

using test::AddCell;
using test::AddLight;
using test::AddLine;
using test::AddText;

class PropertyDialogsTest : public test::EditingForm {
 protected:
  void SetUp() override {
    EditingForm::SetUp();
    Start();
  }

  const TLibItem& Type(const char* name) {
    const TLightLib& library = core->Library();
    return library.Items[library.IndexOfName(name)];
  }
  TLightCell* Light(const char* type, int x, int y, int startCh = kNotPatched) {
    return AddLight(Doc(), Type(type), x, y, startCh);
  }
  bool Open(int32_t kind, int x, int y) {
    return ShowObjectProperties(form->Context(), kind, x, y);
  }

  template <class Control>
  static Control* Find(QWidget& dialog, const char* name) {
    auto* control = dialog.findChild<Control*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  static void Ok(QWidget& dialog) { Find<QPushButton>(dialog, "OKBtn")->click(); }
  // The user picks `text` in `combo`.
  static void Choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  static QColor Background(QWidget* field) { return field->palette().color(QPalette::Base); }
};

const QColor kSilver(0xC0, 0xC0, 0xC0);

TEST_F(PropertyDialogsTest, LightChannelEntries) {
  const struct {
    const char* text;
    int channel;  // -2: refused, the dialog stays open
  } cases[] = {
      {"h512", 4095}, {"H512", 4095}, {"A001", 0},  {" b010 ", 521}, {"4096", 4095},
      {"1", 0},       {"", -1},       {"I001", -2}, {"A000", -2},    {"A513", -2},
      {"0", -2},      {"all", -2},    {"ALL", -2},
  };
  TLightCell* light = Light("PAR", 100, 100, 7);
  SetSelected(Doc(), light, true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    light->StartCh = 7;
    warnings.clear();
    bool stayedOpen = false;
    WhenShown<TLightPrpDlg>([&](TLightPrpDlg& dialog) {
      auto* channel = Find<QLineEdit>(dialog, "ChEdit");
      EXPECT_EQ(channel->text(), "A008");
      channel->setText(c.text);
      Ok(dialog);
      stayedOpen = dialog.isVisible();
    });
    const bool accepted = Open(KindLight, 0, 0);
    EXPECT_TRUE(shown);
    if (c.channel == -2) {
      EXPECT_TRUE(stayedOpen);
      EXPECT_FALSE(accepted);
      EXPECT_EQ(light->StartCh, 7);
      EXPECT_EQ(
          warnings,
          QStringList({QString("警告:入力したチャンネル[%1]は範囲を超えています").arg(c.text)}));
    } else {
      EXPECT_TRUE(accepted);
      EXPECT_EQ(light->StartCh, c.channel);
      EXPECT_TRUE(warnings.isEmpty());
    }
  }
}

TEST_F(PropertyDialogsTest, ATypeWithoutChannelsUnpatches) {
  TLightCell* light = Light("PAR", 100, 100, 7);
  WhenShown<TLightPrpDlg>([&](TLightPrpDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "プロパティ [105,106]");
    auto* types = Find<QComboBox>(dialog, "LightCombo");
    // The library's order, not sorted.
    EXPECT_EQ(types->itemText(0), "PAR");
    EXPECT_EQ(types->itemText(2), "Dark");
    EXPECT_EQ(types->currentText(), "PAR");
    Choose(types, "Dark");
    auto* channel = Find<QLineEdit>(dialog, "ChEdit");
    EXPECT_TRUE(channel->text().isEmpty());
    EXPECT_FALSE(channel->isEnabled());
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindLight, 105, 106));  // the light under the point, not selected
  EXPECT_EQ(light->StartCh, -1);
  EXPECT_EQ(light->Fixture.Name, "Dark");
  EXPECT_EQ((std::pair(light->Width, light->Height)), (std::pair(40, 10)));
  EXPECT_TRUE(Doc().Modified);
}

TEST_F(PropertyDialogsTest, AngleFilterAndFlagsOfOneLight) {
  TLightCell* light = Light("Scan", 100, 100, 0);
  light->Flags = kFlagShowChannel;
  light->FilterColor = 0x00FF00;
  SetSelected(Doc(), light, true);
  colors = {0x0000FF};
  WhenShown<TLightPrpDlg>([&](TLightPrpDlg& dialog) {
    auto* angle = Find<NumberEdit>(dialog, "AngleEdit");
    EXPECT_EQ(angle->Text(), "0");
    angle->Edit()->setText("90");
    Find<QToolButton>(dialog, "RefFilterBtn")->click();
    EXPECT_EQ(dialog.FilterColor(), 0x0000FF);
    auto* outline = Find<QCheckBox>(dialog, "FrmFilChkBox");
    EXPECT_FALSE(outline->isTristate());
    EXPECT_FALSE(outline->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(dialog, "DmxChChkBox")->isChecked());
    outline->click();
    Find<QCheckBox>(dialog, "DmxChChkBox")->click();
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindLight, 0, 0));
  EXPECT_EQ(colorAskedWith, (std::vector<int32_t>{0x00FF00}));
  EXPECT_EQ(light->Angle, 90);
  EXPECT_EQ(light->FilterColor, 0x0000FF);
  EXPECT_EQ(light->Flags, static_cast<uint32_t>(kFlagOutlineFilter));

  // An angle out of range is not taken; black takes the filter away.
  colors = {0x000000};
  WhenShown<TLightPrpDlg>([&](TLightPrpDlg& dialog) {
    Find<NumberEdit>(dialog, "AngleEdit")->Edit()->setText("400");
    EXPECT_FALSE(Find<NumberEdit>(dialog, "AngleEdit")->UpDownTextValid());
    Find<QToolButton>(dialog, "RefFilterBtn")->click();
    EXPECT_EQ(dialog.FilterColor(), kNoColor);
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindLight, 0, 0));
  EXPECT_EQ(light->Angle, 90);
  EXPECT_EQ(light->FilterColor, kNoColor);
}

TEST_F(PropertyDialogsTest, ThePreviewIsDrawnLikeThePage) {
  TLightCell* light = Light("PAR", 100, 100, 0);
  light->FilterColor = 0x0000FF;  // red
  QImage plain, outlined;
  WhenShown<TLightPrpDlg>([&](TLightPrpDlg& dialog) {
    QWidget* box = Find<QWidget>(dialog, "LtPaintBox");
    box->grab();  // paints it
    plain = dialog.PreviewImage();
    Find<QCheckBox>(dialog, "FrmFilChkBox")->click();
    box->grab();  // paints it
    outlined = dialog.PreviewImage();
  });
  Open(KindLight, 105, 105);
  ASSERT_EQ(plain.size(), QSize(180, 120));
  // A 20 x 20 circle centred at (90, 60), black inside (no levels): its outline in
  // the type's frame colour, then in the filter colour, on the page's background.
  const auto outlineAt = [](const QImage& image, int y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) != QColor(Qt::black)) return std::pair(x, image.pixelColor(x, y));
    }
    return std::pair(-1, QColor());
  };
  EXPECT_EQ(outlineAt(plain, 60), std::pair(80, QColor(0xC0, 0xC0, 0xC0)));
  EXPECT_EQ(outlineAt(outlined, 60), std::pair(80, QColor(0xFF, 0x00, 0x00)));
  EXPECT_EQ(outlineAt(plain, 40).first, -1);
  EXPECT_EQ(light->Flags, 0u) << "cancelled";
}

TEST_F(PropertyDialogsTest, SeveralLightsTakeOnlyWhatWasTouched) {
  std::vector<TLightCell*> lights = {Light("PAR", 100, 100, 0), Light("PAR", 200, 100, 4),
                                     Light("Scan", 300, 100, 8)};
  lights[0]->Flags = kFlagOutlineFilter;
  lights[1]->Flags = kFlagShowChannel;
  lights[0]->Angle = 10;
  lights[1]->Angle = 20;
  // A first showing for one light leaves its channel in the field.
  WhenShown<TLightPrpDlg>([](TLightPrpDlg& dialog) { dialog.reject(); });
  Open(KindLight, 205, 105);
  for (TLightCell* light : lights) SetSelected(Doc(), light, true);

  WhenShown<TLightPrpDlg>([&](TLightPrpDlg& dialog) {
    EXPECT_TRUE(dialog.Multi());
    EXPECT_EQ(Find<QLineEdit>(dialog, "ChEdit")->text(), "A005");
    for (const char* name : {"LightCombo", "ChEdit", "AngleEdit"}) {
      EXPECT_EQ(Background(Find<QWidget>(dialog, name)), kSilver) << name;
    }
    for (const char* name : {"FrmFilChkBox", "DimValChkBox", "DmxChChkBox"}) {
      EXPECT_EQ(Find<QCheckBox>(dialog, name)->checkState(), Qt::PartiallyChecked) << name;
    }
    Find<QCheckBox>(dialog, "DimValChkBox")->click();
    EXPECT_EQ(Find<QCheckBox>(dialog, "DimValChkBox")->checkState(), Qt::Checked);
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindLight, 5, 5));
  EXPECT_EQ(lights[0]->Flags, kFlagOutlineFilter | kFlagShowLevel);
  EXPECT_EQ(lights[1]->Flags, kFlagShowChannel | kFlagShowLevel);
  EXPECT_EQ(lights[2]->Flags, static_cast<uint32_t>(kFlagShowLevel));
  EXPECT_EQ(lights[1]->StartCh, 4);
  EXPECT_EQ(lights[2]->StartCh, 8);
  EXPECT_EQ(lights[0]->Angle, 10);
  EXPECT_EQ(lights[2]->Fixture.Name, "Scan");

  WhenShown<TLightPrpDlg>([&](TLightPrpDlg& dialog) {
    auto* angle = Find<NumberEdit>(dialog, "AngleEdit");
    EXPECT_EQ(angle->Text(), "0");  // the angles differ
    angle->Edit()->setText("45");
    EXPECT_NE(Background(angle), kSilver);
    EXPECT_EQ(Background(Find<QWidget>(dialog, "ChEdit")), kSilver);
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindLight, 5, 5));
  for (TLightCell* light : lights) EXPECT_EQ(light->Angle, 45);
  EXPECT_EQ(lights[1]->StartCh, 4);

  WhenShown<TLightPrpDlg>([&](TLightPrpDlg& dialog) {
    Choose(Find<QComboBox>(dialog, "LightCombo"), "Scan");
    Find<QLineEdit>(dialog, "ChEdit")->setText("B001");
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindLight, 5, 5));
  for (TLightCell* light : lights) {
    EXPECT_EQ(light->Fixture.Name, "Scan");
    EXPECT_EQ(light->Width, 30);
    EXPECT_EQ(light->StartCh, 512);
  }
}

TEST_F(PropertyDialogsTest, TheLightDialogNeedsALight) {
  AddText(Doc(), 100, 100, "no light here");
  WhenShown<TLightPrpDlg>([](TLightPrpDlg&) {});
  EXPECT_FALSE(Open(KindLight, 105, 105));
  QApplication::processEvents();
  EXPECT_FALSE(shown);
  EXPECT_FALSE(Doc().Modified);
}

TEST_F(PropertyDialogsTest, ALightKeepsATypeTheLibraryLacks) {
  TLibItem own = Type("Scan");
  own.Name = "Gone";
  own.Width = 33;
  TLightCell* light = AddLight(Doc(), own, 100, 100, 3);
  WhenShown<TLightPrpDlg>([](TLightPrpDlg& dialog) {
    EXPECT_EQ(Find<QComboBox>(dialog, "LightCombo")->currentIndex(), -1);
    EXPECT_EQ(dialog.WorkingType().Name, "Gone");
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindLight, 105, 105));
  EXPECT_EQ(light->Fixture, own);
  EXPECT_EQ(light->Width, 33);
}

TEST_F(PropertyDialogsTest, LinesOneAndSeveral) {
  TLightCell* line = AddLine(Doc(), 10, 10, 100, 10, 2);
  colors = {0x00FF00};
  WhenShown<TLinePrpDlg>([](TLinePrpDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "ラインのプロパティ");
    EXPECT_EQ(Find<NumberEdit>(dialog, "SizeEdit")->Text(), "2");
    EXPECT_EQ(Find<QLineEdit>(dialog, "PosEdit3")->text(), "100");
    Find<NumberEdit>(dialog, "SizeEdit")->Edit()->setText("5");
    Find<QLineEdit>(dialog, "PosEdit2")->setText("20");
    Find<QLineEdit>(dialog, "PosEdit4")->clear();  // not a number: the end stays
    Find<QToolButton>(dialog, "RefColBtn")->click();
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindLine, 50, 10));
  EXPECT_EQ((std::vector<int>{line->X1, line->Y1, line->X2, line->Y2, line->Size}),
            (std::vector<int>{10, 20, 100, 10, 5}));
  EXPECT_EQ(line->Color, 0x00FF00);
  EXPECT_EQ(core->Env().LineColor, 0x00FF00);
  EXPECT_EQ(core->Env().LineSize, 5);

  TLightCell* other = AddLine(Doc(), 10, 300, 100, 300, 3);
  SetSelected(Doc(), line, true);
  SetSelected(Doc(), other, true);
  colors = {0xFF0000};
  WhenShown<TLinePrpDlg>([](TLinePrpDlg& dialog) {
    EXPECT_TRUE(Find<NumberEdit>(dialog, "SizeEdit")->Text().isEmpty());
    EXPECT_FALSE(Find<QLineEdit>(dialog, "PosEdit1")->isEnabled());
    EXPECT_EQ(Background(Find<QWidget>(dialog, "PosEdit1")), kSilver);
    Find<QToolButton>(dialog, "RefColBtn")->click();
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindLine, 0, 0));
  EXPECT_EQ(line->Color, 0xFF0000);
  EXPECT_EQ(other->Color, 0xFF0000);
  EXPECT_EQ(line->Size, 5);
  EXPECT_EQ(other->Size, 3);
  EXPECT_EQ(other->Y1, 300);
}

TEST_F(PropertyDialogsTest, ShapesNewAndSeveral) {
  core->Env().ShapeColor2 = 0x00FFFF;
  colors = {0x123456};
  WhenShown<TShapePrpDlg>([](TShapePrpDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "図形の新規追加");
    EXPECT_EQ(Find<QLineEdit>(dialog, "WdEdit")->text(), "100");
    Choose(Find<QComboBox>(dialog, "ShpComboBox"), "楕円");
    Find<QLineEdit>(dialog, "WdEdit")->setText("50");
    Find<QLineEdit>(dialog, "HiEdit")->clear();  // falls back to the remembered height
    Find<NumberEdit>(dialog, "LwEdit")->Edit()->setText("4");
    Find<QToolButton>(dialog, "RefColBtn1")->click();
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindShape, 40, 60));
  ASSERT_EQ(Doc().Objects.size(), 1u);
  TLightCell* shape = Doc().Objects[0];
  EXPECT_EQ((std::vector<int>{shape->ShapeType, shape->X1, shape->Y1, shape->X2, shape->Y2,
                              shape->Size, shape->Size2}),
            (std::vector<int>{kShapeEllipse, 40, 60, 90, 160, 4, 8}));
  EXPECT_EQ(shape->Color, 0x123456);
  EXPECT_EQ(shape->Color2, 0x00FFFF);
  const TEnvData& env = core->Env();
  EXPECT_EQ((std::vector<int>{env.ShapeType, env.ShapeWidth, env.ShapeHeight, env.ShapeSize}),
            (std::vector<int>{kShapeEllipse, 50, 100, 4}));
  EXPECT_EQ(env.ShapeColor, 0x123456);

  TLightCell* other = AddCell(Doc(), KindShape, 300, 300, 320, 330);
  SetSelected(Doc(), shape, true);
  SetSelected(Doc(), other, true);
  WhenShown<TShapePrpDlg>([](TShapePrpDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "図形のプロパティ");
    EXPECT_FALSE(Find<QComboBox>(dialog, "ShpComboBox")->isEnabled());
    const QColor face = QPalette().color(QPalette::Button);
    EXPECT_EQ(Background(Find<QWidget>(dialog, "WdEdit")), face);
    Find<QLineEdit>(dialog, "HiEdit")->setText("70");
    EXPECT_EQ(Background(Find<QWidget>(dialog, "WdEdit")), face);
    EXPECT_NE(Background(Find<QWidget>(dialog, "HiEdit")), face);
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindShape, 0, 0));
  EXPECT_EQ((std::vector<int>{shape->X2, shape->Y2, other->X2, other->Y2}),
            (std::vector<int>{90, 130, 320, 370}));
  EXPECT_EQ(other->ShapeType, kShapeRectangle);
  EXPECT_EQ(other->Color, 0);
}

TEST_F(PropertyDialogsTest, TextsNewAndSeveral) {
  WhenShown<TTextPrpDlg>([](TTextPrpDlg& dialog) {
    auto* ok = Find<QPushButton>(dialog, "OKBtn");
    EXPECT_FALSE(ok->isEnabled()) << "no text yet";
    QTest::keyClicks(Find<QLineEdit>(dialog, "TextEdit"), "FOH");
    EXPECT_TRUE(ok->isEnabled());
    Find<QCheckBox>(dialog, "BoldCheckBox")->click();
    Find<NumberEdit>(dialog, "SizeEdit")->Edit()->setText("24");
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindText, 30, 40));
  ASSERT_EQ(Doc().Objects.size(), 1u);
  TLightCell* text = Doc().Objects[0];
  EXPECT_EQ(text->Text, "FOH");
  EXPECT_EQ(text->Size, 24);
  EXPECT_EQ(text->Flags, static_cast<uint32_t>(kFlagBold));
  EXPECT_EQ(core->Env().TextSize, 24);
  EXPECT_EQ(core->Env().TextStyle, static_cast<int32_t>(kFlagBold));

  TLightCell* other = AddText(Doc(), 300, 300, "USR");
  other->Flags = kFlagItalic;
  SetSelected(Doc(), text, true);
  SetSelected(Doc(), other, true);
  WhenShown<TTextPrpDlg>([](TTextPrpDlg& dialog) {
    auto* edit = Find<QLineEdit>(dialog, "TextEdit");
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(edit->text(), " *******");
    EXPECT_EQ(Find<NumberEdit>(dialog, "SizeEdit")->Text(), "5");  // the sizes differ
    EXPECT_EQ(Find<QCheckBox>(dialog, "ItlcCheckBox")->checkState(), Qt::PartiallyChecked);
    Find<QCheckBox>(dialog, "BoldCheckBox")->click();  // grayed to checked
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindText, 0, 0));
  EXPECT_EQ(text->Flags, static_cast<uint32_t>(kFlagBold));
  EXPECT_EQ(other->Flags, kFlagBold | kFlagItalic);
  EXPECT_EQ(other->Text, "USR");
  EXPECT_EQ(other->Size, 16);
  EXPECT_EQ(text->Size, 24);
}

TEST_F(PropertyDialogsTest, EachDialogKeepsItsPlace) {
  TLightCell* line = AddLine(Doc(), 10, 10, 100, 10);
  SetSelected(Doc(), line, true);
  WhenShown<TLinePrpDlg>([](TLinePrpDlg& dialog) {
    dialog.move(123, 145);
    Ok(dialog);
  });
  EXPECT_TRUE(Open(KindLine, 0, 0));
  const IniFile& ini = core->Ini();
  EXPECT_EQ(ini.ReadInteger("General", "LinePrpDlgLeft", -1), 123);
  EXPECT_EQ(ini.ReadInteger("General", "LinePrpDlgTop", -1), 145);
  EXPECT_FALSE(ini.KeyExists("General", "LtPrpDlgLeft"));
  QPoint shownAt;
  WhenShown<TLinePrpDlg>([&shownAt](TLinePrpDlg& dialog) { shownAt = dialog.pos(); });
  Open(KindLine, 0, 0);
  EXPECT_EQ(shownAt, QPoint(123, 145));
}

TEST_F(PropertyDialogsTest, ADoubleClickOpensTheDialogOfTheObjectUnderThePointer) {
  TLightCell* light = Light("PAR", 100, 100, 0);
  WhenShown<TLightPrpDlg>([](TLightPrpDlg& dialog) {
    Find<NumberEdit>(dialog, "AngleEdit")->Edit()->setText("30");
    Ok(dialog);
  });
  DoubleClick(105, 105);
  EXPECT_TRUE(shown);
  EXPECT_EQ(light->Angle, 30);
  EXPECT_TRUE(Doc().Modified);
  // The press of the second click armed no move.
  EXPECT_FALSE(form->Edit().MoveArmed);
  Move(150, 150);
  EXPECT_EQ(light->X1, 100);
}

}  // namespace
}  // namespace lumaplot
