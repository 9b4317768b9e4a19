#include "support/bench_host.h"

#include <string>

#include "support/text/utf8.h"

namespace brevant::bench {

namespace {
constexpr std::size_t kErrorsKept = 5;
}

void BenchHost::reportError(const ErrorReport& report) {
  ++errorCount_;
  if (keptErrors_.size() < kErrorsKept) keptErrors_.push_back(report.boxText());
}

void BenchHost::printErrors(std::FILE* to) const {
  for (const Text& box : keptErrors_) {
    // The box breaks its lines with CR LF and with lone CRs; a terminal wants LF.
    std::string text;
    const std::string boxBytes = ToUtf8(box);
    for (std::size_t i = 0; i < boxBytes.size(); ++i) {
      if (boxBytes[i] != '\r') {
        text += boxBytes[i];
      } else if (i + 1 == boxBytes.size() || boxBytes[i + 1] != '\n') {
        text += '\n';
      }
    }
    std::fprintf(to, "Application Error:\n%s\n\n", text.c_str());
  }
  if (errorCount_ > static_cast<std::int64_t>(keptErrors_.size())) {
    std::fprintf(to, "... and %lld more error boxes\n",
                 static_cast<long long>(errorCount_ - static_cast<std::int64_t>(keptErrors_.size())));
  }
}

}  // namespace brevant::bench
