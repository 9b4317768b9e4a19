#include "form/samples_folder.h"

#include "support/files/file_helpers.h"
#include "support/files/path_helpers.h"

namespace brevant {

Text SamplesFolder(const Text& programFolder) {
  const Text beside = programFolder + Separator() + u"Samples";
  if (FolderExists(beside) || Separator() != u'/') return beside;
  // <prefix>/bin/brevant finds <prefix>/share/brevant/Samples.
  const Text installed = GetFolderPath(programFolder) + u"share/brevant/Samples";
  if (FolderExists(installed)) return installed;
  return beside;
}

}  // namespace brevant
