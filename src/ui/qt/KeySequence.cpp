#include "ui/qt/KeySequence.h"

#include <array>

namespace lumaplot {
namespace {

struct KeyPair {
  ShortCut code;  // Windows virtual-key code
  Qt::Key key;
};

// The named keys other than letters, digits and F1 … F12.
constexpr std::array<KeyPair, 15> kNamedKeys{{
    {0x2E, Qt::Key_Delete},
    {0x2D, Qt::Key_Insert},
    {0x08, Qt::Key_Backspace},
    {0x21, Qt::Key_PageUp},
    {0x22, Qt::Key_PageDown},
    {0x24, Qt::Key_Home},
    {0x23, Qt::Key_End},
    {0x25, Qt::Key_Left},
    {0x26, Qt::Key_Up},
    {0x27, Qt::Key_Right},
    {0x28, Qt::Key_Down},
    {0x09, Qt::Key_Tab},
    {0x1B, Qt::Key_Escape},
    {0x0D, Qt::Key_Return},
    {0x20, Qt::Key_Space},
}};

constexpr ShortCut kCodeF1 = 0x70;
constexpr int kFunctionKeys = 12;

// Letters and digits have the same codes in both worlds ('A' = Qt::Key_A = 0x41).
bool IsLetterOrDigit(int code) {
  return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

int QtKeyOfCode(ShortCut code) {
  if (IsLetterOrDigit(code)) return code;
  if (code >= kCodeF1 && code < kCodeF1 + kFunctionKeys) return Qt::Key_F1 + (code - kCodeF1);
  for (const KeyPair& pair : kNamedKeys) {
    if (pair.code == code) return pair.key;
  }
  return 0;
}

ShortCut CodeOfQtKey(int key) {
  if (IsLetterOrDigit(key)) return static_cast<ShortCut>(key);
  if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kFunctionKeys) {
    return static_cast<ShortCut>(kCodeF1 + (key - Qt::Key_F1));
  }
  if (key == Qt::Key_Enter) key = Qt::Key_Return;  // the keypad's Enter
  for (const KeyPair& pair : kNamedKeys) {
    if (pair.key == key) return pair.code;
  }
  return kNoShortCut;
}

}  // namespace

QKeySequence ToKeySequence(ShortCut shortcut) {
  const int key = QtKeyOfCode(shortcut & kShortCutKeyMask);
  if (key == 0) return {};
  Qt::KeyboardModifiers modifiers;
  if (shortcut & kShortCutShift) modifiers |= Qt::ShiftModifier;
  if (shortcut & kShortCutCtrl) modifiers |= Qt::ControlModifier;
  if (shortcut & kShortCutAlt) modifiers |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

ShortCut FromKeySequence(const QKeySequence& sequence) {
  if (sequence.isEmpty()) return kNoShortCut;
  const QKeyCombination combination = sequence[0];
  Qt::KeyboardModifiers modifiers = combination.keyboardModifiers() & ~Qt::KeypadModifier;
  int key = combination.key();
  // Qt reports Shift+Tab as Backtab.
  if (key == Qt::Key_Backtab) {
    key = Qt::Key_Tab;
    modifiers |= Qt::ShiftModifier;
  }
  const ShortCut code = CodeOfQtKey(key);
  if (code == kNoShortCut || (modifiers & Qt::MetaModifier)) return kNoShortCut;
  ShortCut shortcut = code;
  if (modifiers & Qt::ShiftModifier) shortcut |= kShortCutShift;
  if (modifiers & Qt::ControlModifier) shortcut |= kShortCutCtrl;
  if (modifiers & Qt::AltModifier) shortcut |= kShortCutAlt;
  return shortcut;
}

}  // namespace lumaplot
