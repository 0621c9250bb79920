#include "util/ExternalProgram.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "util/AsciiCase.h"
#include "util/FileIo.h"
#include "util/NumberText.h"

extern char** environ;

namespace lumaplot {
namespace {

struct FilePosition {
  std::string fileName;
  int line = 1;
};

int LineOfPosition(std::string_view position) {
  std::string_view number = position.substr(0, position.find_first_of(":)"));
  const size_t bracket = number.find('(');
  if (bracket != std::string_view::npos) number.remove_prefix(bracket + 1);
  number = TrimControls(number);
  if (number.empty()) return 1;
  return std::max(1, static_cast<int>(ReadNumber(number, 1)));
}

FilePosition SplitFileSpec(std::string_view fileSpec) {
  fileSpec = TrimControls(fileSpec);
  if (FileExists(std::string(fileSpec))) return {std::string(fileSpec), 1};
  std::string_view name;
  std::string_view position;
  if (!fileSpec.empty() && fileSpec.front() == '"') {
    const size_t close = fileSpec.find('"', 1);
    name = fileSpec.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    position = close == std::string_view::npos ? std::string_view{} : fileSpec.substr(close + 1);
  } else {
    const size_t end = fileSpec.find_first_of(" (");
    name = fileSpec.substr(0, end);
    position = end == std::string_view::npos ? std::string_view{} : fileSpec.substr(end);
  }
  return {std::string(name), LineOfPosition(TrimControls(position))};
}

// Blank-separated words; a double-quoted run is part of a word and keeps its blanks.
std::vector<std::string> SplitTemplate(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

// One pass, so a "$L" inside the substituted file name stays as it is.
std::string Substitute(std::string_view word, const std::string& fileName,
                       const std::string& line) {
  std::string result;
  for (size_t i = 0; i < word.size(); ++i) {
    if (word[i] == '$' && i + 1 < word.size() && (word[i + 1] == 'F' || word[i + 1] == 'L')) {
      result += word[i + 1] == 'F' ? fileName : line;
      ++i;
    } else {
      result += word[i];
    }
  }
  return result;
}

void SetError(std::string* error, const std::string& message) {
  if (error) *error = message;
}

}  // namespace

bool StartProgram(const std::vector<std::string>& arguments, std::string* error) {
  if (arguments.empty() || arguments.front().empty()) {
    SetError(error, "no program to start");
    return false;
  }
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  // The child gets default signal handling, no blocked signals and a session of its
  // own, so it neither inherits our signal setup nor dies with our terminal.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  sigfillset(&signals);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

  pid_t pid = 0;
  const int result = ::posix_spawnp(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (result != 0) {
    SetError(error, "cannot start " + arguments.front() + ": " + std::strerror(result));
    return false;
  }
  // Reap the child whenever it ends so that it does not linger as a zombie.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

bool OpenWithProgram(std::string_view fileSpec, std::string_view program,
                     std::string_view argumentTemplate, std::string* error,
                     const ProgramStarter& starter) {
  program = TrimControls(program);
  if (program.empty() || TrimControls(fileSpec).empty()) {
    SetError(error, "no program or no file");
    return false;
  }
  FilePosition target = SplitFileSpec(fileSpec);
  if (target.fileName.empty() || !FileExists(target.fileName)) {
    SetError(error, "file not found: " + target.fileName);
    return false;
  }
  if (target.fileName.front() == '-') target.fileName.insert(0, "./");

  std::vector<std::string> arguments{std::string(program)};
  if (TrimControls(argumentTemplate).empty()) {
    arguments.push_back(target.fileName);
  } else {
    const std::string line = std::to_string(target.line);
    for (const std::string& word : SplitTemplate(argumentTemplate)) {
      arguments.push_back(Substitute(word, target.fileName, line));
    }
  }
  return starter(arguments, error);
}

std::string EditorProgram(std::string_view editor) {
  editor = TrimControls(editor);
  std::string_view name = editor.substr(editor.find_last_of("/\\") + 1);
  if (editor.empty() || EqualsIgnoringCase(name, "notepad") ||
      EqualsIgnoringCase(name, "notepad.exe")) {
    return kDesktopOpener;
  }
  return std::string(editor);
}

}  // namespace lumaplot
