// Lumaplot: one instance at a time, a splash window while it starts, then the main
// window, which owns everything else.
#include <QApplication>
#include <QPointer>

#include <cstdio>
#include <string>

#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/ChgLtypeDlg.h"
#include "ui/dialogs/SplashForm.h"
#include "ui/main/ArtnetEnvironment.h"
#include "ui/main/LumaplotForm.h"
#include "ui/qt/MessageBoxes.h"
#include "ui/qt/ProgramIcon.h"
#include "ui/qt/Resources.h"
#include "util/ProgramFolder.h"
#include "util/SingleInstance.h"

namespace {

// What a second instance ends with (-1 as an exit status).
constexpr int kAlreadyRunningStatus = 255;

int StartFailed(QPointer<lumaplot::TSplashForm>& splash, const std::string& reason) {
  if (splash) splash->close();
  std::fprintf(stderr, "lumaplot: %s\n", reason.c_str());
  lumaplot::MsgError(QString::fromStdString(reason));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace lumaplot;
  SingleInstanceLock instance;
  if (instance.Acquire() == SingleInstanceLock::Result::AlreadyRunning) {
    return kAlreadyRunningStatus;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName("Lumaplot");
  InitResources();
  QApplication::setWindowIcon(ProgramIcon());

  QPointer<TSplashForm> splash = new TSplashForm;
  splash->SetDisplayTime(0);
  splash->show();
  QApplication::processEvents();

  TMainFormSetup setup;
  std::string error;
  const std::string executable = ExecutablePath();
  setup.ProgramFolder = ResolveProgramFolder(executable, &error);
  if (setup.ProgramFolder.empty()) return StartFailed(splash, error);
  setup.SettingsPath = SettingsFilePath(setup.ProgramFolder, executable);
  if (!ReadArtnetEnvironment(setup.Artnet, &error)) return StartFailed(splash, error);
  setup.Splash = splash;

  TLumaplotForm form(std::move(setup));
  TMainDialogs dialogs;
  dialogs.ChgLtypeDlg = new TChgLtypeDlg(form.LightLib(), &form);
  dialogs.AboutBox = new TAboutBox(&form);
  form.SetDialogs(dialogs);
  form.show();
  return app.exec();
}
