#include "cli/terminal_text.h"

#include <gtest/gtest.h>

namespace brevant {
namespace {

TEST(TerminalTextTest, ControlCharactersAndLoneSurrogatesAreDefused) {
  EXPECT_EQ(TerminalLine(u"a\x1b]0;x\x07"
                         u"b\u0085c\x7F"),
            "a?]0;x?b?c?");
  EXPECT_EQ(TerminalLine(u"a\nb\tc\rd"), "a?b?c?d");
  EXPECT_EQ(TerminalLine(u"caf\xDCE9"), "caf\xEF\xBF\xBD");  // a byte kept from a non-UTF-8 name
  EXPECT_EQ(TerminalLine(u"x\xD800y\xDC00"), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
  EXPECT_EQ(TerminalLine(u"\u00E9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");  // pairs stay
}

}  // namespace
}  // namespace brevant
