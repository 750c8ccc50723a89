/// \file
/// The user's default language as a Windows language identifier (LANGID), taken from the
/// locale the environment names: LC_ALL, then LC_MESSAGES, then LANG (the first that is
/// set and not empty), through a small table of language codes. en-US (0x0409) when the
/// locale is unknown, "C" or "POSIX".
#pragma once

#include <cstdint>

#include "ZelExport.h"

inline constexpr uint16_t ZEL_LANG_EN_US = 0x0409;

/// The user's language as a language id, from the locale's environment (ZEL_LANG_EN_US when
/// unknown).
ZEL_API uint16_t ZelUserDefaultLangID();
/// The identifier of one locale name such as "de_DE.UTF-8" or "fr"; en-US when unknown.
ZEL_API uint16_t ZelLangIDFromLocale(const char* locale);
