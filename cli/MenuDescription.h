// Menus described in JSON: a JSON array of items {"text", "id", "state", "separator",
// "popup"}: state holds 1 (grayed), 2 (disabled) and 8 (checked); popup, an array of
// items, only on popups, whose id is 0; a separator has empty text. Texts are the menu's
// bytes, each as the code point of the same number.
#pragma once

#include <string>

#include "platform/user/framework/Menu.h"

namespace zel_cli {

// The suite's menu: File, Edit, a Tools popup marked (disabled) as the tools popup, an
// Analyze popup holding a separator, Help.
extern const char* const kSuiteMenu;

constexpr UINT kMenuStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED;

// JSON text (UTF-8) as the menu's bytes: code points up to U+00FF only.
bool ToMenuBytes(const std::string& utf8, std::string& bytes);
// Appends the described items to menu; false for a text that is no description, with the
// reason on stderr as "zel: tools menu: NAME: reason".
bool BuildMenuFrom(const std::string& text, const std::string& name, CMenu& menu);

}  // namespace zel_cli
