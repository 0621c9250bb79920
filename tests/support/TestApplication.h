#pragma once
// The one QApplication of the in-process ui tests. Tests that need widgets call
// TestApplication() first; it creates the application on the offscreen platform
// (unless QT_QPA_PLATFORM says otherwise) with the program's face: its name and
// Qt's Japanese translations.
#include <QApplication>

#include "ui/qt/ProgramFace.h"

namespace lumaplot::test {

inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "test_ui";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* created = new QApplication(argc, argv);
    SetUpProgramFace(*created);
    return created;
  }();
  return *app;
}

}  // namespace lumaplot::test
