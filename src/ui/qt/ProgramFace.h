#pragma once
// The program's face towards the desktop: its name as the windows show it, and Qt's
// own Japanese translations for the standard dialogs and buttons (はい / いいえ /
// キャンセル, the file dialog's labels). The name is not given to Qt as the
// application's display name, because the platform would then append it to every
// window title ("確認 — Lumaplot"); titles are exactly the program's own.
// GUI thread, before the first window.
#include <QApplication>
#include <QString>

namespace lumaplot {

// The program's name in captions, the splash window and the about box: the
// application's name, which SetUpProgramFace sets to "Lumaplot".
QString ProgramName();

// Names the application and loads Qt's Japanese translations from Qt's translation
// folder. False when they are missing (the standard dialogs then stay in English).
bool SetUpProgramFace(QApplication& app);

}  // namespace lumaplot
