// The freedesktop files of a registration, written through the state files' atomic
// replacement, and the desktop's database tools run through the process service.
#include "platform/os/desktop/Freedesktop.h"

#include <cstdlib>

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

std::error_code Write(const std::string& path, const std::string& text) {
  if (DataHome().empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
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

std::string MimePackagePath(const std::string& package) {
  return DataHome() + "/mime/packages/" + package + ".xml";
}

std::string DesktopEntryPath(const std::string& id) {
  return DataHome() + "/applications/" + id + ".desktop";
}

std::string MimePackageXml(const std::vector<MimeType>& types) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (const MimeType& t : types) {
    xml += "  <mime-type type=\"" + Escaped(t.name) + "\">\n";
    if (!t.comment.empty()) xml += "    <comment>" + Escaped(t.comment) + "</comment>\n";
    for (const std::string& glob : t.globs)
      xml += "    <glob pattern=\"" + Escaped(glob) + "\"/>\n";
    if (!t.magic.empty()) {
      xml += "    <magic priority=\"" + std::to_string(t.magicPriority) + "\">\n";
      for (const MagicMatch& m : t.magic) {
        std::string offset = std::to_string(m.offsetFrom);
        if (m.offsetTo > m.offsetFrom) offset += ":" + std::to_string(m.offsetTo);
        xml += "      <match type=\"string\" value=\"" + Escaped(m.value) + "\" offset=\"" +
               offset + "\"/>\n";
      }
      xml += "    </magic>\n";
    }
    xml += "  </mime-type>\n";
  }
  return xml + "</mime-info>\n";
}

std::string DesktopEntryText(const DesktopEntry& entry) {
  std::string types;
  for (const std::string& t : entry.mimeTypes) types += t + ";";
  // Offered for its document types only: the programs' own menu entries come with their
  // packages, so this one stays out of the menus.
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" +
         StringValue(entry.name) +
         "\n"
         "Exec=" +
         ExecArgument(entry.exec) +
         " %f\n"
         "MimeType=" +
         types +
         "\n"
         "NoDisplay=true\n";
}

std::error_code WriteMimePackage(const std::string& package, const std::vector<MimeType>& types) {
  return Write(MimePackagePath(package), MimePackageXml(types));
}

std::error_code WriteDesktopEntry(const DesktopEntry& entry) {
  // A line break would end the key and start another; no quoting holds the others.
  if (HasControlCharacter(entry.exec) || HasControlCharacter(entry.name))
    return ZelFsError::ControlCharacter;
  return Write(DesktopEntryPath(entry.id), DesktopEntryText(entry));
}

std::error_code RemoveRegistrationFile(const std::string& path) {
  if (zel_fs::KindOf(path.c_str()) == ZelPathKind::None) return {};
  return zel_fs::RemoveFile(path.c_str());
}

std::vector<std::string> RefreshDatabases() {
  std::vector<std::string> ran;
  if (DataHome().empty()) return ran;
  const std::vector<std::vector<std::string>> tools = {
      {"update-mime-database", DataHome() + "/mime"},
      {"update-desktop-database", DataHome() + "/applications"},
  };
  // A tool that is not installed is no failure of the registration: the files are there
  // for the next rebuild of the desktop's databases.
  for (const auto& argv : tools) {
    int status = -1;
    if (zel_process::RunAndWait(argv, status) || status != 0) continue;
    std::string line;
    for (const std::string& a : argv) line += (line.empty() ? "" : " ") + a;
    ran.push_back(line);
  }
  return ran;
}

}  // namespace zel_desktop
