// The freedesktop files of a registration, written through the state files' atomic
// replacement, and the desktop's database tools run through the process service.
#include "platform/os/desktop/Freedesktop.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string_view>

#include "platform/os/fs/FileSystem.h"
#include "platform/os/fs/FsError.h"
#include "platform/os/process/Process.h"
#include "platform/os/state/StateFile.h"

namespace zel_desktop {

namespace {

// Text for XML attributes and elements.
std::string Escaped(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A match element, its nested ones inside it.
std::string MatchXml(const MagicMatch& m, const std::string& indent) {
  std::string offset = std::to_string(m.offsetFrom);
  if (m.offsetTo > m.offsetFrom) offset += ":" + std::to_string(m.offsetTo);
  std::string xml = indent + "<match type=\"string\" value=\"" + Escaped(m.value) + "\" offset=\"" +
                    offset + "\"";
  if (m.within.empty()) return xml + "/>\n";
  xml += ">\n";
  for (const MagicMatch& inner : m.within) xml += MatchXml(inner, indent + "  ");
  return xml + indent + "</match>\n";
}

// A string value of a desktop entry: its escape character escaped.
std::string StringValue(const std::string& s) {
  std::string out;
  for (char c : s) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}

bool HasControlCharacter(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
  return false;
}

// The program as an argument of a desktop entry's Exec: quoted when it holds a character
// the field reserves, with '"', '`', '$' and '\' escaped inside the quotes; then the
// value's own escaping doubles every backslash (so a backslash of the path is four), and
// '%', the field codes' mark, is written "%%" everywhere.
std::string ExecArgument(const std::string& program) {
  const bool quoted = program.find_first_of(" \t\"'\\><~|&;$*?#()`") != std::string::npos;
  std::string out = quoted ? "\"" : "";
  for (char c : program) {
    if (c == '\\')
      out += "\\\\\\";  // with the path's own, four
    else if (c == '"' || c == '`' || c == '$')
      out += "\\\\";
    out += c == '%' ? "%%" : std::string(1, c);
  }
  return quoted ? out + "\"" : out;
}

std::error_code Write(const std::string& data, const std::string& path, const std::string& text) {
  if (data.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
  size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) {
    if (std::error_code ec = zel_state::MakeDirs(path.substr(0, slash).c_str())) return ec;
  }
  return zel_state::ReplaceFile(path.c_str(), text);
}

}  // namespace

std::string DataHome() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return xdg;
  // The user's own folder or none: never a shared folder that others could fill first.
  std::string home = ZelUserHome().str();
  return home.empty() ? home : home + "/.local/share";
}

std::string MimePackagePath(const std::string& package, const std::string& data) {
  return data + "/mime/packages/" + package + ".xml";
}

std::string DesktopEntryPath(const std::string& id, const std::string& data) {
  return data + "/applications/" + id + ".desktop";
}

std::string IconFolder(const std::string& size, const std::string& data) {
  return data + "/icons/hicolor/" + size + "/apps";
}

std::string MimePackageXml(const std::vector<MimeType>& types) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (const MimeType& t : types) {
    xml += "  <mime-type type=\"" + Escaped(t.name) + "\">\n";
    if (!t.comment.empty()) xml += "    <comment>" + Escaped(t.comment) + "</comment>\n";
    if (!t.parent.empty()) xml += "    <sub-class-of type=\"" + Escaped(t.parent) + "\"/>\n";
    for (const std::string& glob : t.globs)
      xml += "    <glob pattern=\"" + Escaped(glob) + "\"/>\n";
    if (!t.magic.empty()) {
      xml += "    <magic priority=\"" + std::to_string(t.magicPriority) + "\">\n";
      for (const MagicMatch& m : t.magic) xml += MatchXml(m, "      ");
      xml += "    </magic>\n";
    }
    xml += "  </mime-type>\n";
  }
  return xml + "</mime-info>\n";
}

std::string DesktopEntryText(const DesktopEntry& entry) {
  std::string text = "[Desktop Entry]\nType=Application\nName=" + StringValue(entry.name) + "\n";
  if (!entry.comment.empty()) text += "Comment=" + StringValue(entry.comment) + "\n";
  if (!entry.icon.empty()) text += "Icon=" + StringValue(entry.icon) + "\n";
  text += "Exec=" + ExecArgument(entry.exec);
  if (!entry.arguments.empty()) text += " " + entry.arguments;
  text += "\nTerminal=false\nMimeType=";
  for (const std::string& t : entry.mimeTypes) text += t + ";";
  text += "\n";
  // Without menus to show it in, the entry only offers the program for its types.
  text += entry.categories.empty() ? "NoDisplay=true\n" : "Categories=" + entry.categories + "\n";
  return text;
}

std::error_code WriteMimePackage(const std::string& package, const std::vector<MimeType>& types,
                                 const std::string& data) {
  return Write(data, MimePackagePath(package, data), MimePackageXml(types));
}

std::error_code WriteDesktopEntry(const DesktopEntry& entry, const std::string& data) {
  // A line break would end the key and start another; no quoting holds the others.
  for (const std::string* text :
       {&entry.exec, &entry.name, &entry.arguments, &entry.comment, &entry.icon, &entry.categories})
    if (HasControlCharacter(*text)) return ZelFsError::ControlCharacter;
  return Write(data, DesktopEntryPath(entry.id, data), DesktopEntryText(entry));
}

IconCopy CopyIcon(const std::string& icon, const std::string& themeSource,
                  const std::string& data) {
  IconCopy copy;
  if (data.empty()) {
    copy.error = std::make_error_code(std::errc::no_such_file_or_directory);
    return copy;
  }
  std::vector<std::string> sizes;
  zel_fs::ListDir(themeSource.c_str(), [&](const char* name, bool isDir) {
    if (isDir) sizes.push_back(name);
  });
  std::sort(sizes.begin(), sizes.end());
  for (const std::string& size : sizes) {
    for (const char* ext : {".png", ".svg"}) {
      const std::string from = themeSource + "/" + size + "/apps/" + icon + ext;
      std::string bytes;
      if (zel_fs::KindOf(from.c_str()) != ZelPathKind::File) continue;
      const std::string to = IconFolder(size, data) + "/" + icon + ext;
      copy.error = zel_state::ReadFile(from.c_str(), bytes);
      if (copy.error) {
        copy.failedPath = from;
        return copy;
      }
      copy.error = Write(data, to, bytes);
      if (copy.error) {
        copy.failedPath = to;
        return copy;
      }
      copy.written.push_back(to);
    }
  }
  return copy;
}

std::vector<std::string> IconFiles(const std::string& icon, const std::string& data) {
  std::vector<std::string> files;
  if (data.empty()) return files;
  const std::string theme = data + "/icons/hicolor";
  std::vector<std::string> sizes;
  zel_fs::ListDir(theme.c_str(), [&](const char* name, bool isDir) {
    if (isDir) sizes.push_back(name);
  });
  for (const std::string& size : sizes)
    for (const char* ext : {".png", ".svg"}) {
      const std::string path = IconFolder(size, data) + "/" + icon + ext;
      if (zel_fs::KindOf(path.c_str()) == ZelPathKind::File) files.push_back(path);
    }
  return files;
}

std::error_code RemoveRegistrationFile(const std::string& path, const std::string& pruneBelow) {
  if (zel_fs::KindOf(path.c_str()) == ZelPathKind::None) return {};
  if (std::error_code ec = zel_fs::RemoveFile(path.c_str())) return ec;
  if (pruneBelow.empty() || path.compare(0, pruneBelow.size() + 1, pruneBelow + "/") != 0)
    return {};
  // The folders an icon of one size alone needed; a folder that still holds something
  // stays, and so does everything from pruneBelow up.
  for (std::string dir = path.substr(0, path.rfind('/')); dir.size() > pruneBelow.size();
       dir = dir.substr(0, dir.rfind('/'))) {
    std::error_code ec;
    if (!std::filesystem::remove(dir, ec)) break;
  }
  return {};
}

namespace {

// update-mime-database writes a file per type under <mime>/<media>/ and keeps no account of
// them: the files of a type that no package defines any more stay, and a file manager may
// still read them. The rebuilt database's list ("types") decides: a type file it does not
// list goes, as a rebuild from nothing would not have written it, and so does a media
// folder left empty.
void PruneUnlistedTypeFiles(const std::string& mime) {
  std::string listed;
  if (zel_state::ReadFile((mime + "/types").c_str(), listed)) return;
  std::set<std::string, std::less<>> types;
  for (size_t at = 0; at < listed.size();) {
    const size_t end = std::min(listed.find('\n', at), listed.size());
    types.emplace(listed, at, end - at);
    at = end + 1;
  }
  std::vector<std::string> media;
  zel_fs::ListDir(mime.c_str(), [&](const char* name, bool isDir) {
    if (isDir && std::string_view(name) != "packages") media.push_back(name);
  });
  for (const std::string& folder : media) {
    std::vector<std::string> stale;
    zel_fs::ListDir((mime + "/" + folder).c_str(), [&](const char* name, bool isDir) {
      const std::string_view file(name);
      if (isDir || file.size() <= 4 || !file.ends_with(".xml")) return;
      const std::string type = folder + "/" + std::string(file.substr(0, file.size() - 4));
      if (!types.contains(type)) stale.push_back(mime + "/" + folder + "/" + name);
    });
    for (const std::string& path : stale) (void)zel_fs::RemoveFile(path.c_str());
    std::error_code ec;
    std::filesystem::remove(mime + "/" + folder, ec);  // only when nothing is left in it
  }
}

}  // namespace

std::vector<std::string> RefreshDatabases(const std::string& data) {
  std::vector<std::string> ran;
  if (data.empty()) return ran;
  std::vector<std::vector<std::string>> tools = {
      {"update-mime-database", data + "/mime"},
      {"update-desktop-database", data + "/applications"},
  };
  // The user's own theme folder has no index of its own: the cache is built without one.
  const std::string theme = data + "/icons/hicolor";
  if (zel_fs::KindOf(theme.c_str()) == ZelPathKind::Directory)
    tools.push_back({"gtk-update-icon-cache", "--force", "--ignore-theme-index", "--quiet", theme});
  // A tool that is not installed is no failure of the registration: the files are there
  // for the next rebuild of the desktop's databases.
  for (const auto& argv : tools) {
    int status = -1;
    if (zel_process::RunAndWait(argv, status) || status != 0) continue;
    if (argv[0] == "update-mime-database") PruneUnlistedTypeFiles(argv[1]);
    std::string line;
    for (const std::string& a : argv) line += (line.empty() ? "" : " ") + a;
    ran.push_back(line);
  }
  return ran;
}

}  // namespace zel_desktop
