// The screen settings dialog in the running program, opened by its command for the
// current plot: every field through the controls, OK and the stage file; the page
// size bounds; background pictures that load, fit the page and cannot be read; a
// page made smaller than its objects.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

#include "model/StageFile.h"
#include "support/LoopbackCore.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/dialogs/OptScrDlg.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/PageView.h"
#include "ui/qt/NumberEdit.h"
#include "ui/qt/QtPictureLoader.h"

namespace lumaplot {
namespace {

template <class T>
T* Find(const QWidget& dialog, const char* name) {
  T* widget = dialog.findChild<T*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

void Type(TOptScrDlg& dialog, const char* field, const QString& text) {
  Find<NumberEdit>(dialog, field)->Edit()->setText(text);
}

class OptScrDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  void TearDown() override {
    if (form) form->hide();
    form.reset();
    core.reset();
  }

  TMainFormSetup FormSetup() {
    TMainFormSetup setup;
    setup.Prompts.YesNoCancel = [](const QString&, const QString&) { return QMessageBox::No; };
    setup.Prompts.Warning = [this](const QString& text, const QString&) { warnings << text; };
    setup.Prompts.Error = [this](const QString& text, const QString& caption) {
      if (caption != "ArtNet初期化エラー") errors << text;
    };
    setup.Prompts.Info = [](const QString&, const QString&) {};
    setup.Prompts.OpenFileName = [this](const TFileDialogRequest& request) {
      fileRequests.push_back(request);
      return nextFile;
    };
    setup.Prompts.SaveFileName = [](const TFileDialogRequest&) { return QString(); };
    setup.Prompts.Beep = [] {};
    setup.AskMissingType = [](const std::string& name) { return name; };
    return setup;
  }

  // Starts the program with the plot `path` open and current.
  TLumaplotForm& Start(const std::string& path) {
    dir.Write("lumaplot.INI", "[General]\r\nLastFile1=" + path + "\r\n");
    TCoreSetup setup = test::LoopbackCoreSetup(dir.Path());
    setup.Pictures = std::make_shared<CheckedPictureLoader>(decoder);
    core = std::make_unique<TAppCore>(std::move(setup));
    form = std::make_unique<TLumaplotForm>(*core, FormSetup());
    form->show();
    QApplication::processEvents();
    EXPECT_NE(core->CurrentDoc(), nullptr);
    return *form;
  }

  // A plot with one light at (x, y), and whatever `fill` adds, saved as `name`.
  std::string WritePlot(const std::string& name, int x = 20, int y = 20,
                        const std::function<void(TStageData&)>& fill = {}) {
    TStageData doc;
    TLightCell* light = NewCell();
    light->X1 = x;
    light->Y1 = y;
    doc.AddObject(light);
    if (fill) fill(doc);
    doc.FileName = dir.File(name);
    EXPECT_TRUE(SaveStage(doc, true));
    return doc.FileName;
  }

  std::string WritePicture(const std::string& name, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    const std::string path = dir.File(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path)));
    return path;
  }

  // Opens the dialog by its command and runs `body` while it is shown; a dialog the
  // body leaves open is cancelled.
  void WithScreen(const std::function<void(TOptScrDlg&)>& body) {
    bool ran = false;
    QTimer::singleShot(0, form.get(), [&] {
      TOptScrDlg* dialog = form->Dialogs().Find<TOptScrDlg>();
      ASSERT_NE(dialog, nullptr);
      ASSERT_TRUE(dialog->isVisible());
      ran = true;
      body(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
    form->Action(TActionId::OptScreen)->trigger();
    EXPECT_TRUE(ran);
  }

  static void Ok(TOptScrDlg& dialog) { Find<QPushButton>(dialog, "OKBtn")->click(); }

  test::TempDir dir;
  QtPictureLoader decoder;
  std::unique_ptr<TAppCore> core;
  std::unique_ptr<TLumaplotForm> form;
  QStringList warnings;
  QStringList errors;
  std::vector<TFileDialogRequest> fileRequests;
  QString nextFile;
};

TEST_F(OptScrDlgTest, IsOnlyForAnOpenPlot) {
  core = std::make_unique<TAppCore>(test::LoopbackCoreSetup(dir.Path()));
  form = std::make_unique<TLumaplotForm>(*core, FormSetup());
  form->show();
  QApplication::processEvents();
  EXPECT_TRUE(form->Action(TActionId::OptSetup)->isEnabled());
  EXPECT_FALSE(form->Action(TActionId::OptScreen)->isEnabled());
}

// Every field through its control, OK, saving and reading the plot again.
TEST_F(OptScrDlgTest, EveryFieldRoundTripsThroughTheStageFile) {
  const std::string plot = WritePlot("plot.dat", 20, 20, [](TStageData& doc) {
    doc.ModChN = 1;  // shown as "---", written back as 0
  });
  Start(plot);
  TStageData& doc = *core->CurrentDoc();
  WithScreen([](TOptScrDlg& dialog) {
    EXPECT_EQ(Find<QComboBox>(dialog, "ModComboBox")->currentText(), "---");
    std::vector<int32_t> colours = {0x010101, 0x020202, 0x030303, 0x040404,
                                    0x050505, 0x060606, 0x070707, 0x080808};
    size_t next = 0;
    dialog.ChooseColor = [&](int32_t) { return std::optional<int32_t>(colours[next++]); };
    for (const char* panel : {"BgColPanel", "GrdColPanel", "ValColPanel", "VbgColPanel",
                              "VzeroColPanel", "VfullColPanel", "ChColPanel", "ModColPanel"}) {
      Find<TColorButton>(dialog, panel)->click();
    }
    EXPECT_EQ(next, colours.size());
    dialog.ChooseFont = [](const FontSpec& initial) {
      FontSpec font = initial;
      font.Name = "DejaVu Sans";
      font.Size += 3;
      return std::optional<FontSpec>(font);
    };
    Find<QPushButton>(dialog, "ValFontBtn")->click();
    dialog.ChooseFont = [](const FontSpec&) { return std::optional<FontSpec>(); };  // cancelled
    Find<QPushButton>(dialog, "ChFontBtn")->click();
    Find<QLineEdit>(dialog, "DataNameEdit")->setText("本公演 1幕");
    Type(dialog, "ScrWdEdit", "1024");
    Type(dialog, "ScrHiEdit", "30000");
    Find<QCheckBox>(dialog, "GridCheckBox")->setChecked(true);
    Find<QComboBox>(dialog, "GridStyleComboBox")->setCurrentIndex(3);
    Type(dialog, "GridEdit", "5");
    Find<QComboBox>(dialog, "ModComboBox")->setCurrentText("12");
    Ok(dialog);
  });
  EXPECT_TRUE(doc.Modified);
  EXPECT_EQ(form->ScrollBox()->PageSize(), QSize(1024, TPageView::kMaxSurfaceSide));
  ASSERT_TRUE(SaveStage(doc, true));

  TStageData read;
  TStageReadContext context;
  context.Library = &core->Library();
  ASSERT_TRUE(LoadStage(read, plot, context));
  EXPECT_EQ(read.Title, "本公演 1幕");
  EXPECT_EQ(read.ScrWidth, 1024);
  EXPECT_EQ(read.ScrHeight, 30000);
  EXPECT_TRUE(read.ShowGrid);
  EXPECT_EQ(read.GridStyle, 3);
  EXPECT_EQ(read.GridSize, 5);
  EXPECT_EQ(read.BgColor, 0x010101);
  EXPECT_EQ(read.GridColor, 0x020202);
  EXPECT_EQ(read.ValColor, 0x030303);
  EXPECT_EQ(read.ValBgColor, 0x040404);
  EXPECT_EQ(read.ValZeroColor, 0x050505);
  EXPECT_EQ(read.ValFullColor, 0x060606);
  EXPECT_EQ(read.ChColor, 0x070707);
  EXPECT_EQ(read.ModColor, 0x080808);
  EXPECT_EQ(read.ModChN, 12);
  EXPECT_EQ(read.ValFont.Name, "DejaVu Sans");
  EXPECT_EQ(read.ValFont.Size, 12);
  EXPECT_EQ(read.ChFont.Name, kDefaultStageFontName);
  EXPECT_EQ(read.ChFont.Size, 9);

  // "---" is written back as 0.
  WithScreen([](TOptScrDlg& dialog) {
    Find<QComboBox>(dialog, "ModComboBox")->setCurrentIndex(0);
    Ok(dialog);
  });
  EXPECT_EQ(doc.ModChN, 0);
}

// Number fields outside their ranges turn red and leave the document's value.
TEST_F(OptScrDlgTest, PageAndGridSizesKeepToTheirBounds) {
  Start(WritePlot("plot.dat"));
  TStageData& doc = *core->CurrentDoc();
  const struct {
    const char* width;
    const char* height;
    const char* grid;
    int wantWidth;
    int wantHeight;
    int wantGrid;
  } cases[] = {
      {"100", "30000", "4", 100, 30000, 4},
      {"99", "30001", "3", 100, 30000, 4},  // each out of range: unchanged
      {"12345", "abc", "999", 12345, 30000, 999},
      {"", "0", "x", 12345, 30000, 999},
  };
  for (const auto& c : cases) {
    WithScreen([&](TOptScrDlg& dialog) {
      Type(dialog, "ScrWdEdit", c.width);
      Type(dialog, "ScrHiEdit", c.height);
      Type(dialog, "GridEdit", c.grid);
      const bool red = !Find<NumberEdit>(dialog, "ScrWdEdit")->UpDownTextValid();
      EXPECT_EQ(Find<NumberEdit>(dialog, "ScrWdEdit")->Edit()->palette().color(QPalette::Text) ==
                    QColor(Qt::red),
                red)
          << c.width;
      Ok(dialog);
    });
    EXPECT_EQ(doc.ScrWidth, c.wantWidth) << c.width;
    EXPECT_EQ(doc.ScrHeight, c.wantHeight) << c.height;
    EXPECT_EQ(doc.GridSize, c.wantGrid) << c.grid;
  }
}

TEST_F(OptScrDlgTest, APictureIsChosenRelativeToTheProgramAndFitsThePage) {
  WritePicture("small.png", 40, 30);
  WritePicture("wide.png", 1200, 700);
  Start(WritePlot("plot.dat"));
  TStageData& doc = *core->CurrentDoc();
  WithScreen([this](TOptScrDlg& dialog) {
    QPushButton* fit = Find<QPushButton>(dialog, "FitScrSizeBtn");
    EXPECT_FALSE(fit->isEnabled());  // no picture named
    nextFile = QString::fromStdString(dir.File("small.png"));
    Find<QPushButton>(dialog, "BgImgBtn")->click();
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_EQ(fileRequests[0].Title, "背景画像の指定");
    EXPECT_TRUE(fileRequests[0].Filter.contains("*.PNG"));
    EXPECT_EQ(Find<QLineEdit>(dialog, "BgImgEdit")->text(), "small.png");
    EXPECT_TRUE(fit->isEnabled());
    fit->click();  // 40 x 30 becomes the smallest page
    EXPECT_EQ(Find<NumberEdit>(dialog, "ScrWdEdit")->Text(), "100");
    EXPECT_EQ(Find<NumberEdit>(dialog, "ScrHiEdit")->Text(), "100");
    Find<QLineEdit>(dialog, "BgImgEdit")->setText("wide.png");
    fit->click();
    EXPECT_EQ(Find<NumberEdit>(dialog, "ScrWdEdit")->Text(), "1200");
    Find<QLineEdit>(dialog, "BgImgEdit")->setText("missing.png");
    EXPECT_FALSE(fit->isEnabled());
    Find<QLineEdit>(dialog, "BgImgEdit")->setText("wide.png");
    Ok(dialog);
  });
  EXPECT_EQ(doc.BgImage, "wide.png");
  ASSERT_NE(doc.Background, nullptr);
  EXPECT_EQ(doc.Background->Width(), 1200);
  EXPECT_EQ(doc.ScrWidth, 1200);
  EXPECT_TRUE(errors.isEmpty());

  // Emptied, the document shows no picture.
  WithScreen([](TOptScrDlg& dialog) {
    Find<QLineEdit>(dialog, "BgImgEdit")->clear();
    Ok(dialog);
  });
  EXPECT_EQ(doc.BgImage, "");
  EXPECT_EQ(doc.Background, nullptr);
}

// A picture that cannot be read changes nothing: the user hears of it and the
// dialog stays open to correct it or cancel.
TEST_F(OptScrDlgTest, APictureThatCannotBeReadChangesNothing) {
  WritePicture("old.png", 300, 200);
  dir.Write("notapicture.png", "this is text, not a picture");
  const std::string plot = WritePlot("plot.dat", 20, 20, [](TStageData& doc) {
    doc.BgImage = "old.png";
    doc.Title = "before";
  });
  Start(plot);
  TStageData& doc = *core->CurrentDoc();
  ASSERT_NE(doc.Background, nullptr);
  const Picture* old = doc.Background.get();
  WithScreen([&](TOptScrDlg& dialog) {
    Find<QLineEdit>(dialog, "DataNameEdit")->setText("after");
    Type(dialog, "ScrWdEdit", "2000");
    for (const char* name : {"notapicture.png", "nothere.png"}) {
      errors.clear();
      Find<QLineEdit>(dialog, "BgImgEdit")->setText(name);
      Ok(dialog);
      EXPECT_TRUE(dialog.isVisible()) << name;
      ASSERT_EQ(errors.size(), 1) << name;
      EXPECT_TRUE(errors[0].startsWith("背景画像を読み込めませんでした。")) << name;
      EXPECT_TRUE(errors[0].contains(name)) << name;
    }
    Find<QPushButton>(dialog, "CancelBtn")->click();
  });
  EXPECT_EQ(doc.BgImage, "old.png");
  EXPECT_EQ(doc.Background.get(), old);
  EXPECT_EQ(doc.Title, "before");
  EXPECT_EQ(doc.ScrWidth, 800);
  EXPECT_FALSE(doc.Modified);
}

// Made smaller than its objects, the page leaves them where they are, and the view
// still reaches them.
TEST_F(OptScrDlgTest, APageSmallerThanItsObjectsKeepsThemInReach) {
  Start(WritePlot("plot.dat", 700, 500));
  TStageData& doc = *core->CurrentDoc();
  WithScreen([](TOptScrDlg& dialog) {
    Type(dialog, "ScrWdEdit", "200");
    Type(dialog, "ScrHiEdit", "150");
    Ok(dialog);
  });
  EXPECT_EQ(doc.ScrWidth, 200);
  EXPECT_EQ(doc.ScrHeight, 150);
  ASSERT_EQ(doc.Objects.size(), 1u);
  EXPECT_EQ(doc.Objects.front()->X1, 700);
  EXPECT_EQ(doc.Objects.front()->Y1, 500);
  const QSize reach = form->ScrollBox()->PageSize();
  EXPECT_GE(reach.width(), 720);
  EXPECT_GE(reach.height(), 520);
  EXPECT_GE(form->ScrollBox()->ScrBox()->width(), 720);
}

}  // namespace
}  // namespace lumaplot
