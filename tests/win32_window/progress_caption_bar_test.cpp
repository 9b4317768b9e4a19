// The progress bar with its caption: it reads back the caption it shows, and
// repaints only when what it shows changes (a run sets it thousands of times).
#include "win32_window/progress_caption_bar.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "win32_window/wide_text.h"

namespace brevant {
namespace {

class Win32ProgressBar : public ::testing::Test {
 protected:
  Win32ProgressBar() {
    RegisterProgressCaptionBar(GetModuleHandleW(nullptr));
    bar = CreateWindowExW(0, kProgressCaptionBarClass, L"Ready", WS_POPUP | WS_VISIBLE, 0, 0, 202, 20,
                          nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~Win32ProgressBar() override { DestroyWindow(bar); }

  // Whether the bar waits for a repaint; the wait is then cleared.
  bool repaintWaits() {
    const bool waits = GetUpdateRect(bar, nullptr, FALSE) != 0;
    ValidateRect(bar, nullptr);
    return waits;
  }

  HWND bar = nullptr;
};

TEST_F(Win32ProgressBar, ReadsBackItsCaptionWhole) {
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(ProgressCaption(bar), u"Ready");
  const Text caption = u"Processing: K\u00F6ln \u4E1C.vcf";
  SetProgressCaption(bar, caption);
  EXPECT_EQ(ProgressCaption(bar), caption);
  EXPECT_EQ(GetWindowTextLengthW(bar), static_cast<int>(caption.size()));
  wchar_t text[64] = {};
  EXPECT_EQ(GetWindowTextW(bar, text, 64), static_cast<int>(caption.size()));
  EXPECT_EQ(FromWide(text), caption);
  // A buffer too short gets the caption's start, ended.
  wchar_t shortText[6] = {L'x', L'x', L'x', L'x', L'x', L'x'};
  EXPECT_EQ(GetWindowTextW(bar, shortText, 6), 5);
  EXPECT_EQ(FromWide(shortText), u"Proce");
}

TEST_F(Win32ProgressBar, RepaintsOnlyWhenWhatItShowsChanges) {
  ASSERT_NE(bar, nullptr);
  repaintWaits();
  struct Step {
    const char* what;
    double position;
    const char16_t* caption;
    bool repaints;
  };
  // 200 pixels inside the frame: a pixel is half a percent.
  const Step steps[] = {
      {"the same caption", 0, u"Ready", false},
      {"a new caption", 0, u"Processing: a.vcf", true},
      {"less than a pixel further", 0.2, u"Processing: a.vcf", false},
      {"a pixel further", 0.5, u"Processing: a.vcf", true},
      {"half the way", 50, u"Processing: a.vcf", true},
      {"past the end, as full", 100, u"Processing: a.vcf", true},
      {"further past the end", 250, u"Processing: a.vcf", false},
      {"below the start, as empty", -5, u"Processing: a.vcf", true},
  };
  for (const Step& step : steps) {
    SetProgressPosition(bar, step.position);
    SetProgressCaption(bar, step.caption);
    EXPECT_EQ(repaintWaits(), step.repaints) << step.what;
  }
}

}  // namespace
}  // namespace brevant
