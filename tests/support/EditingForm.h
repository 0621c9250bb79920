#pragma once
// A main window with one empty plot, for the tests of editing with the mouse and of
// the property dialogs: the core on loopback in a temporary folder, a small fixture
// library (PAR: 3 channels, Scan: 6, Dark: none), the program's questions answered
// by the test (warnings are collected, the colour dialog answers from `colors`),
// mouse events on the page with their modifiers, and a way to act inside a modal
// dialog. Destroys the window before the core.
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "model/LightLib.h"
#include "support/LoopbackCore.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/dialogs/DialogHost.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/PageView.h"
#include "ui/main/commands/FileCommands.h"

namespace lumaplot::test {

class EditingForm : public ::testing::Test {
 protected:
  void SetUp() override { TestApplication(); }
  void TearDown() override {
    if (form) form->hide();
    form.reset();
    core.reset();
  }

  // Public: the cases of a table reach them through the fixture.
 public:
  // The window with an empty, current plot. `settings` is the settings file's text
  // (an empty file when none).
  TLumaplotForm& Start(const std::string& settings = {}) {
    dir.Write("lumaplot.INI", settings);
    core = std::make_unique<TAppCore>(LoopbackCoreSetup(dir.Path()));
    TLibList& types = core->Library().Items;
    types.Add(LibraryType("PAR", Circle, 20, 20, {RoleRed, RoleGreen, RoleBlue}));
    types.Add(LibraryType("Scan", Rectangle, 30, 20,
                          {RoleDimmer, RoleRed, RoleGreen, RoleBlue, RoleNone, RoleNone}));
    types.Add(LibraryType("Dark", Rectangle, 40, 10, {}));
    TMainFormSetup setup;
    setup.Prompts.Warning = [this](const QString& text, const QString& caption) {
      warnings << (caption.isEmpty() ? text : caption + ":" + text);
    };
    setup.Prompts.Error = [this](const QString& text, const QString& caption) {
      if (caption != "ArtNet初期化エラー") errors << text;
    };
    setup.Prompts.Info = [](const QString&, const QString&) {};
    setup.Prompts.YesNoCancel = [](const QString&, const QString&) { return QMessageBox::No; };
    setup.Prompts.SaveFileName = [this](const TFileDialogRequest&) { return saveAs; };
    setup.Prompts.OpenFileName = [](const TFileDialogRequest&) { return QString(); };
    setup.Prompts.Beep = [] {};
    setup.Prompts.ChooseColor = [this](int32_t& color) {
      colorAskedWith.push_back(color);
      if (colors.empty()) return false;
      color = colors.front();
      colors.pop_front();
      return true;
    };
    setup.AskMissingType = [](const std::string& name) { return name; };
    form = std::make_unique<TLumaplotForm>(*core, std::move(setup));
    form->resize(1100, 800);
    form->show();
    QApplication::processEvents();
    FileNewItemClick(form->Context());
    // The refresh tick is driven by the tests.
    form->Timer1()->stop();
    return *form;
  }

  TStageData& Doc() { return *core->CurrentDoc(); }
  TPageBox* Page() { return form->ScrollBox()->ScrBox(); }

  void Send(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held,
            Qt::KeyboardModifiers modifiers) {
    const QPointF at(x, y);
    QMouseEvent event(type, at, Page()->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(Page(), &event);
  }
  void Press(int x, int y, Qt::KeyboardModifiers modifiers = {},
             Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(Page(), button, modifiers, QPoint(x, y));
  }
  void Release(int x, int y, Qt::KeyboardModifiers modifiers = {},
               Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(Page(), button, modifiers, QPoint(x, y));
  }
  // A move with the left button held (or, with `held` false, none).
  void Move(int x, int y, Qt::KeyboardModifiers modifiers = {}, bool held = true) {
    Send(QEvent::MouseMove, x, y, Qt::NoButton, held ? Qt::LeftButton : Qt::NoButton, modifiers);
  }
  void Click(int x, int y, Qt::KeyboardModifiers modifiers = {}) {
    Press(x, y, modifiers);
    Release(x, y, modifiers);
  }
  // What the system sends for a double click: press, release, double-click, release.
  void DoubleClick(int x, int y) {
    Click(x, y);
    QTest::mouseDClick(Page(), Qt::LeftButton, {}, QPoint(x, y));
    Release(x, y);
  }
  void Drag(int fromX, int fromY, int toX, int toY, Qt::KeyboardModifiers modifiers = {}) {
    Press(fromX, fromY, modifiers);
    Move(toX, toY, modifiers);
    Release(toX, toY, modifiers);
  }

  // Runs `act` on the dialog `Dialog` once it is showing modally; a dialog still
  // open afterwards is cancelled, so that no test waits for ever. `shown` tells
  // whether it came up.
  template <class Dialog>
  void WhenShown(std::function<void(Dialog&)> act) {
    shown = false;
    QPointer<Dialog> dialog(&form->Dialogs().Get<Dialog>());
    QTimer::singleShot(0, form.get(), [this, dialog, act] {
      if (!dialog || !dialog->isVisible()) return;
      shown = true;
      act(*dialog);
      if (dialog && dialog->isVisible()) dialog->reject();
    });
  }

  TempDir dir;
  std::unique_ptr<TAppCore> core;
  std::unique_ptr<TLumaplotForm> form;
  QStringList warnings;
  QStringList errors;
  std::deque<int32_t> colors;
  std::vector<int32_t> colorAskedWith;
  QString saveAs;
  bool shown = false;
};

}  // namespace lumaplot::test
