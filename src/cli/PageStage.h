#pragma once
// Reading a plot for the commands that draw its page (render, pdf): the stage file
// with its fixture library and its background picture, which must be found and
// decoded, since a page without the picture it names is not the page asked for.
#include <QString>

#include "model/LightLib.h"
#include "model/StageData.h"

namespace lumaplot::cli {

// Reads the stage file `path` into `doc` with `library`. A relative picture name is
// looked for in the program folder, as the program does, and then beside the plot.
// False (status set, the reason on stderr) when the plot cannot be read or its
// picture is not shown.
bool LoadPageStage(const QString& path, const TLightLib& library, TStageData& doc, int& status);

}  // namespace lumaplot::cli
