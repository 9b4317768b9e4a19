#include "form/stored_values.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace brevant {

namespace {

bool IsBlank(char16_t ch) { return ch == u' ' || ch == u'\t'; }
bool IsDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

TextView Trimmed(TextView text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Digits from the position on; gives how many.
std::size_t SkipDigits(TextView text, std::size_t& at) {
  const std::size_t start = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at - start;
}

std::string Ascii(TextView text) { return std::string(text.begin(), text.end()); }

bool EqualsIgnoringCase(TextView text, TextView word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t ch = text[i];
    if (ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch - u'A' + u'a');
    if (ch != word[i]) return false;
  }
  return true;
}

}  // namespace

bool IsNumericEntry(TextView text) {
  text = Trimmed(text);
  std::size_t at = 0;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) ++at;
  std::size_t digits = SkipDigits(text, at);
  if (at < text.size() && text[at] == u'.') {
    ++at;
    digits += SkipDigits(text, at);
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
    ++at;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) ++at;
    if (SkipDigits(text, at) == 0) return false;
  }
  return at == text.size();
}

std::optional<bool> FlagFromText(TextView text) {
  const TextView word = Trimmed(text);
  if (EqualsIgnoringCase(word, u"true")) return true;
  if (EqualsIgnoringCase(word, u"false")) return false;
  if (!IsNumericEntry(word)) return std::nullopt;
  return std::strtod(Ascii(word).c_str(), nullptr) != 0;
}

Text FlagText(bool flag) { return flag ? u"True" : u"False"; }

std::optional<Colour> ColourFromText(TextView text) {
  const TextView number = Trimmed(text);
  std::size_t at = (!number.empty() && (number[0] == u'+' || number[0] == u'-')) ? 1 : 0;
  if (SkipDigits(number, at) == 0 || at != number.size() || number.size() > 12) return std::nullopt;
  const long long value = std::strtoll(Ascii(number).c_str(), nullptr, 10);
  if (value < std::numeric_limits<Colour>::min() || value > std::numeric_limits<Colour>::max())
    return std::nullopt;
  return static_cast<Colour>(value);
}

Text ColourText(Colour colour) {
  const std::string digits = std::to_string(colour);
  return Text(digits.begin(), digits.end());
}

}  // namespace brevant
