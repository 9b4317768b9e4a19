#pragma once

#include <string>

#include "engine/scan/captions.h"

namespace brevant::test {

// A caption as the document's header shows it ("Email Address 2").
inline std::string CaptionString(CaptionKey key) {
  std::string text;
  AppendCaptionText(text, key);
  return text;
}

}  // namespace brevant::test
