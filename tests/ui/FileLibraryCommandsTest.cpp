// The File menu's printing, light list export and fixture library commands in the
// main window: where they stand in the menu, when they are enabled, the library
// editor's effect on the current plot and the type lists, the merge and its
// message, the export handed to a stub editor program, the PDF and the print
// preview. Message boxes and file dialogs are answered by the test; the Art-Net
// engine listens on loopback only.
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "model/StageFile.h"
#include "support/LoopbackCore.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/dialogs/LibraryDlg.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/MainBars.h"
#include "ui/qt/NumberEdit.h"
#include "util/FileIo.h"

namespace lumaplot {
namespace {

using Button = QMessageBox::StandardButton;
using test::LibraryType;

class FileLibraryCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  void TearDown() override {
    if (form) form->hide();
    form.reset();
    core.reset();
  }

  TMainFormSetup FormSetup() {
    TMainFormSetup setup;
    setup.Prompts.YesNoCancel = [this](const QString& text, const QString& caption) {
      asked << caption + ":" + text;
      return answer;
    };
    setup.Prompts.YesNo = [this](const QString& text, const QString& caption) {
      asked << caption + ":" + text;
      return answer == QMessageBox::Yes;
    };
    setup.Prompts.Warning = [this](const QString& text, const QString& caption) {
      warnings << caption + ":" + text;
    };
    setup.Prompts.Error = [this](const QString& text, const QString& caption) {
      if (caption != "ArtNet初期化エラー") errors << text;
    };
    setup.Prompts.Info = [this](const QString& text, const QString& caption) {
      infos << caption + ":" + text;
    };
    setup.Prompts.OpenFileName = [this](const TFileDialogRequest& request) {
      return NextFile(request);
    };
    setup.Prompts.SaveFileName = [this](const TFileDialogRequest& request) {
      return NextFile(request);
    };
    setup.Prompts.Beep = [] {};
    setup.AskMissingType = [](const std::string& name) { return name; };
    return setup;
  }

  QString NextFile(const TFileDialogRequest& request) {
    dialogs.push_back(request);
    if (files.empty()) return {};
    const QString file = files.front();
    files.pop_front();
    return file;
  }

  // LIBRARY.INI of the program folder with `types`.
  void WriteLibrary(const std::vector<TLibItem>& types) {
    TLightLib library(dir.File("LIBRARY.INI"));
    for (const TLibItem& type : types) library.Items.Add(type);
    ASSERT_TRUE(library.SaveToFile(library.FileName));
  }

  // A plot with `count` lights of type `type`, saved in the program folder.
  std::string WritePlot(const std::string& name, const TLibItem& type, int count,
                        const std::string& text = "") {
    TStageData doc;
    doc.Title = name;
    for (int i = 0; i < count; ++i) test::AddLight(doc, type, 40 + 50 * i, 60, 3 * i);
    if (!text.empty()) test::AddText(doc, 30, 200, text);
    EXPECT_TRUE(test::SavePlot(doc, dir.File(name)));
    return dir.File(name);
  }

  // Starts with the plots `open` open, the last one current.
  TLumaplotForm& Start(const std::vector<std::string>& open = {}) {
    std::string settings = "[General]\r\n";
    for (size_t i = 0; i < open.size(); ++i) {
      settings += "LastFile" + std::to_string(i + 1) + "=" + open[i] + "\r\n";
    }
    dir.Write("lumaplot.INI", settings);
    core = std::make_unique<TAppCore>(test::LoopbackCoreSetup(dir.Path()));
    form = std::make_unique<TLumaplotForm>(*core, FormSetup());
    form->show();
    QApplication::processEvents();
    if (!open.empty()) {
      core->Documents().SetCurrent(static_cast<int>(open.size()) - 1);
      form->FullRefresh();
    }
    return *form;
  }

  bool Enabled(TActionId id) {
    form->UpdateActions();
    return form->Action(id)->isEnabled();
  }

  // Runs the library editor command; `edit` works the dialog while it is shown
  // modally, then the dialog is closed with its close button.
  void EditLibrary(const std::function<void(TLibraryDlg&)>& edit) {
    bool ran = false;
    QTimer::singleShot(0, form.get(), [&] {
      TLibraryDlg* dialog = form->Dialogs().Find<TLibraryDlg>();
      ASSERT_NE(dialog, nullptr);
      ASSERT_TRUE(dialog->isVisible());
      edit(*dialog);
      ran = true;
      dialog->findChild<QPushButton*>("CloseBtn")->click();
    });
    form->Action(TActionId::FileLibEdit)->trigger();
    EXPECT_TRUE(ran);
  }

  static void Select(TLibraryDlg& dialog, const QString& name) {
    QListWidget* list = dialog.findChild<QListWidget*>("LibListBox");
    const auto found = list->findItems(name, Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty());
    list->setCurrentItem(found.front());
  }

  static QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
  }

  test::TempDir dir;
  std::unique_ptr<TAppCore> core;
  std::unique_ptr<TLumaplotForm> form;
  Button answer = QMessageBox::Yes;
  QStringList asked;
  QStringList warnings;
  QStringList errors;
  QStringList infos;
  std::deque<QString> files;
  std::vector<TFileDialogRequest> dialogs;
};

TEST_F(FileLibraryCommandsTest, FileMenuHoldsTheCommandsInOrder) {
  TLumaplotForm& f = Start();
  QMenu* file = f.menuBar()->findChild<QMenu*>("File1");
  ASSERT_NE(file, nullptr);
  QStringList names;
  for (const QAction* action : file->actions()) {
    if (!action->isSeparator()) names << action->objectName();
  }
  EXPECT_EQ(names,
            (QStringList{"FileNew", "FileOpen", "FileSave", "FileSaveAs", "FileClose", "FilePrint",
                         "FilePdf", "FileList", "FileLibEdit", "FileLibMerge", "FileExit"}));
  EXPECT_EQ(f.Action(TActionId::FilePdf)->text(), "PDFに出力");
  EXPECT_EQ(f.Action(TActionId::FileList)->text(), "灯体一覧を出力(&T)");
}

TEST_F(FileLibraryCommandsTest, CommandsAreEnabledByTheirRules) {
  const TLibItem par = LibraryType("PAR", Circle, 20, 20, {RoleDimmer});
  WriteLibrary({par});
  const std::string plot = WritePlot("plot.dat", par, 1);
  const std::string locked = WritePlot("locked.dat", par, 1);
  ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);

  Start();
  EXPECT_FALSE(Enabled(TActionId::FilePrint));
  EXPECT_FALSE(Enabled(TActionId::FilePdf));
  EXPECT_FALSE(Enabled(TActionId::FileList));
  EXPECT_TRUE(Enabled(TActionId::FileLibEdit));
  EXPECT_TRUE(Enabled(TActionId::FileLibMerge));
  form.reset();
  core.reset();

  Start({plot});
  EXPECT_TRUE(Enabled(TActionId::FilePdf));
  EXPECT_TRUE(Enabled(TActionId::FileList));
  // Printing needs an installed printer; without one only the PDF is offered.
  core->Env().PrinterPresent = false;
  EXPECT_FALSE(Enabled(TActionId::FilePrint));
  core->Env().PrinterPresent = true;
  EXPECT_TRUE(Enabled(TActionId::FilePrint));
  form.reset();
  core.reset();

  // A plot read from a read-only file: as saving, the list is not offered.
  Start({locked});
  ASSERT_TRUE(core->CurrentDoc()->EditInhibit);
  EXPECT_FALSE(Enabled(TActionId::FileList));
  EXPECT_TRUE(Enabled(TActionId::FilePdf));
}

TEST_F(FileLibraryCommandsTest, LibraryEditResizesTheCurrentPlotsLightsAndRefillsTheLists) {
  const TLibItem par = LibraryType("PAR", Circle, 20, 20, {RoleDimmer});
  WriteLibrary({par, LibraryType("LED", Circle, 20, 20, {1, 2, 3})});
  const std::string other = WritePlot("other.dat", par, 1);
  const std::string current = WritePlot("current.dat", par, 2);
  TLumaplotForm& f = Start({other, current});
  ASSERT_EQ(core->CurrentDoc()->FileName, current);
  f.Edit().AddTemplate.Fixture.Name = "LED";

  EditLibrary([](TLibraryDlg& dialog) {
    Select(dialog, "PAR");
    dialog.findChild<NumberEdit*>("SizeXEdit")->Edit()->setText("40");
    dialog.findChild<QPushButton*>("UpdateBtn")->click();
    dialog.findChild<QLineEdit*>("NameEdit")->setText("Fresnel");
    dialog.findChild<QPushButton*>("AddBtn")->click();
  });

  for (const TLightCell* light : core->CurrentDoc()->Objects) {
    EXPECT_EQ(light->Fixture.Width, 40);
    EXPECT_EQ(light->Width, 40);
    EXPECT_EQ(light->Height, 40);
  }
  // The other plot takes the new size when it is read next.
  EXPECT_EQ(core->Documents().At(0)->Objects.front()->Width, 20);
  EXPECT_EQ(Items(f.Bars().LightCombo()), (QStringList{"Fresnel", "LED", "PAR"}));
  EXPECT_EQ(f.Bars().LightCombo()->currentText(), "LED");
  EXPECT_EQ(Items(f.Bars().FindMaskCombo()), (QStringList{"All", "Fresnel", "LED", "PAR"}));
  EXPECT_EQ(f.Bars().FindMaskCombo()->currentIndex(), 0);
  EXPECT_FALSE(f.Busy());
  // Closing after the changes wrote the library.
  TLightLib written;
  written.LoadFromFile(dir.File("LIBRARY.INI"), false);
  ASSERT_EQ(written.Items.Count(), 3);
  EXPECT_EQ(written.Items[0].Width, 40);
  EXPECT_EQ(written.Items[2].Name, "Fresnel");
}

TEST_F(FileLibraryCommandsTest, DeletedTypeKeepsItsNameOnTheLightsAndInTheSavedPlot) {
  const TLibItem mover = LibraryType("Mover", Rectangle, 30, 16, {RoleDimmer, RoleRed});
  WriteLibrary({mover});
  const std::string plot = WritePlot("plot.dat", mover, 2);
  TLumaplotForm& f = Start({plot});

  EditLibrary([](TLibraryDlg& dialog) { dialog.findChild<QPushButton*>("DeleteBtn")->click(); });
  EXPECT_EQ(asked, (QStringList{"確認:Mover 削除してもいいですか"}));

  TLibItem expected = DefaultLibItem();
  expected.Name = "Mover";
  for (const TLightCell* light : core->CurrentDoc()->Objects) {
    EXPECT_EQ(light->Fixture, expected);
    EXPECT_EQ(light->Width, 20);
  }
  f.Action(TActionId::FileSave)->trigger();
  EXPECT_TRUE(errors.isEmpty());
  TStageData reread;
  TLightLib library = test::MakeLibrary({mover});
  TStageReadContext context;
  context.Library = &library;
  ASSERT_TRUE(LoadStage(reread, plot, context));
  ASSERT_EQ(reread.Objects.size(), 2u);
  EXPECT_EQ(reread.Objects.front()->Fixture, mover);
}

TEST_F(FileLibraryCommandsTest, MergeReportsTheCountAndRewritesTheLibrary) {
  std::vector<TLibItem> ten;
  for (int i = 0; i < 10; ++i) {
    ten.push_back(LibraryType("T" + std::to_string(i), Circle, 20, 20, {RoleDimmer}));
  }
  WriteLibrary(ten);
  TLightLib incoming(dir.File("incoming.INI"));
  incoming.Items.Add(ten[0]);  // the same: not counted
  for (int i = 0; i < 5; ++i) {
    incoming.Items.Add(LibraryType("N" + std::to_string(i), Octagon, 30, 30, {1, 2, 3}));
  }
  ASSERT_TRUE(incoming.SaveToFile(incoming.FileName));
  const std::string before = test::TempDir::Read(dir.File("LIBRARY.INI"));

  TLumaplotForm& f = Start();
  files.push_back(QString::fromStdString(incoming.FileName));
  f.Action(TActionId::FileLibMerge)->trigger();

  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].Title, "マージ");
  EXPECT_EQ(dialogs[0].Filter, "器具ライブラリ (*.INI)|*.INI");
  EXPECT_EQ(dialogs[0].DefaultExt, "INI");
  EXPECT_EQ(dialogs[0].FileName, "*.INI");
  EXPECT_EQ(infos, (QStringList{"器具ライブラリ:5個の灯体をマージしました"}));
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_NE(test::TempDir::Read(dir.File("LIBRARY.INI")), before);
  TLightLib written;
  EXPECT_EQ(written.LoadFromFile(dir.File("LIBRARY.INI"), false), 15);
  EXPECT_EQ(f.Bars().LightCombo()->count(), 15);
  // The add template's type is not in the library: the list keeps showing its type.
  EXPECT_EQ(f.Bars().LightCombo()->currentText(), "T0");
  EXPECT_EQ(f.Bars().FindMaskCombo()->count(), 16);
  EXPECT_FALSE(f.Busy());

  // A name held with another definition is asked about; Yes takes the incoming one.
  TLightLib changed(dir.File("changed.INI"));
  changed.Items.Add(LibraryType("T3", Rectangle, 44, 22, {RoleRed}));
  ASSERT_TRUE(changed.SaveToFile(changed.FileName));
  files.push_back(QString::fromStdString(changed.FileName));
  f.Action(TActionId::FileLibMerge)->trigger();
  EXPECT_EQ(asked, (QStringList{"灯体名重複:[T3]\n灯体名が重複しています"}));
  EXPECT_EQ(infos.back(), "器具ライブラリ:1個の灯体をマージしました");
  EXPECT_EQ(core->Library().Items[3].Width, 44);

  // Cancelled: nothing happens.
  f.Action(TActionId::FileLibMerge)->trigger();
  EXPECT_EQ(infos.size(), 2);
}

TEST_F(FileLibraryCommandsTest, MergeIntoAnUnwritableLibraryIsReportedAndKeptInMemory) {
  WriteLibrary({LibraryType("PAR", Circle, 20, 20, {RoleDimmer})});
  TLightLib incoming(dir.File("incoming.INI"));
  incoming.Items.Add(LibraryType("LED", Circle, 20, 20, {1, 2, 3}));
  ASSERT_TRUE(incoming.SaveToFile(incoming.FileName));
  const std::string library = dir.File("LIBRARY.INI");
  const std::string before = test::TempDir::Read(library);
  ASSERT_EQ(::chmod(library.c_str(), 0444), 0);

  TLumaplotForm& f = Start();
  files.push_back(QString::fromStdString(incoming.FileName));
  f.Action(TActionId::FileLibMerge)->trigger();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].startsWith("灯体ライブラリを保存できませんでした。\n" +
                                   QString::fromStdString(library)));
  EXPECT_TRUE(infos.isEmpty());
  EXPECT_EQ(test::TempDir::Read(library), before);
  EXPECT_EQ(core->Library().Items.Count(), 2);
  EXPECT_EQ(f.Bars().LightCombo()->count(), 2);

  // Merging again once the file can be written saves what is held.
  ASSERT_EQ(::chmod(library.c_str(), 0644), 0);
  files.push_back(QString::fromStdString(incoming.FileName));
  f.Action(TActionId::FileLibMerge)->trigger();
  EXPECT_EQ(infos, (QStringList{"器具ライブラリ:0個の灯体をマージしました"}));
  TLightLib written;
  EXPECT_EQ(written.LoadFromFile(library, false), 2);
}

// A stand-in editor that writes the arguments it was started with into a file.
std::string WriteStubEditor(const test::TempDir& dir, const std::string& record) {
  const std::string script =
      dir.Write("stub-editor.sh", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + record +
                                      ".tmp\"\nmv \"" + record + ".tmp\" \"" + record + "\"\n");
  ::chmod(script.c_str(), 0755);
  return script;
}

TEST_F(FileLibraryCommandsTest, LightListIsWrittenAndHandedToTheEditor) {
  const TLibItem par = LibraryType("PAR", Circle, 20, 20, {RoleDimmer});
  WriteLibrary({par});
  const std::string plot = WritePlot("plot.dat", par, 2);
  const std::string record = dir.File("editor-args.txt");
  TLumaplotForm& f = Start({plot});
  core->Env().Editor = WriteStubEditor(dir, record);
  const std::string list = dir.File("light list.txt");
  files.push_back(QString::fromStdString(list));
  f.Action(TActionId::FileList)->trigger();

  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].Title, "テキスト出力");
  EXPECT_EQ(dialogs[0].Filter, "灯体一覧 (*.txt)|*.TXT");
  EXPECT_EQ(dialogs[0].DefaultExt, "TXT");
  EXPECT_EQ(dialogs[0].FileName, "plot.TXT");
  EXPECT_EQ(test::TempDir::Read(list),
            "Title : plot.dat\r\n\r\nType                 Ch.\r\n" + std::string(50, '-') +
                "\r\nPAR                  A001  D\r\nPAR                  A004  D\r\n" +
                std::string(50, '-') + "\r\n");
  QElapsedTimer clock;
  clock.start();
  while (!FileExists(record) && clock.elapsed() < 10000) QApplication::processEvents();
  EXPECT_EQ(test::TempDir::Read(record), list + "\n");
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(FileLibraryCommandsTest, LightListThatCannotBeWrittenStartsNoEditor) {
  const TLibItem par = LibraryType("PAR", Circle, 20, 20, {RoleDimmer});
  WriteLibrary({par});
  TLumaplotForm& f = Start({WritePlot("plot.dat", par, 1)});
  const std::string record = dir.File("editor-args.txt");
  core->Env().Editor = WriteStubEditor(dir, record);
  files.push_back(QString::fromStdString(dir.File("no such folder/list.txt")));
  f.Action(TActionId::FileList)->trigger();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].startsWith("灯体一覧を書き込めませんでした。"));
  QApplication::processEvents();
  EXPECT_FALSE(FileExists(record));

  // An editor that cannot be started: the list is written, the user is told.
  core->Env().Editor = dir.File("no-such-editor");
  files.push_back(QString::fromStdString(dir.File("list.txt")));
  f.Action(TActionId::FileList)->trigger();
  EXPECT_TRUE(FileExists(dir.File("list.txt")));
  ASSERT_EQ(warnings.size(), 1);
  EXPECT_TRUE(warnings[0].contains("エディタ[" +
                                   QString::fromStdString(dir.File("no-such-editor")) +
                                   "]を起動できませんでした"));
}

TEST_F(FileLibraryCommandsTest, PdfCommandWritesOnePageWithTheTexts) {
  const TLibItem par = LibraryType("PAR", Circle, 20, 20, {RoleDimmer});
  WriteLibrary({par});
  TLumaplotForm& f = Start({WritePlot("plot.dat", par, 1, "Stage Left")});
  const std::string pdf = dir.File("plot.pdf");
  files.push_back(QString::fromStdString(pdf));
  f.Action(TActionId::FilePdf)->trigger();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].Title, "PDFに出力");
  EXPECT_EQ(dialogs[0].FileName, "plot.pdf");
  EXPECT_TRUE(errors.isEmpty());
  const std::string bytes = test::TempDir::Read(pdf);
  ASSERT_EQ(bytes.rfind("%PDF-", 0), 0u);
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  QProcess process;
  process.start(pdftotext, {QString::fromStdString(pdf), "-"});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput()).contains("Stage Left"));
}

TEST_F(FileLibraryCommandsTest, PrintShowsThePreviewOfOnePage) {
  const TLibItem par = LibraryType("PAR", Circle, 20, 20, {RoleDimmer});
  WriteLibrary({par});
  TLumaplotForm& f = Start({WritePlot("plot.dat", par, 3)});
  core->Env().PrinterPresent = true;
  f.UpdateActions();
  int pages = -1;
  QString title;
  QTimer::singleShot(0, form.get(), [&] {
    auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(preview, nullptr);
    title = preview->windowTitle();
    QPrintPreviewWidget* widget = preview->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(widget, nullptr);
    widget->updatePreview();
    pages = widget->pageCount();
    EXPECT_EQ(widget->orientation(), QPageLayout::Landscape);
    preview->reject();
  });
  f.Action(TActionId::FilePrint)->trigger();
  EXPECT_EQ(title, "印刷プレビュー");
  EXPECT_EQ(pages, 1);
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_FALSE(f.Busy());
}

}  // namespace
}  // namespace lumaplot
