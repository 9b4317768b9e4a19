#include "support/files/output_folder_choice.h"

#include "support/files/file_helpers.h"
#include "support/files/path_helpers.h"

namespace brevant {

Text ChooseOutputFolder(TextView desktop, TextView documents, TextView home) {
  TextView chosen = home;
  for (const TextView candidate : {desktop, documents}) {
    if (!candidate.empty() && FolderExists(candidate)) {
      chosen = candidate;
      break;
    }
  }
  Text folder(chosen);
  if (folder.empty() || folder.back() != Separator()) folder += Separator();
  return folder;
}

}  // namespace brevant
