#pragma once
// Pieces shared by lumaplot-cli's plot and library commands: the fixture library
// option, the answers to the model's questions, and the JSON form of a fixture type.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <string>
#include <utility>
#include <vector>

#include "model/LightLib.h"
#include "model/StageData.h"

namespace lumaplot::cli {

// "--library FILE", default LIBRARY.INI in the program folder.
QCommandLineOption LibraryOption();
// Loads the library the parser's --library names into `library`, by default
// LIBRARY.INI of CliProgramFolder. A missing default library is an empty one; a
// file named on the command line that is missing or no regular file, or any that
// cannot be read, is an error (false, status set).
bool LoadCliLibrary(const QCommandLineParser& parser, const QCommandLineOption& option,
                    TLightLib& library, int& status);

// "--replace OLD=NEW", repeatable.
QCommandLineOption ReplaceOption();
using TypeReplacements = std::vector<std::pair<std::string, std::string>>;
// Reads the --replace values; false (usage status set) for a value without "=".
bool ParseReplacements(const QStringList& values, TypeReplacements& replacements, int& status);
// The answer to a missing type: printed to stderr as "missing type: NAME", answered
// with the NEW of the first matching OLD (without regard to case), else the name.
TStageData::MissingTypeQuestion MissingTypeAnswers(TypeReplacements replacements);

// Reads a stage file into `document` with `library`; false (status set) on failure,
// with a message that says what is wrong (missing, not a regular file, unreadable).
bool LoadCliStage(const QString& path, const TLightLib& library, TStageData& document, int& status);

// {"Name","Shape","Width","Height","FrmColor","ExAtr","Channels","ChAtr":[16]}
QJsonObject FixtureJson(const TLibItem& item);

QString Utf8(const std::string& text);

}  // namespace lumaplot::cli
