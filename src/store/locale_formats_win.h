// The user's locale's formats, from the system.
#pragma once

#include "store/locale_formats.h"

namespace pausora {

LocaleFormats UserLocaleFormats();

}  // namespace pausora
