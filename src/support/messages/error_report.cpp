#include "support/messages/error_report.h"

#include "support/text/utf8.h"

namespace brevant {

Text ErrorReport::boxText() const {
  Text text = description + u"\r\n" + tag + u"at line " + FromUtf8(std::to_string(statement));
  if (supportSentence) {
    text += u"\r\rPlease email screenshot of this message to ";
    text += kSupportAddress;
  }
  return text;
}

Text DescriptionFromUtf8(const std::string& message) { return FromUtf8(message); }

}  // namespace brevant
