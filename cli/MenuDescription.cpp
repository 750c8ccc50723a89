// Menus from their JSON descriptions, and the suite's own menu.
#include "cli/MenuDescription.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/Output.h"
#include "platform/base/string/Utf8.h"

namespace zel_cli {

const char* const kSuiteMenu = R"([
  {"text": "&File", "popup": [{"text": "&Open...", "id": 57601}]},
  {"text": "&Edit", "popup": [{"text": "&Copy", "id": 57634}]},
  {"text": "&Tools", "state": 3, "popup": [{"text": "&Options...", "id": 32771}]},
  {"text": "&Analyze", "popup": [{"separator": true}]},
  {"text": "&Help", "popup": [{"text": "&About...", "id": 57664}]}
])";

namespace {

// A description that does not fit: where (as "[2].popup[0].id") and what was expected.
struct DescriptionError {
  std::string where;
  std::string what;
};

}  // namespace

bool ToMenuBytes(const std::string& utf8, std::string& bytes) {
  bytes.clear();
  for (size_t i = 0; i < utf8.size();) {
    char32_t code = static_cast<unsigned char>(utf8[i]);
    int length = 1;
    if (code >= 0x80) {
      const int left = static_cast<int>(std::min<size_t>(utf8.size() - i, 4));
      length = Utf8SequenceAt(utf8.data() + i, left, &code);
      // Menu texts are Latin-1: U+0000 to U+00FF are one byte each, the rest does not fit.
      if (length == 0 || code > 0xFF) return false;
    }
    bytes += static_cast<char>(code);
    i += static_cast<size_t>(length);
  }
  return true;
}

namespace {

void Build(const Json& items, CMenu& menu, const std::string& path) {
  if (!items.is_array()) throw DescriptionError{path, "expected an array of items"};
  for (size_t i = 0; i < items.size(); ++i) {
    const Json& item = items[i];
    const std::string at = path + "[" + std::to_string(i) + "]";
    if (!item.is_object()) throw DescriptionError{at, "expected an object"};
    for (const auto& [key, value] : item.items())
      if (key != "text" && key != "id" && key != "state" && key != "separator" && key != "popup")
        throw DescriptionError{at + "." + key, "unknown field"};
    std::string text;
    if (item.contains("text")) {
      if (!item["text"].is_string()) throw DescriptionError{at + ".text", "expected a string"};
      if (!ToMenuBytes(item["text"].get<std::string>(), text))
        throw DescriptionError{at + ".text", "expected characters up to U+00FF"};
    }
    UINT id = 0;
    if (item.contains("id")) {
      const Json& v = item["id"];
      if (!v.is_number()) throw DescriptionError{at + ".id", "expected a number"};
      if (!v.is_number_integer() || v.get<long long>() < 0 || v.get<long long>() > 0xFFFF)
        throw DescriptionError{at + ".id", "expected a number from 0 to 65535"};
      id = v.get<UINT>();
    }
    UINT state = 0;
    if (item.contains("state")) {
      const Json& v = item["state"];
      if (!v.is_number()) throw DescriptionError{at + ".state", "expected a number"};
      if (!v.is_number_integer() || v.get<long long>() < 0 ||
          (v.get<long long>() & ~static_cast<long long>(kMenuStateBits)))
        throw DescriptionError{at + ".state",
                               "expected a sum of 1 (grayed), 2 (disabled) and 8 (checked)"};
      state = v.get<UINT>();
    }
    bool separator = false;
    if (item.contains("separator")) {
      if (!item["separator"].is_boolean())
        throw DescriptionError{at + ".separator", "expected true or false"};
      separator = item["separator"].get<bool>();
    }
    const bool popup = item.contains("popup");
    if (separator && (popup || !text.empty() || id || state))
      throw DescriptionError{at, "a separator has no text, id, state or popup"};
    if (popup && item.contains("id")) throw DescriptionError{at + ".id", "a popup has no id"};
    if (separator) {
      menu.AppendMenu(MF_SEPARATOR);
    } else if (popup) {
      CMenu sub;
      sub.CreatePopupMenu();
      Build(item["popup"], sub, at + ".popup");
      menu.AppendMenu(MF_POPUP | state, sub.GetSafeHmenu().value, text.c_str());
      sub.Detach();  // the menu owns it now
    } else {
      menu.AppendMenu(MF_STRING | state, id, text.c_str());
    }
  }
}

}  // namespace

bool BuildMenuFrom(const std::string& text, const std::string& name, CMenu& menu) {
  Json document;
  try {
    document = Json::parse(text);
  } catch (const nlohmann::json::parse_error& e) {
    // nlohmann says "[json.exception.parse_error.101] parse error at line 1, column 2: ...".
    std::string reason = e.what();
    const size_t at = reason.find(" at line ");
    reason = at == std::string::npos ? reason : reason.substr(at + 4);
    Message("tools menu: " + name + ": " + reason);
    return false;
  }
  try {
    Build(document, menu, "");
  } catch (const DescriptionError& e) {
    Message("tools menu: " + name + ": " + (e.where.empty() ? "" : e.where + ": ") + e.what);
    return false;
  }
  return true;
}

}  // namespace zel_cli
