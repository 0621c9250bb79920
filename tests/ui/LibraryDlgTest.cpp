// The fixture library editor driven through its controls: the sorted list, the
// working type, 変更 / 追加 / 削除 and their rules, the channel role grid, the
// preview, and when the library file is written. Questions and warnings are
// answered by the test.
#include "ui/dialogs/LibraryDlg.h"
#include "ui/qt/ColorConvert.h"

#include <sys/stat.h>

#include <deque>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "model/LightLib.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/qt/NumberEdit.h"
#include "ui/qt/Prompts.h"
#include "util/FileIo.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

using test::LibraryType;

class LibraryDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    library.FileName = dir.File("LIBRARY.INI");
    prompts.YesNo = [this](const QString& text, const QString& caption) {
      questions << caption + ":" + text;
      return answerYes;
    };
    prompts.Warning = [this](const QString& text, const QString&) { warnings << text; };
    prompts.Error = [this](const QString& text, const QString&) { errors << text; };
    prompts.ChooseColor = [this](int32_t& color) {
      if (!chosenColor.isValid()) return false;  // cancelled
      color = FromQColor(chosenColor);
      return true;
    };
  }
  void TearDown() override { dialog.reset(); }

  // The library, in this order; written to LIBRARY.INI when `onDisk`.
  void Library(const std::vector<TLibItem>& types, bool onDisk = true) {
    library.Items.Clear();
    for (const TLibItem& type : types) library.Items.Add(type);
    if (onDisk) {
      ASSERT_TRUE(library.SaveToFile(library.FileName));
    }
  }

  TLibraryDlg& Open() {
    if (!dialog) dialog = std::make_unique<TLibraryDlg>(library, ini, prompts);
    dialog->show();
    QApplication::processEvents();
    return *dialog;
  }
  void Close() { Button("CloseBtn")->click(); }

  template <class T>
  T* Child(const char* name) {
    T* child = dialog->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QListWidget* List() { return Child<QListWidget>("LibListBox"); }
  QPushButton* Button(const char* name) { return Child<QPushButton>(name); }
  QLineEdit* Name() { return Child<QLineEdit>("NameEdit"); }
  NumberEdit* Number(const char* name) { return Child<NumberEdit>(name); }
  QTableWidget* Grid() { return Child<QTableWidget>("ChDefGrid"); }
  QWidget* Roles() { return Child<QWidget>("ChAtrRadioGrp"); }
  // Types into a number field as the user does.
  void Type(const char* field, const QString& text) { Number(field)->Edit()->setText(text); }
  void Select(const QString& name) {
    const QList<QListWidgetItem*> found = List()->findItems(name, Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty()) << name.toStdString();
    List()->setCurrentItem(found.front());
  }

  QStringList ListNames() {
    QStringList names;
    for (int i = 0; i < List()->count(); ++i) names << List()->item(i)->text();
    return names;
  }
  std::vector<std::string> LibraryNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < library.Items.Count(); ++i) names.push_back(library.Items[i].Name);
    return names;
  }
  QStringList GridColumn(int column) {
    QStringList cells;
    for (int row = 0; row < Grid()->rowCount(); ++row) {
      const QTableWidgetItem* item = Grid()->item(row, column);
      cells << (item ? item->text() : QString());
    }
    return cells;
  }
  std::string FileBytes() const { return test::TempDir::Read(library.FileName); }

  test::TempDir dir;
  TLightLib library;
  IniFile ini;
  TPrompts prompts;
  std::unique_ptr<TLibraryDlg> dialog;
  QStringList questions;
  QStringList warnings;
  QStringList errors;
  bool answerYes = true;
  QColor chosenColor;
};

TEST_F(LibraryDlgTest, ListIsSortedAndTheFirstTypeIsShown) {
  TLibItem bar = LibraryType("Bar", BarGraph, 12, 60, {RoleDimmer, RoleRed});
  bar.FrmColor = kNoColor;
  bar.ExAtr = kExAtrBrightnessInvert;
  Library({LibraryType("par", Rectangle, 30, 20, {RoleDimmer}),
           LibraryType("LED1", Circle, 20, 20, {1, 2, 3}), bar});
  Open();
  EXPECT_EQ(ListNames(), (QStringList{"Bar", "LED1", "par"}));
  EXPECT_EQ(List()->currentRow(), 0);
  EXPECT_EQ(dialog->EditItem, bar);
  EXPECT_EQ(Name()->text(), "Bar");
  EXPECT_EQ(Child<QComboBox>("ShapeCombo")->currentText(), "バーグラフ");
  EXPECT_EQ(Number("SizeXEdit")->Text(), "12");
  EXPECT_EQ(Number("SizeYEdit")->Text(), "60");
  EXPECT_EQ(Number("ChnEdit")->Text(), "2");
  EXPECT_FALSE(Child<QCheckBox>("FrmColCheckBox")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>("CInvertCheckBox")->isChecked());
  EXPECT_TRUE(Child<QCheckBox>("BInvertCheckBox")->isChecked());
  EXPECT_EQ(GridColumn(0), (QStringList{"1", "2"}));
  EXPECT_EQ(GridColumn(1), (QStringList{"Dimmer", "Red"}));
  EXPECT_EQ(Grid()->horizontalHeaderItem(1)->text(), "属性");
  EXPECT_TRUE(Child<QRadioButton>("ChAtrRadio7")->isChecked());  // Dimmer, channel 1
  EXPECT_FALSE(Button("AddBtn")->isEnabled());

  Select("par");
  EXPECT_EQ(dialog->EditItem.Name, "par");
  EXPECT_EQ(Number("SizeXEdit")->Text(), "30");
  EXPECT_EQ(Number("SizeYEdit")->Text(), "20");  // a rectangle keeps its height
  EXPECT_TRUE(Child<QCheckBox>("FrmColCheckBox")->isChecked());
}

TEST_F(LibraryDlgTest, AddIsEnabledOnlyForANewNameAndAppends) {
  Library({LibraryType("PAR", Circle, 20, 20, {RoleDimmer}),
           LibraryType("LED", Circle, 20, 20, {1, 2, 3})});
  Open();
  QPushButton* add = Button("AddBtn");
  const struct {
    const char* name;
    bool enabled;
  } names[] = {{"PAR", false}, {"PAR2", true}, {"par", true}, {"LED", false}, {"", true}};
  for (const auto& n : names) {
    Name()->setText(n.name);
    EXPECT_EQ(add->isEnabled(), n.enabled) << n.name;
  }

  Name()->setText("Moving");
  Type("SizeXEdit", "44");
  add->click();
  EXPECT_EQ(LibraryNames(), (std::vector<std::string>{"PAR", "LED", "Moving"}));
  EXPECT_EQ(library.Items[2], dialog->EditItem);
  EXPECT_EQ(library.Items[2].Width, 44);
  EXPECT_EQ(ListNames(), (QStringList{"LED", "Moving", "PAR"}));
  EXPECT_EQ(List()->currentItem()->text(), "Moving");
  EXPECT_FALSE(add->isEnabled());
  EXPECT_TRUE(dialog->LibChanged());
}

TEST_F(LibraryDlgTest, AddAndUpdateRefuseAnEmptyName) {
  Library({LibraryType("PAR", Circle, 20, 20, {RoleDimmer})});
  Open();
  Name()->setText("  ");
  Button("AddBtn")->click();
  Button("UpdateBtn")->click();
  EXPECT_EQ(warnings, (QStringList{"灯体名を入力してください", "灯体名を入力してください"}));
  EXPECT_EQ(LibraryNames(), (std::vector<std::string>{"PAR"}));
  EXPECT_EQ(ListNames(), (QStringList{"PAR"}));
  EXPECT_FALSE(dialog->LibChanged());
}

TEST_F(LibraryDlgTest, AddIsRefusedAtTwoHundredTypes) {
  std::vector<TLibItem> types;
  for (int i = 0; i < kMaxLibItems; ++i)
    types.push_back(LibraryType("T" + std::to_string(i), Circle, 20, 20, {1}));
  Library(types, false);
  Open();
  Name()->setText("One more");
  ASSERT_TRUE(Button("AddBtn")->isEnabled());
  Button("AddBtn")->click();
  EXPECT_EQ(library.Items.Count(), kMaxLibItems);
  EXPECT_EQ(List()->count(), kMaxLibItems);
  ASSERT_EQ(warnings.size(), 1);
  EXPECT_TRUE(warnings[0].startsWith("灯体ライブラリに登録できるのは200種類までです"));
  EXPECT_FALSE(dialog->LibChanged());
}

TEST_F(LibraryDlgTest, UpdateOverwritesInPlaceAndKeepsTheListOrder) {
  Library({LibraryType("A", Circle, 20, 20, {1}), LibraryType("B", Circle, 20, 20, {2}),
           LibraryType("C", Circle, 20, 20, {3})});
  Open();
  Select("B");
  Name()->setText("Z");
  Type("SizeXEdit", "33");
  Button("UpdateBtn")->click();
  // Library position and list row stay; the list is not sorted again until shown anew.
  EXPECT_EQ(LibraryNames(), (std::vector<std::string>{"A", "Z", "C"}));
  EXPECT_EQ(library.Items[1].Width, 33);
  EXPECT_EQ(library.Items[1].Height, 33);
  EXPECT_EQ(ListNames(), (QStringList{"A", "Z", "C"}));
  EXPECT_EQ(List()->currentRow(), 1);

  // Renaming onto another type's name is allowed; look-ups then find the first.
  Select("C");
  Name()->setText("A");
  EXPECT_FALSE(Button("AddBtn")->isEnabled());
  Button("UpdateBtn")->click();
  EXPECT_EQ(LibraryNames(), (std::vector<std::string>{"A", "Z", "A"}));
  EXPECT_EQ(library.Items[2].ChAtr[0], RoleBlue);
}

TEST_F(LibraryDlgTest, DeleteAsksThenSelectsTheEntryInItsPlace) {
  Library({LibraryType("A", Circle, 20, 20, {1}), LibraryType("B", Circle, 24, 24, {2}),
           LibraryType("C", Circle, 28, 28, {3})});
  Open();
  Select("B");
  answerYes = false;
  Button("DeleteBtn")->click();
  EXPECT_EQ(questions, (QStringList{"確認:B 削除してもいいですか"}));
  EXPECT_EQ(library.Items.Count(), 3);
  EXPECT_FALSE(dialog->LibChanged());

  answerYes = true;
  Button("DeleteBtn")->click();
  EXPECT_EQ(LibraryNames(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(ListNames(), (QStringList{"A", "C"}));
  EXPECT_EQ(List()->currentItem()->text(), "C");
  EXPECT_EQ(dialog->EditItem.Name, "C");
  EXPECT_EQ(Number("SizeXEdit")->Text(), "28");
  EXPECT_TRUE(dialog->LibChanged());

  // The last entry: the new last one is selected.
  Button("DeleteBtn")->click();
  EXPECT_EQ(ListNames(), (QStringList{"A"}));
  EXPECT_EQ(dialog->EditItem.Name, "A");
  // The only entry: the list is empty and the controls stay as they were.
  Button("DeleteBtn")->click();
  EXPECT_EQ(List()->count(), 0);
  EXPECT_EQ(library.Items.Count(), 0);
  EXPECT_EQ(Name()->text(), "A");
  EXPECT_TRUE(Button("AddBtn")->isEnabled());  // the name is free again
  Button("DeleteBtn")->click();                // nothing selected: nothing asked
  EXPECT_EQ(questions.size(), 4);
}

TEST_F(LibraryDlgTest, RoleGridFollowsTheChannelCount) {
  Library({LibraryType("RGB", Circle, 20, 20, {1, 2, 3, 8, 9})});
  Open();
  EXPECT_EQ(GridColumn(1), (QStringList{"Red", "Green", "Blue", "Dimmer", "Brightness"}));

  Type("ChnEdit", "0");
  EXPECT_EQ(Grid()->rowCount(), 1);
  EXPECT_EQ(GridColumn(0), QStringList{""});
  EXPECT_EQ(GridColumn(1), QStringList{""});
  EXPECT_FALSE(Roles()->isEnabled());
  EXPECT_EQ(dialog->EditItem.Channels, 0);

  Type("ChnEdit", "16");
  EXPECT_EQ(Grid()->rowCount(), 16);
  QStringList numbers;
  for (int i = 1; i <= 16; ++i) numbers << QString::number(i);
  EXPECT_EQ(GridColumn(0), numbers);
  EXPECT_EQ(GridColumn(1), QStringList(16, "None"));  // going to 0 cleared all five
  EXPECT_TRUE(Roles()->isEnabled());
  EXPECT_EQ(Grid()->currentRow(), 0);
  EXPECT_EQ(dialog->EditItem.Channels, 16);

  // Out of range: red, nothing taken.
  Type("ChnEdit", "17");
  EXPECT_EQ(dialog->EditItem.Channels, 16);
  EXPECT_EQ(Grid()->rowCount(), 16);
}

TEST_F(LibraryDlgTest, ChannelsTakenAwayComeBackAsNone) {
  Library({LibraryType("Five", Circle, 20, 20, {1, 2, 3, 8, 9})});
  Open();
  Type("ChnEdit", "3");
  EXPECT_EQ(dialog->EditItem.ChAtr[3], RoleNone);
  EXPECT_EQ(dialog->EditItem.ChAtr[4], RoleNone);
  EXPECT_EQ(dialog->EditItem.ChAtr[2], RoleBlue);
  EXPECT_EQ(GridColumn(1), (QStringList{"Red", "Green", "Blue"}));
  Type("ChnEdit", "5");
  EXPECT_EQ(GridColumn(1), (QStringList{"Red", "Green", "Blue", "None", "None"}));
  // The library itself is untouched until 変更.
  EXPECT_EQ(library.Items[0].ChAtr[3], RoleDimmer);
}

TEST_F(LibraryDlgTest, RadioGroupSetsTheRoleOfTheSelectedChannel) {
  Library({LibraryType("RGB", Circle, 20, 20, {1, 2, 3})});
  Open();
  Grid()->setCurrentCell(1, 1);
  EXPECT_TRUE(Child<QRadioButton>("ChAtrRadio1")->isChecked());  // Green
  Child<QRadioButton>("ChAtrRadio7")->click();                   // Dimmer
  EXPECT_EQ(dialog->EditItem.ChAtr[1], RoleDimmer);
  EXPECT_EQ(GridColumn(1), (QStringList{"Red", "Dimmer", "Blue"}));
  Grid()->setCurrentCell(2, 0);
  Child<QRadioButton>("ChAtrRadio9")->click();  // None
  EXPECT_EQ(dialog->EditItem.ChAtr[2], RoleNone);
  EXPECT_EQ(GridColumn(1), (QStringList{"Red", "Dimmer", "None"}));
  Grid()->setCurrentCell(0, 0);
  EXPECT_TRUE(Child<QRadioButton>("ChAtrRadio0")->isChecked());  // Red
}

TEST_F(LibraryDlgTest, CircleHeightFollowsWidthRectangleKeepsBoth) {
  Library({LibraryType("C", Circle, 20, 20, {1}), LibraryType("R", Rectangle, 20, 10, {1})});
  Open();
  Select("C");
  Type("SizeXEdit", "30");
  EXPECT_EQ(dialog->EditItem.Width, 30);
  EXPECT_EQ(dialog->EditItem.Height, 30);
  EXPECT_EQ(Number("SizeYEdit")->Text(), "30");
  Type("SizeYEdit", "44");
  EXPECT_EQ(dialog->EditItem.Width, 44);
  EXPECT_EQ(Number("SizeXEdit")->Text(), "44");
  // Outside 4 … 150: shown red, the last valid value stays.
  Type("SizeXEdit", "151");
  Type("SizeYEdit", "3");
  EXPECT_EQ(dialog->EditItem.Width, 44);
  EXPECT_EQ(dialog->EditItem.Height, 44);

  Select("R");
  Type("SizeXEdit", "30");
  EXPECT_EQ(dialog->EditItem.Width, 30);
  EXPECT_EQ(dialog->EditItem.Height, 10);
  EXPECT_EQ(Number("SizeYEdit")->Text(), "10");
  // Turning a rectangle into a circle: the next width change sets both.
  Child<QComboBox>("ShapeCombo")->setCurrentIndex(Circle);
  EXPECT_EQ(dialog->EditItem.Shape, Circle);
  Type("SizeXEdit", "25");
  EXPECT_EQ(dialog->EditItem.Height, 25);
}

TEST_F(LibraryDlgTest, OutlineColourAndInvertFlags) {
  Library({LibraryType("PAR", Circle, 20, 20, {1})});
  Open();
  QCheckBox* outline = Child<QCheckBox>("FrmColCheckBox");
  outline->click();
  EXPECT_EQ(dialog->EditItem.FrmColor, kNoColor);
  outline->click();  // ticking again keeps "no colour" until one is chosen
  EXPECT_EQ(dialog->EditItem.FrmColor, kNoColor);
  chosenColor = QColor(255, 0, 0);
  Button("RefColBtn")->click();
  EXPECT_EQ(dialog->EditItem.FrmColor, 0x0000FF);
  EXPECT_TRUE(outline->isChecked());
  chosenColor = QColor();  // cancelled
  Button("RefColBtn")->click();
  EXPECT_EQ(dialog->EditItem.FrmColor, 0x0000FF);

  Child<QCheckBox>("CInvertCheckBox")->click();
  Child<QCheckBox>("BInvertCheckBox")->click();
  EXPECT_EQ(dialog->EditItem.ExAtr, kExAtrColorInvert | kExAtrBrightnessInvert);
  Child<QCheckBox>("CInvertCheckBox")->click();
  EXPECT_EQ(dialog->EditItem.ExAtr, kExAtrBrightnessInvert);
}

TEST_F(LibraryDlgTest, PreviewDrawsTheTypeCentredInSilverOnBlack) {
  Library({LibraryType("Wide", Rectangle, 100, 20, {1})});
  Open();
  const QImage shot = Child<QWidget>("LtPaintBox")->grab().toImage();
  ASSERT_EQ(shot.size(), QSize(TLibraryDlg::kPreviewSize, TLibraryDlg::kPreviewSize));
  const QRgb silver = qRgb(0xC0, 0xC0, 0xC0);
  EXPECT_EQ(shot.pixel(75, 75), silver);
  EXPECT_EQ(shot.pixel(30, 75), silver);  // (150 - 100) / 2 = 25 is the left edge
  EXPECT_EQ(shot.pixel(20, 75), qRgb(0, 0, 0));
  EXPECT_EQ(shot.pixel(75, 60), qRgb(0, 0, 0));  // above the 20 pixel high body

  Type("SizeYEdit", "80");
  const QImage taller = Child<QWidget>("LtPaintBox")->grab().toImage();
  EXPECT_EQ(taller.pixel(75, 40), silver);
}

TEST_F(LibraryDlgTest, LibraryFileIsWrittenOnlyAfterAChange) {
  Library({LibraryType("PAR", Circle, 20, 20, {RoleDimmer})});
  const std::string before = FileBytes();
  ::unlink(library.FileName.c_str());
  Open();
  Type("SizeXEdit", "40");  // edits alone change nothing
  Close();
  EXPECT_FALSE(FileExists(library.FileName));
  EXPECT_TRUE(errors.isEmpty());

  Open();
  Type("SizeXEdit", "40");
  Button("UpdateBtn")->click();
  Close();
  ASSERT_TRUE(FileExists(library.FileName));
  TLightLib reread;
  reread.LoadFromFile(library.FileName, false);
  ASSERT_EQ(reread.Items.Count(), 1);
  EXPECT_EQ(reread.Items[0].Width, 40);
  EXPECT_EQ(reread.Items[0].Height, 40);
  EXPECT_NE(FileBytes(), before);

  // Shown again, the change is forgotten: closing writes nothing.
  ::unlink(library.FileName.c_str());
  Open();
  Close();
  EXPECT_FALSE(FileExists(library.FileName));
}

TEST_F(LibraryDlgTest, UnwritableLibraryIsReportedAndTheEditsStay) {
  Library({LibraryType("PAR", Circle, 20, 20, {RoleDimmer})});
  const std::string before = FileBytes();
  ASSERT_EQ(::chmod(library.FileName.c_str(), 0444), 0);
  Open();
  Name()->setText("NEW");
  Button("AddBtn")->click();
  Close();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].startsWith("灯体ライブラリを保存できませんでした。\n" +
                                   QString::fromStdString(library.FileName)))
      << errors[0].toStdString();
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(LibraryNames(), (std::vector<std::string>{"PAR", "NEW"}));
  EXPECT_TRUE(dialog->SavePending());

  // The next closing tries again, changed or not.
  ASSERT_EQ(::chmod(library.FileName.c_str(), 0644), 0);
  Open();
  EXPECT_EQ(ListNames(), (QStringList{"NEW", "PAR"}));
  Close();
  EXPECT_EQ(errors.size(), 1);
  EXPECT_FALSE(dialog->SavePending());
  TLightLib reread;
  reread.LoadFromFile(library.FileName, false);
  EXPECT_EQ(reread.Items.Count(), 2);
}

TEST_F(LibraryDlgTest, PositionIsStoredUnderItsPrefix) {
  Library({LibraryType("PAR", Circle, 20, 20, {1})});
  Open();
  dialog->move(140, 120);
  const QPoint at = dialog->pos();
  Close();
  EXPECT_EQ(ini.ReadInteger("General", "LibraryDlgLeft", -1), at.x());
  EXPECT_EQ(ini.ReadInteger("General", "LibraryDlgTop", -1), at.y());
}

}  // namespace
}  // namespace lumaplot
