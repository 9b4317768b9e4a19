#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/scan/captions.h"

namespace brevant {

// How the values of a contact's properties read: small routines on one value
// each. A routine that gives a view may give one into `scratch`.

// Blanks (space, tab, CR, LF) trimmed at both ends.
std::string_view TrimBlanks(std::string_view text);
// Equal when ASCII letter case is put aside; `upper` is upper-case.
bool EqualsUpperAscii(std::string_view text, std::string_view upper);

// Backslash escapes: \n and \N are line breaks; \, \; \: \\ and \" (Gmail's and
// Apple's notes) the character itself. Any other backslash stays as it is written.
void AppendUnescaped(std::string& out, std::string_view text);
// The same in place (the text never grows); gives its new length.
std::size_t UnescapeInPlace(char* text, std::size_t size);

// Cuts a structured value at every separator that no backslash escapes.
void CutComponents(std::string_view text, char separator, std::vector<std::string_view>& parts);

// A date in one form: 1991-05-22, or --04-15 without a year (a year that the
// exporter says stands for none counts as none); a time of day stays after it
// ("2009-08-08 14:30 -05:00"), unless it is midnight. Anything
// that is no date of these forms (text such as "circa 1800") stays as written.
std::string_view NormalDate(std::string_view value, std::string_view omitYear, std::string& scratch);

// The caption of a telephone of these type words (TypeWord bits).
Caption TelephoneCaption(unsigned types);
// A tel: URI keeps just the number (and its extension); other values stay.
std::string_view TelephoneNumber(std::string_view value, std::string& scratch);

// GENDER's sex letter (M, F, O, N, U) as a word, and the gender identity after it.
std::string_view GenderText(std::string_view value, std::string& scratch);

// An instant-messaging address as "service: handle": IMPP's URI scheme (or
// X-SERVICE-TYPE) names the service; for X-AIM, X-SKYPE, ... the property does.
std::string_view ImppText(std::string_view uri, std::string_view serviceType, std::string& scratch);
// The same apart: the service's name (empty when none is known) and the handle.
struct ImAddress {
  std::string_view service;
  std::string_view handle;
};
ImAddress ImppParts(std::string_view uri, std::string_view serviceType);
ImAddress ImParts(std::string_view propertyName, std::string_view handle);
std::string_view ImText(std::string_view propertyName, std::string_view handle, std::string& scratch);

}  // namespace brevant
