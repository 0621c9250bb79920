#pragma once
// What the main window takes from the process that creates it: where the program's
// files are, where the Art-Net engine listens and sends, how the COM1 switch port is
// opened, how the user is asked, and the splash window to report to. Start-up fills
// it from the environment; tests point it at a temporary folder, loopback and fakes.
#include <functional>
#include <memory>
#include <string>

#include <QPointer>

#include "dmx/ArtnetThread.h"
#include "ui/dialogs/SplashForm.h"
#include "ui/main/FormPrompts.h"
#include "util/ModemLines.h"

namespace lumaplot {

struct TMainFormSetup {
  std::string ProgramFolder;  // holds LIBRARY.INI and HdrData/
  std::string SettingsPath;   // the settings file
  ArtnetOptions Artnet;
  // Makes the port object behind the COM1 switch; none: the serial port driver.
  std::function<std::unique_ptr<ModemLines>()> MakeModemLines;
  TFormPrompts Prompts = TFormPrompts::Default();
  // Start-up messages go here while it lives; closed at the end of the first showing.
  QPointer<TSplashForm> Splash;
};

}  // namespace lumaplot
