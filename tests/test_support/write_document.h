#pragma once

#include <string_view>

#include "support/files/atomic_file.h"
#include "support/text/text.h"

namespace brevant::test {

// Writes a document as the conversions do: whole, or not at all. Throws FileError.
inline void WriteDocument(TextView path, std::string_view bytes) {
  AtomicFileWriter writer(path);
  writer.write(bytes);
  writer.commit();
}

}  // namespace brevant::test
