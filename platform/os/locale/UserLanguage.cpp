// The locale-to-language table.
#include "platform/os/locale/UserLanguage.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/base/string/String.h"

namespace {

struct Row {
  const char* language;   // ISO 639 code, lower case
  const char* territory;  // ISO 3166 code, upper case; "" for the language's default
  uint16_t id;
};

// Language first with its default territory, then the territories that have their own
// identifier.
constexpr Row kTable[] = {
    {"en", "", 0x0409},   {"en", "GB", 0x0809}, {"en", "AU", 0x0C09}, {"en", "CA", 0x1009},
    {"en", "NZ", 0x1409}, {"en", "IE", 0x1809}, {"de", "", 0x0407},   {"de", "CH", 0x0807},
    {"de", "AT", 0x0C07}, {"fr", "", 0x040C},   {"fr", "BE", 0x080C}, {"fr", "CA", 0x0C0C},
    {"fr", "CH", 0x100C}, {"es", "", 0x0C0A},   {"es", "MX", 0x080A}, {"it", "", 0x0410},
    {"it", "CH", 0x0810}, {"pt", "", 0x0816},   {"pt", "BR", 0x0416}, {"nl", "", 0x0413},
    {"nl", "BE", 0x0813}, {"sv", "", 0x041D},   {"da", "", 0x0406},   {"nb", "", 0x0414},
    {"no", "", 0x0414},   {"nn", "", 0x0814},   {"fi", "", 0x040B},   {"is", "", 0x040F},
    {"pl", "", 0x0415},   {"cs", "", 0x0405},   {"sk", "", 0x041B},   {"sl", "", 0x0424},
    {"hu", "", 0x040E},   {"ro", "", 0x0418},   {"hr", "", 0x041A},   {"sr", "", 0x081A},
    {"bg", "", 0x0402},   {"ru", "", 0x0419},   {"uk", "", 0x0422},   {"el", "", 0x0408},
    {"tr", "", 0x041F},   {"he", "", 0x040D},   {"ar", "", 0x0401},   {"fa", "", 0x0429},
    {"hi", "", 0x0439},   {"th", "", 0x041E},   {"vi", "", 0x042A},   {"id", "", 0x0421},
    {"ms", "", 0x043E},   {"ja", "", 0x0411},   {"ko", "", 0x0412},   {"zh", "", 0x0804},
    {"zh", "CN", 0x0804}, {"zh", "TW", 0x0404}, {"zh", "HK", 0x0C04}, {"zh", "SG", 0x1004},
    {"et", "", 0x0425},   {"lv", "", 0x0426},   {"lt", "", 0x0427},   {"ca", "", 0x0403},
    {"eu", "", 0x042D},   {"gl", "", 0x0456},
};

}  // namespace

uint16_t ZelLangIDFromLocale(const char* locale) {
  if (!locale) return ZEL_LANG_EN_US;
  // language[_territory][.codeset][@modifier]
  std::string name = locale;
  name = name.substr(0, name.find_first_of(".@"));
  size_t sep = name.find_first_of("_-");
  std::string language = name.substr(0, sep);
  std::string territory = sep == std::string::npos ? "" : name.substr(sep + 1);
  ZelAsciiMakeLower(language);
  ZelAsciiMakeUpper(territory);
  const Row* fallback = nullptr;
  for (const Row& row : kTable) {
    if (language != row.language) continue;
    if (!*row.territory && !fallback) fallback = &row;
    if (!territory.empty() && territory == row.territory) return row.id;
  }
  return fallback ? fallback->id : ZEL_LANG_EN_US;
}

uint16_t ZelUserDefaultLangID() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(var);
    if (value && *value) return ZelLangIDFromLocale(value);
  }
  return ZEL_LANG_EN_US;
}
