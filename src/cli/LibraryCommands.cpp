// lumaplot-cli library and library-merge: the fixture library file.
#include <QCommandLineParser>

#include <cstdint>
#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/CliIo.h"
#include "cli/StageCliSupport.h"
#include "util/FileIo.h"

namespace lumaplot::cli {

int RunLibrary(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Prints the fixture types of a library file as JSON lines.");
  parser.addPositionalArgument("FILE", "The library file (LIBRARY.INI).");
  int status = kExitOk;
  if (!ParseCommandLine(parser, "library", args, status)) return status;
  if (parser.positionalArguments().size() != 1) return UsageError("library takes one FILE");
  const std::string path = parser.positionalArguments().front().toStdString();
  std::string error;
  if (!CheckReadableFile(path, SIZE_MAX, &error)) return Fail(Utf8(error));
  TLightLib library(path);
  if (library.LoadFromFile(path, false, &error) == kLibReadFailed) {
    return Fail("cannot read the library: " + Utf8(error));
  }
  for (int i = 0; i < library.Items.Count(); ++i) PrintJsonLine(FixtureJson(library.Items[i]));
  return kExitOk;
}

int RunLibraryMerge(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Merges the types of SOURCE into the library TARGET, saves TARGET and prints how many "
      "types were new or differed (-1 when the library reached 200 types).");
  parser.addPositionalArgument("TARGET", "The library file to merge into and save.");
  parser.addPositionalArgument("SOURCE", "The library file whose types are taken in.");
  const QCommandLineOption answer(
      "answer", "Replace a held type by a differing one of the same name (yes) or keep it (no).",
      "yes|no", "no");
  parser.addOption(answer);
  int status = kExitOk;
  if (!ParseCommandLine(parser, "library-merge", args, status)) return status;
  if (parser.positionalArguments().size() != 2) {
    return UsageError("library-merge takes TARGET and SOURCE");
  }
  const QString answerText = parser.value(answer);
  if (answerText != "yes" && answerText != "no") return UsageError("--answer takes yes or no");
  const std::string target = parser.positionalArguments().at(0).toStdString();
  const std::string source = parser.positionalArguments().at(1).toStdString();
  std::string error;
  if (!CheckReadableFile(source, SIZE_MAX, &error)) return Fail(Utf8(error));

  TLightLib library(target);
  const bool replace = answerText == "yes";
  library.OnDuplicateName = [replace](const std::string& name) {
    std::fprintf(stderr, "duplicate type: %s\n", name.c_str());
    return replace;
  };
  if (library.LoadFromFile(target, false, &error) == kLibReadFailed) {
    return Fail("cannot read the library: " + Utf8(error));
  }
  const int result = library.LoadFromFile(source, true, &error);
  if (result == kLibReadFailed) return Fail("cannot read " + Utf8(source) + ": " + Utf8(error));
  if (!library.SaveToFile(target, &error)) return Fail("cannot write the library: " + Utf8(error));
  std::printf("%d\n", result);
  if (result == kLibLimitReached) {
    return Fail("the library holds 200 types; the types after those were not merged");
  }
  return kExitOk;
}

}  // namespace lumaplot::cli
