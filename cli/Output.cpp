// zel's messages and JSON output.
#include "cli/Output.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "files/ZelFileSpec.h"
#include "platform/base/compress/Contents.h"
#include "platform/base/string/Utf8.h"

namespace zel_cli {

namespace {

// The length of the valid UTF-8 sequence at p (n bytes left), 0 when none starts there.
size_t SequenceLength(const char* p, size_t n) {
  if (static_cast<unsigned char>(p[0]) < 0x80) return 1;
  return static_cast<size_t>(Utf8SequenceAt(p, static_cast<int>(std::min<size_t>(n, 4)), nullptr));
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    size_t len = SequenceLength(bytes.data() + i, bytes.size() - i);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::string ToValidUtf8(std::string_view bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size();) {
    size_t len = SequenceLength(bytes.data() + i, bytes.size() - i);
    if (len == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(bytes.substr(i, len));
      i += len;
    }
  }
  return out;
}

std::string BytesAsCodePoints(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Hex(std::string_view bytes) {
  static const char* const digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

void PutPath(Json& object, const std::string& path) {
  if (IsValidUtf8(path)) {
    object["path"] = path;
    return;
  }
  object["path"] = ToValidUtf8(path);
  object["pathHex"] = Hex(path);
}

void PrintJson(const Json& document) {
  // Texts from elsewhere that slipped through unconverted still make valid JSON.
  std::string text = document.dump(2, ' ', false, Json::error_handler_t::replace);
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

void Message(const std::string& text) {
  std::fflush(stdout);
  std::fprintf(stderr, "zel: %s\n", text.c_str());
}

std::string FailureText(const std::string& path, CException& e, bool reading) {
  if (auto* damage = dynamic_cast<CCompressedDataException*>(&e))
    return path + ": damaged compressed data (" + damage->m_strReason.str() + ")";
  std::string text = ZelExceptionText(&e, reading ? 1 : 0, path.c_str()).str();
  if (text.empty()) text = path + ": failed";
  // The library's message keeps its own line break after the name; one line here.
  for (size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, ": ");
  if (auto* fe = dynamic_cast<CFileException*>(&e); fe && fe->m_lOsError > 0)
    text += std::string(" (") + std::strerror(static_cast<int>(fe->m_lOsError)) + ")";
  // What the cause cannot say, such as the class an archive does not know.
  if (char description[1024]; e.GetErrorMessage(description, sizeof description))
    text += std::string(" (") + description + ")";
  return text;
}

bool IsRegularFile(const std::string& path, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_type type = fs::status(path, ec).type();
  if (ec || type == fs::file_type::regular || type == fs::file_type::directory ||
      type == fs::file_type::not_found)
    return true;
  error = path + ": not a regular file";
  return false;
}

}  // namespace zel_cli
