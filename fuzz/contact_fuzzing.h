#pragma once

#include "support/text/text.h"

// Reads the input file in full, one contact at a time, and checks that every
// value comes out as safe, plain ASCII; then runs both conversions with one row
// per contact, each document with its workbook, into the folder. Aborts on a
// broken value.
void FuzzContactReading(const brevant::Text& input, const brevant::Text& folder);
