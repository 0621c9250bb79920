#include "util/ProgramFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace lumaplot {
namespace {

namespace fs = std::filesystem;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Whether a file can really be created there: permission bits say nothing for root,
// and a read-only mount or a folder that is a file only shows on trying.
bool CanCreateFilesIn(const std::string& folder) {
  std::string probe = folder + "/.lumaplot-probe-XXXXXX";
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

bool EnsureFolder(const std::string& folder, std::string* error) {
  std::error_code code;
  fs::create_directories(folder, code);
  if (fs::is_directory(folder, code)) return true;
  if (error) *error = "cannot create the folder " + folder;
  return false;
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (!home.empty()) return home;
  const passwd* user = ::getpwuid(::getuid());
  return user && user->pw_dir ? user->pw_dir : "";
}

std::string ConfigFolder() {
  const std::string xdg = Environment("XDG_CONFIG_HOME");
  if (!xdg.empty() && xdg.front() == '/') return WithoutTrailingSlash(xdg) + "/lumaplot";
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  return WithoutTrailingSlash(home) + "/.config/lumaplot";
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

std::string ExecutablePath() {
  std::error_code code;
  std::string path = fs::read_symlink("/proc/self/exe", code).string();
  if (code) return {};
  const std::string deleted = " (deleted)";
  if (path.size() > deleted.size() && path.ends_with(deleted))
    path.resize(path.size() - deleted.size());
  return path;
}

std::string ResolveProgramFolder(const std::string& executablePath, std::string* error) {
  std::string folder;
  const std::string home = Environment("LUMAPLOT_HOME");
  if (!home.empty()) {
    std::error_code ignored;
    folder = WithoutTrailingSlash(fs::absolute(home, ignored).lexically_normal().string());
    EnsureFolder(folder, nullptr);
  } else if (!executablePath.empty()) {
    folder = FolderOf(executablePath);
  }
  std::error_code code;
  if (!folder.empty() && fs::is_directory(folder, code) && CanCreateFilesIn(folder)) return folder;

  const std::string config = ConfigFolder();
  if (config.empty()) {
    if (error) *error = "no writable program folder and no home folder";
    return {};
  }
  if (!EnsureFolder(config, error)) return {};
  return config;
}

std::string ProgramFolderForReading(const std::string& executablePath, std::string* note) {
  if (note) note->clear();
  std::error_code code;
  const std::string home = Environment("LUMAPLOT_HOME");
  if (!home.empty()) {
    const std::string folder =
        WithoutTrailingSlash(fs::absolute(home, code).lexically_normal().string());
    if (note && !fs::is_directory(folder, code)) {
      *note = "the program folder " + folder + " (LUMAPLOT_HOME) does not exist; nothing is read";
    } else if (note && !CanCreateFilesIn(folder)) {
      *note =
          "reading from the program folder " + folder + " (LUMAPLOT_HOME), which is not writable";
    }
    return folder;
  }
  const std::string own = executablePath.empty() ? std::string() : FolderOf(executablePath);
  if (!own.empty() && fs::is_directory(own, code) && CanCreateFilesIn(own)) return own;
  const std::string config = ConfigFolder();
  if (config.empty()) {
    if (note && !own.empty()) *note = "reading from " + own + ", which is not writable";
    return own;
  }
  if (note) {
    *note = "the folder of the program " + (own.empty() ? std::string("(unknown)") : own) +
            " is not writable; reading from " + config + ", where the program keeps its files";
  }
  return config;
}

std::string SettingsFilePath(const std::string& folder, const std::string& executablePath) {
  const size_t slash = executablePath.rfind('/');
  std::string name = slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
  if (name.empty()) name = "lumaplot";
  std::string base = WithoutTrailingSlash(folder);
  if (base != "/") base += '/';
  return base + name + ".INI";
}

}  // namespace lumaplot
