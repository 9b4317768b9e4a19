// The input list on screen with a list longer than it shows: it keeps its
// scroll place as rows come and go, and a row dragged past its top or bottom
// edge reaches the row at that edge and scrolls on.
#include "win32_window/input_list_control.h"

#include <string>

#include "win32_window/win32_view_fixture.h"

namespace brevant::test {
namespace {

class Win32InputList : public Win32ViewTest {
 protected:
  // Shown, as the user sees it: the rows start below the column's header.
  Win32InputList() { ShowWindow(view.window(), SW_SHOWNOACTIVATE); }
  HWND list() const { return at(Control::InputList); }
  int top() const { return ListView_GetTopIndex(list()); }
  int selected() const { return ListView_GetNextItem(list(), -1, LVNI_SELECTED); }
  static std::vector<Text> Paths(int from, int count) {
    std::vector<Text> paths;
    for (int i = from; i < from + count; ++i)
      paths.push_back(FromUtf8("C:\\in\\" + std::to_string(i) + ".vcf"));
    return paths;
  }
  // The mouse at a height of the list's client area, the button held.
  void moveTo(int y) { SendMessageW(list(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, y)); }
  int clientHeight() const {
    RECT client;
    GetClientRect(list(), &client);
    return client.bottom;
  }
  // The row shown at a height of the client area (the last one may show in part).
  int rowAt(int y) const {
    LVHITTESTINFO hit{};
    hit.pt = {20, y};
    return ListView_HitTest(list(), &hit);
  }
};

TEST_F(Win32InputList, KeepsItsScrollPlaceAsRowsComeAndGo) {
  DropFiles(Paths(0, 200));
  ASSERT_EQ(ListView_GetItemCount(list()), 200);
  ListView_EnsureVisible(list(), 120, FALSE);
  const int scrolled = top();
  ASSERT_GT(scrolled, 0);

  DropFiles(Paths(200, 50));
  EXPECT_EQ(ListView_GetItemCount(list()), 250);
  EXPECT_EQ(top(), scrolled);
  // A row the list asks for reads the form's row, however far down.
  EXPECT_EQ(listed(), form.rows());

  mouseOnRow(WM_LBUTTONDOWN, scrolled + 1);
  SendMessageW(list(), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(selected(), scrolled + 1);
  SendMessageW(list(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(ListView_GetItemCount(list()), 249);
  EXPECT_EQ(top(), scrolled);
  EXPECT_EQ(listed(), form.rows());
}

TEST_F(Win32InputList, ARowDraggedPastAnEdgeReachesTheEdgeRowAndScrolls) {
  DropFiles(Paths(0, 200));
  ListView_EnsureVisible(list(), 100, FALSE);
  const int scrolled = top();
  const int bottom = rowAt(clientHeight() - 1);
  ASSERT_GT(scrolled, 0);
  ASSERT_GT(bottom, scrolled + 2);
  const Text dragged = form.rows()[scrolled + 1];

  // Below the rows: the row travels to the last one shown, and the list scrolls down.
  mouseOnRow(WM_LBUTTONDOWN, scrolled + 1);
  moveTo(clientHeight() + 40);
  EXPECT_EQ(form.rows()[bottom], dragged);
  EXPECT_EQ(selected(), bottom);
  EXPECT_GT(top(), scrolled);

  // Above them: it travels to the first one shown, and the list scrolls up.
  const int lower = top();
  moveTo(-40);
  EXPECT_EQ(form.rows()[lower], dragged);
  EXPECT_EQ(selected(), lower);
  EXPECT_LT(top(), lower);
  SendMessageW(list(), WM_LBUTTONUP, 0, 0);

  // Each drag step swapped two rows: every path is still there once.
  std::vector<Text> sorted = form.rows();
  std::sort(sorted.begin(), sorted.end());
  std::vector<Text> expected = Paths(0, 200);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(sorted, expected);
  EXPECT_EQ(listed(), form.rows());
}

}  // namespace
}  // namespace brevant::test
