// The error box of every handler that has one names the handler as users and
// support have always known it, with its statement and, where it has it, the
// sentence that asks for a screenshot.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "form/form_fixture.h"

namespace brevant::testing {
namespace {

constexpr char kSupport[] = "\r\rPlease email screenshot of this message to support@ambervale.example";

struct BoxCase {
  Control button;
  // The dialog (or, for "clear", the view's step) that fails.
  const char* failing;
  std::string box;
};

TEST_F(FormTest, EachButtonsErrorBoxNamesItsHandlerAsUsersKnowIt) {
  using enum Control;
  const std::string prefix = "error: Permission denied\r\nin Tarnwick2021/08/31.Form1.";
  const BoxCase cases[] = {
      {AddFiles, "files", prefix + "PushButton1_Click at line 100" + kSupport},
      {AddFolder, "prompt", prefix + "PushButton5_Click at line 100" + kSupport},
      {ClearList, "clear", prefix + "PushButton7_Click at line 100" + kSupport},
      {LoadSamples, "question", prefix + "PushButton3_Click at line 108" + kSupport},
      {StartConverting, "message", prefix + "PushButton2_Click at line 120"},
      {ChooseTextColour, "colour", prefix + "PushButton4_Click at line 102" + kSupport},
      {ChooseBackgroundColour, "colour", prefix + "PushButton6_Click at line 102" + kSupport},
      {ChooseOutputFolder, "folder", prefix + "PushButton9_Click at line 102"},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.failing);
    MainForm& f = open();
    dialogs.asked.clear();
    dialogs.failing = c.failing;
    view.failing = c.failing;
    f.clicked(c.button);
    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_EQ(dialogs.asked.back(), c.box);
  }
}

}  // namespace
}  // namespace brevant::testing
