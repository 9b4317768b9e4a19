#include "support/messages/application_title.h"

namespace brevant {

namespace {
constexpr std::size_t kLongestTitle = 40;
}

Text ApplicationTitle(TextView productName) {
  Text title(productName);
  if (title.find(u' ') == Text::npos) return title;
  do {
    const std::size_t blank = title.rfind(u' ');
    if (blank == Text::npos) break;
    title.erase(blank);
  } while (title.size() > kLongestTitle);
  return title;
}

}  // namespace brevant
