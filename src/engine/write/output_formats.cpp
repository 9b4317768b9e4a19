#include "engine/write/output_formats.h"

#include "support/files/path_helpers.h"

namespace brevant {

Text PathBeside(const Text& documentPath, OutputFormat format) {
  return GetFolderPath(documentPath) + StripExtension(GetFileName(documentPath)) +
         Text(FormatInfo(format).extension);
}

}  // namespace brevant
