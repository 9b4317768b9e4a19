#include "support/files/placing_batch.h"

namespace brevant {

// Windows places each group as it comes (see AtomicFileWriter): a file there
// is renamed over its target through its handle, and has no second name.
struct PlacingBatch::State {};

bool PlacingBatch::Available() { return false; }
bool BatchTakesName(const NativePath& /*target*/) { return false; }
PlacingBatch::PlacingBatch() = default;
PlacingBatch::~PlacingBatch() = default;
void PlacingBatch::add(std::vector<ReadyFile> /*group*/, GroupFailed /*failed*/) {}
void PlacingBatch::placeIfWaiting(const NativePath& /*target*/) {}
std::vector<NativePath> PlacingBatch::place() { return {}; }
void PlacingBatch::dropKept() {}

}  // namespace brevant
