#pragma once

#include <string>

#include "support/text.h"

namespace brevant {

// The path's bytes for the system's file calls. False when the path holds a NUL,
// which those calls would take as the end and so name another file.
bool ToNativePath(TextView path, std::string& bytes);

}  // namespace brevant
