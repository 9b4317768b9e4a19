#include "support/files/write_session.h"

namespace brevant {

// Windows has no unprivileged call that syncs a whole volume, and NTFS keeps
// its folders in its journal: the files that replaced others were synced
// before they took their place, and nothing is left to do here.
WriteSession::Failures WriteSession::sync(const std::map<NativePath, Folder>& /*folders*/) { return {}; }

}  // namespace brevant
