#pragma once

#include "support/text/text.h"

namespace brevant {

// The folder of the sample vCards: "Samples" beside the program, or, for an
// installed program, ../share/brevant/Samples from the program's folder. When
// neither exists, the first (so that nothing is listed).
Text SamplesFolder(const Text& programFolder);

}  // namespace brevant
