#pragma once
// Spreading, narrowing or turning the selection of a document about a reference
// point, as the stretch dialog does while its slider moves.
//
// Every call starts from the positions remembered when the dialog opened (`BaseX`,
// `BaseY` of each object, set by the caller), never from the previous result, so
// the slider can move back and forth without drift. Lights measure with their body
// `Width` x `Height`, other kinds with the 20 x 20 box they are built with.
//
// The change is all or nothing: when any selected object would end partly off the
// page (left or above 0, right of `ScrWidth`, below `ScrHeight`), no object moves.
// Stretch neither pushes the position history nor marks the document modified;
// the caller does both. GUI thread only.
#include "model/StageData.h"

namespace lumaplot {

enum TStretchMode : int {
  StretchRadial = 0,      // "放射(&C)": centres move away from the selection's centre
  StretchDiagonal = 1,    // "斜め(&L)": top-left corners move away from its top-left corner
  StretchHorizontal = 2,  // "左右(&H)": as radial, horizontally only
  StretchVertical = 3,    // "上下(&V)": as radial, vertically only
  StretchRotate = 4,  // "回転(&R)": turn about the centre, factor 1 = a quarter turn clockwise
};

// Places every selected object at `factor` times its remembered distance from the
// reference point (or turns it by factor x 90 degrees in StretchRotate). The
// selected objects are erased before and drawn after. Returns true when the objects
// moved; false, with nothing moved, when fewer than 2 objects are selected, the
// mode is unknown, `factor` is not a finite number, or an object would leave the page.
bool Stretch(TStageData& doc, int mode, double factor);

}  // namespace lumaplot
