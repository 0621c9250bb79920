#pragma once
// What the main window takes from the process that creates it besides the core:
// how the user is asked, and the splash window to report to. Tests replace single
// prompts with scripted answers.
#include <QPointer>

#include <functional>
#include <string>

#include "ui/dialogs/SplashForm.h"
#include "ui/qt/Prompts.h"

namespace lumaplot {

struct TMainFormSetup {
  TPrompts Prompts = TPrompts::Default();
  // Start-up messages go here while it lives; closed at the end of the first showing.
  QPointer<TSplashForm> Splash;
  // Asks which library type stands in for a type a plot names but the library
  // lacks; none: the change-type dialog asks.
  std::function<std::string(const std::string& name)> AskMissingType;
};

}  // namespace lumaplot
