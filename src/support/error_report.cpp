#include "support/error_report.h"

#include "support/utf8.h"

namespace brevant {

namespace {
constexpr char16_t kBuildDate[] = u"2021/08/31";
}

Text ErrorReport::boxText() const {
  Text text = description + u"\r\n" + tag + u"at line " + FromUtf8(std::to_string(statement));
  if (supportSentence) {
    text += u"\r\rPlease email screenshot of this message to ";
    text += kSupportAddress;
  }
  return text;
}

Text ProcedureTag(TextView project, TextView module, TextView procedure) {
  Text tag = u"in ";
  tag.append(project)
      .append(kBuildDate)
      .append(u".")
      .append(module)
      .append(u".")
      .append(procedure)
      .append(u" ");
  return tag;
}

Text DescriptionFromUtf8(const std::string& message) { return FromUtf8(message); }

}  // namespace brevant
