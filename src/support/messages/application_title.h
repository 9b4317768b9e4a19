#pragma once

#include "support/text/text.h"

namespace brevant {

inline constexpr char16_t kProductName[] = u"Brevant";

// The title that message boxes and prompts without a caption of their own show:
// the product name less its last word, and less further words from the end
// while more than 40 characters remain. A name without a blank stays whole.
Text ApplicationTitle(TextView productName);

}  // namespace brevant
