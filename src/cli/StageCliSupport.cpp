#include "cli/StageCliSupport.h"

#include <QJsonArray>

#include <cstdint>
#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "model/StageFile.h"
#include "util/AsciiCase.h"
#include "util/FileIo.h"

namespace lumaplot::cli {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QCommandLineOption LibraryOption() {
  return QCommandLineOption(
      "library", "Fixture library (default: LIBRARY.INI in the program folder).", "FILE");
}

bool LoadCliLibrary(const QCommandLineParser& parser, const QCommandLineOption& option,
                    TLightLib& library, int& status) {
  std::string path;
  if (parser.isSet(option)) {
    path = parser.value(option).toStdString();
    std::string error;
    if (!CheckReadableFile(path, SIZE_MAX, &error)) {
      status = Fail("cannot read the library: " + Utf8(error));
      return false;
    }
  } else {
    const std::string folder = CliProgramFolder();
    if (folder.empty()) {
      status = Fail("no program folder: neither the program's folder nor a home folder is known");
      return false;
    }
    path = folder + "/LIBRARY.INI";
  }
  library.FileName = path;
  std::string error;
  if (library.LoadFromFile(path, false, &error) == kLibReadFailed) {
    status = Fail("cannot read the library: " + Utf8(error));
    return false;
  }
  return true;
}

QCommandLineOption ReplaceOption() {
  return QCommandLineOption("replace", "Answer the question about type OLD with NEW (repeatable).",
                            "OLD=NEW");
}

bool ParseReplacements(const QStringList& values, TypeReplacements& replacements, int& status) {
  for (const QString& value : values) {
    const qsizetype equals = value.indexOf('=');
    if (equals < 0) {
      status = UsageError("--replace needs OLD=NEW: " + value);
      return false;
    }
    replacements.emplace_back(value.left(equals).toStdString(),
                              value.mid(equals + 1).toStdString());
  }
  return true;
}

TStageData::MissingTypeQuestion MissingTypeAnswers(TypeReplacements replacements) {
  return [replacements = std::move(replacements)](const std::string& name) {
    std::fprintf(stderr, "missing type: %s\n", name.c_str());
    for (const auto& [oldName, newName] : replacements) {
      if (EqualsIgnoringCase(oldName, name)) return newName;
    }
    return name;
  };
}

bool LoadCliStage(const QString& path, const TLightLib& library, TStageData& document,
                  int& status) {
  TStageReadContext context;
  context.Library = &library;
  std::string error;
  // Say what is wrong with a path that is no plot file (a device, a FIFO, a folder)
  // instead of calling it missing.
  if (!CheckReadableFile(path.toStdString(), SIZE_MAX, &error) ||
      !LoadStage(document, path.toStdString(), context, &error)) {
    status = Fail("cannot read the plot: " + Utf8(error));
    return false;
  }
  return true;
}

QJsonObject FixtureJson(const TLibItem& item) {
  QJsonArray roles;
  for (int32_t role : item.ChAtr) roles.append(role);
  return {{"Name", Utf8(item.Name)},   {"Shape", item.Shape},
          {"Width", item.Width},       {"Height", item.Height},
          {"FrmColor", item.FrmColor}, {"ExAtr", item.ExAtr},
          {"Channels", item.Channels}, {"ChAtr", roles}};
}

}  // namespace lumaplot::cli
