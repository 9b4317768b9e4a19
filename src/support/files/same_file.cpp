#include "support/files/file_helpers.h"

namespace brevant {

bool IsSameFile(TextView a, TextView b) {
  if (a == b) return true;
  FileIdentity first;
  FileIdentity second;
  return IdentifyFile(a, first) && IdentifyFile(b, second) && first == second;
}

}  // namespace brevant
