#include "cli/PageStage.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "cli/StageCliSupport.h"
#include "model/StageFile.h"
#include "ui/qt/QtPictureLoader.h"
#include "util/FileIo.h"
#include "util/PictureLoader.h"

namespace lumaplot::cli {
namespace {

// A relative picture name is looked for in the program folder, as the program does,
// and then beside the plot. Whatever is found goes to the picture loader, which
// says what is wrong with it when it is no picture file.
TPathResolver PictureResolver(const QString& stagePath) {
  const std::string programFolder = CliProgramFolder();
  const std::string plotFolder = QFileInfo(stagePath).absolutePath().toStdString();
  return [programFolder, plotFolder](std::string& path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty()) return false;
    std::error_code ignored;
    if (path.front() == '/') return std::filesystem::exists(path, ignored);
    for (const std::string& folder : {programFolder, plotFolder}) {
      if (folder.empty()) continue;
      const std::string candidate = folder + "/" + path;
      if (std::filesystem::exists(candidate, ignored)) {
        path = candidate;
        return true;
      }
    }
    return false;
  };
}

}  // namespace

// A page without the picture it names is not the page asked for: the command fails
// and says why, instead of writing a picture or PDF that looks finished.
bool LoadPageStage(const QString& path, const TLightLib& library, TStageData& doc, int& status) {
  QtPictureLoader decoder;
  CheckedPictureLoader pictures(decoder);
  TStageReadContext context;
  context.Library = &library;
  context.Pictures = &pictures;
  context.ResolvePath = PictureResolver(path);
  std::string error;
  if (!CheckReadableFile(path.toStdString(), SIZE_MAX, &error) ||
      !LoadStage(doc, path.toStdString(), context, &error)) {
    status = Fail("cannot read the plot: " + Utf8(error));
    return false;
  }
  if (!doc.BgImage.empty() && !doc.Background) {
    const std::string reason = pictures.LastError().empty() ? "not found" : pictures.LastError();
    status = Fail("the background picture " + Utf8(doc.BgImage) + " is not shown: " + Utf8(reason));
    return false;
  }
  return true;
}

}  // namespace lumaplot::cli
