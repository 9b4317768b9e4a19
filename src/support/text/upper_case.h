#pragma once

#include "support/text/text.h"

namespace brevant {

// The simple Unicode upper-case form of one UTF-16 unit, the way file systems
// fold names: one unit maps to one unit, surrogates and characters without a
// one-unit upper case stay as they are.
char16_t UpperCaseUnit(char16_t unit);

Text UpperCase(TextView text);

}  // namespace brevant
