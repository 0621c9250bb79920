// Lumaplot: one instance at a time, a splash window while it starts, then the
// application core and the main window over it.
#include <QApplication>
#include <QPointer>

#include <cstdio>
#include <memory>
#include <string>

#include "core/AppCore.h"
#include "core/ArtnetEnvironment.h"
#include "ui/dialogs/SplashForm.h"
#include "ui/main/LumaplotForm.h"
#include "ui/qt/MessageBoxes.h"
#include "ui/qt/PagePrinter.h"
#include "ui/qt/ProgramFace.h"
#include "ui/qt/ProgramIcon.h"
#include "ui/qt/QtPictureLoader.h"
#include "ui/qt/Resources.h"
#include "ui/qt/StopSignals.h"
#include "util/PictureLoader.h"
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
  SetUpProgramFace(app);
  InitResources();
  QApplication::setWindowIcon(ProgramIcon());

  QPointer<TSplashForm> splash = new TSplashForm;
  splash->SetDisplayTime(0);
  splash->show();
  QApplication::processEvents();

  TCoreSetup setup;
  std::string error;
  const std::string executable = ExecutablePath();
  setup.ProgramFolder = ResolveProgramFolder(executable, &error);
  if (setup.ProgramFolder.empty()) return StartFailed(splash, error);
  setup.SettingsPath = SettingsFilePath(setup.ProgramFolder, executable);
  if (!ReadArtnetEnvironment(setup.Artnet, &error)) return StartFailed(splash, error);
  setup.ArtnetBindFixed = ArtnetBindFromEnvironment();
  setup.ArtnetDestFixed = ArtnetDestFromEnvironment();
  // Declared before the core, which borrows it through the guard in front of it.
  QtPictureLoader decoder;
  setup.Pictures = std::make_shared<CheckedPictureLoader>(decoder);

  TAppCore core(std::move(setup));
  // Printing is offered only when a printer is installed; a PDF can always be written.
  core.Env().PrinterPresent = PrinterInstalled();
  TMainFormSetup formSetup;
  formSetup.Splash = splash;
  TLumaplotForm form(core, std::move(formSetup));
  // A logout, a shutdown or a kill closes the program as an exit does, without
  // questions; unsaved plots are kept as recovery copies.
  TStopSignals stopSignals;
  QObject::connect(&stopSignals, &TStopSignals::Received, &form, [&form] {
    form.EndSession();
    // Also ends a dialog that was open: every event loop returns.
    QCoreApplication::exit(0);
  });
  form.show();
  return app.exec();
}
