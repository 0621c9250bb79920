#include "ui/dialogs/ChgLtypeDlg.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "model/LightLib.h"
#include "model/StageFile.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"

namespace lumaplot {
namespace {

TLibItem Type(std::string name, int32_t width = 20) {
  TLibItem item = DefaultLibItem();
  item.Name = std::move(name);
  item.Width = width;
  return item;
}

QComboBox* Combo(const QWidget& dialog) { return dialog.findChild<QComboBox*>("LightCombo"); }
QPushButton* OkButton(const QWidget& dialog) { return dialog.findChild<QPushButton*>("OKBtn"); }
QString Message(const QWidget& dialog) { return dialog.findChild<QLabel*>("MsgLabel")->text(); }

QStringList Entries(const QWidget& dialog) {
  QStringList entries;
  const QComboBox* combo = Combo(dialog);
  for (int i = 0; i < combo->count(); ++i) entries.append(combo->itemText(i));
  return entries;
}

// Sends a key press and release to the widget with the focus, as typing does.
void PressKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

// Picks `name` in the closed list with the arrow keys, as a user would.
void Choose(TChgLtypeDlg& dialog, const QString& name) {
  QComboBox* combo = Combo(dialog);
  const int target = combo->findText(name);
  ASSERT_GE(target, 0) << name.toStdString();
  while (combo->currentIndex() < target) PressKey(combo, Qt::Key_Down);
}

using Step = std::function<void(TChgLtypeDlg&)>;

// Runs one step each time the dialog is shown, from within its modal loop. A step
// that leaves the dialog open fails the test and closes it, so nothing blocks. A
// step may destroy the dialog.
class ShowScript : public QObject {
 public:
  ShowScript(TChgLtypeDlg& dialog, std::vector<Step> steps)
      : watched_(&dialog), dialog_(&dialog), steps_(steps.begin(), steps.end()) {
    dialog.installEventFilter(this);
  }

  int Showings() const { return showings_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == watched_ && event->type() == QEvent::Show && !event->spontaneous()) {
      ++showings_;
      QTimer::singleShot(0, this, [this] { RunNextStep(); });
    }
    return false;
  }

 private:
  void RunNextStep() {
    if (dialog_.isNull()) return;
    if (steps_.empty()) {
      ADD_FAILURE() << "the dialog was shown more often than expected";
    } else {
      const Step step = steps_.front();
      steps_.pop_front();
      step(*dialog_);
    }
    if (dialog_ && dialog_->isVisible()) {
      ADD_FAILURE() << "the step left the dialog open";
      dialog_->reject();
    }
  }

  const QObject* watched_;  // compared only: events still come while it is destroyed
  QPointer<TChgLtypeDlg> dialog_;
  std::deque<Step> steps_;
  int showings_ = 0;
};

void PressOk(TChgLtypeDlg& dialog) { OkButton(dialog)->click(); }
void CloseWindow(TChgLtypeDlg& dialog) { dialog.close(); }

class ChgLtypeDlgTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { test::TestApplication(); }

  ChgLtypeDlgTest() {
    library.Items.Add(Type("Wash"));
    library.Items.Add(Type("beam"));
    library.Items.Add(Type("LED"));
    library.Items.Add(Type("*par"));
  }

  // Runs the dialog modally for `missing` with one step; returns TypeName after it.
  QString Ask(const QString& missing, const Step& step) {
    ShowScript script(dialog, {step});
    dialog.TypeName = missing;
    dialog.exec();
    EXPECT_EQ(script.Showings(), 1);
    return dialog.TypeName;
  }

  TLightLib library;
  TChgLtypeDlg dialog{library};
};

TEST_F(ChgLtypeDlgTest, ShowingListsTheLibrarySortedWithNothingChosen) {
  EXPECT_EQ(dialog.windowTitle(), "未定義灯体の変更");
  EXPECT_EQ(dialog.objectName(), "ChgLtypeDlg");
  EXPECT_TRUE(dialog.TypeName.isEmpty());
  dialog.TypeName = "Moving Head  2";
  dialog.show();
  EXPECT_EQ(Entries(dialog), (QStringList{"*par", "beam", "LED", "Wash"}));
  EXPECT_EQ(Combo(dialog)->currentIndex(), -1);
  EXPECT_EQ(Message(dialog), "[Moving Head  2] は未定義のタイプです");
  EXPECT_FALSE(OkButton(dialog)->isEnabled());
  EXPECT_TRUE(OkButton(dialog)->isDefault());
  EXPECT_GE(dialog.width(), TChgLtypeDlg::kClientWidth);
  EXPECT_GE(dialog.height(), TChgLtypeDlg::kClientHeight);

  Choose(dialog, "LED");
  EXPECT_TRUE(OkButton(dialog)->isEnabled());
  dialog.hide();
}

TEST_F(ChgLtypeDlgTest, AnOverlongNameIsShortenedAndKeptWholeInTheToolTip) {
  const QString longName = "Spot" + QString(300, 'X') + "End";
  dialog.TypeName = longName;
  dialog.show();
  const QLabel* label = dialog.findChild<QLabel*>("MsgLabel");
  EXPECT_TRUE(label->text().startsWith("[Spot")) << label->text().toStdString();
  EXPECT_TRUE(label->text().endsWith("End] は未定義のタイプです"));
  EXPECT_LT(label->text().size(), longName.size());
  EXPECT_EQ(label->toolTip(), "[" + longName + "] は未定義のタイプです");
  EXPECT_LT(dialog.width(), 800);
  dialog.hide();

  // The next, ordinary name is shown whole again, without the tool tip.
  dialog.TypeName = "Fog";
  dialog.show();
  EXPECT_EQ(label->text(), "[Fog] は未定義のタイプです");
  EXPECT_TRUE(label->toolTip().isEmpty());
  EXPECT_EQ(dialog.TypeName, "Fog");
  dialog.hide();
}

TEST_F(ChgLtypeDlgTest, OnlyOkAfterAChoiceChangesTheName) {
  struct Case {
    const char* what;
    Step step;
    QString expected;
  };
  const std::vector<Case> cases = {
      {"choice and OK", [](TChgLtypeDlg& d) { Choose(d, "beam"), PressOk(d); }, "beam"},
      {"choice and Enter",
       [](TChgLtypeDlg& d) { Choose(d, "LED"), PressKey(Combo(d), Qt::Key_Return); }, "LED"},
      {"choice and closing the window", [](TChgLtypeDlg& d) { Choose(d, "Wash"), CloseWindow(d); },
       "Fog"},
      {"choice and Escape",
       [](TChgLtypeDlg& d) { Choose(d, "Wash"), PressKey(Combo(d), Qt::Key_Escape); }, "Fog"},
      {"Enter without a choice, then closing",
       [](TChgLtypeDlg& d) {
         PressKey(Combo(d), Qt::Key_Return);
         EXPECT_TRUE(d.isVisible()) << "OK must wait for a choice";
         CloseWindow(d);
       },
       "Fog"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Ask("Fog", c.step), c.expected) << c.what;
  }
}

TEST_F(ChgLtypeDlgTest, EachShowingStartsAfreshFromTheLibrary) {
  EXPECT_EQ(Ask("Fog", [](TChgLtypeDlg& d) { Choose(d, "Wash"), PressOk(d); }), "Wash");

  library.Items.Delete(0);
  library.Items.Add(Type("Strobe"));
  EXPECT_EQ(Ask("Hazer",
                [](TChgLtypeDlg& d) {
                  EXPECT_EQ(Entries(d), (QStringList{"*par", "beam", "LED", "Strobe"}));
                  EXPECT_EQ(Combo(d)->currentIndex(), -1);
                  EXPECT_FALSE(OkButton(d)->isEnabled());
                  EXPECT_EQ(Message(d), "[Hazer] は未定義のタイプです");
                  CloseWindow(d);
                }),
            "Hazer");
}

TEST_F(ChgLtypeDlgTest, WithAnEmptyLibraryOnlyClosingEndsIt) {
  library.Items.Clear();
  EXPECT_EQ(Ask("Fog",
                [](TChgLtypeDlg& d) {
                  EXPECT_EQ(Combo(d)->count(), 0);
                  PressKey(Combo(d), Qt::Key_Down);
                  PressKey(Combo(d), Qt::Key_Return);
                  EXPECT_FALSE(OkButton(d)->isEnabled());
                  EXPECT_TRUE(d.isVisible());
                  CloseWindow(d);
                }),
            "Fog");
}

TEST_F(ChgLtypeDlgTest, AnswersTheStageFileReaderOncePerMissingName) {
  test::TempDir dir;
  const std::string path = dir.Write("plot.dat",
                                     "[LightData]\r\n"
                                     "1,0,0,0,0,spot,0,\r\n"
                                     "2,0,0,0,0,Fog,0,\r\n"
                                     "3,0,0,0,0,SPOT,0,\r\n"
                                     "4,0,0,0,0,Wash,0,\r\n");
  library.Items[0].Width = 44;  // Wash
  TStageData doc;
  doc.OnMissingType = MissingTypeHandler(dialog);
  ShowScript script(dialog, {
                                [](TChgLtypeDlg& d) {
                                  EXPECT_EQ(Message(d), "[spot] は未定義のタイプです");
                                  Choose(d, "Wash"), PressOk(d);
                                },
                                [](TChgLtypeDlg& d) {
                                  EXPECT_EQ(Message(d), "[Fog] は未定義のタイプです");
                                  CloseWindow(d);
                                },
                            });
  TStageReadContext context;
  context.Library = &library;
  ASSERT_TRUE(LoadStage(doc, path, context));
  EXPECT_EQ(script.Showings(), 2);
  ASSERT_EQ(doc.Objects.size(), 4u);
  std::vector<std::string> names;
  for (const TLightCell* light : doc.Objects) names.push_back(light->Fixture.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Wash", "Fog", "Wash", "Wash"}));
  EXPECT_EQ(doc.Objects[0]->Width, 44);
  EXPECT_EQ(doc.Objects[1]->Width, DefaultLibItem().Width);
}

TEST_F(ChgLtypeDlgTest, HandlerAnswersUnchangedWhenTheDialogCannotAsk) {
  // Already showing: a question from within another one is not stacked on it.
  const TStageData::MissingTypeQuestion ask = MissingTypeHandler(dialog);
  dialog.TypeName = "Fog";
  dialog.show();
  EXPECT_EQ(ask("Hazer"), "Hazer");
  EXPECT_EQ(dialog.TypeName, "Fog");
  dialog.hide();

  // Destroyed while it asks, and asked again afterwards.
  auto* doomed = new TChgLtypeDlg(library);
  const TStageData::MissingTypeQuestion askDoomed = MissingTypeHandler(*doomed);
  ShowScript script(*doomed, {[](TChgLtypeDlg& d) {
    Choose(d, "Wash");
    delete &d;
  }});
  EXPECT_EQ(askDoomed("Fog"), "Fog");
  EXPECT_EQ(askDoomed("Hazer"), "Hazer");
}

}  // namespace
}  // namespace lumaplot
