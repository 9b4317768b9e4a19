#pragma once

#include <string>

#include "support/text/text.h"

namespace brevant {

inline constexpr char16_t kSupportAddress[] = u"support@ambervale.example";

// One "Application Error" box: the failure's description, the procedure's tag and
// the number of the statement that failed.
struct ErrorReport {
  Text description;
  Text tag;  // "in Tarnwick2021/08/31.modVCF.ConvertVCFToSeparateHTML "
  int statement = 0;
  bool supportSentence = false;
  Text file = {};  // the file it concerns, when known (not part of the box text)

  // Description, CR LF, tag, "at line " and the number; then, where the procedure
  // has it, two carriage returns and the support sentence.
  Text boxText() const;
};

inline constexpr char16_t kErrorBoxTitle[] = u"Application Error";

// Description text from an exception message (UTF-8).
Text DescriptionFromUtf8(const std::string& message);

}  // namespace brevant
