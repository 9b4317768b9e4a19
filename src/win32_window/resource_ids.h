#pragma once

// Resources of brevant.exe, shared by the resource script and the code.
#define kApplicationIcon 1
