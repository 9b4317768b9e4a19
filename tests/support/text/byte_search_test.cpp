#include "support/text/byte_search.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace brevant {
namespace {

// Texts that end right before a page that may not be read, and texts that
// start at every place of a page: a search must neither read past its page nor
// report a byte beyond the text.
class PageEdge : public ::testing::Test {
 protected:
  void SetUp() override {
    page_ = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* mapped = mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapped, MAP_FAILED);
    memory_ = static_cast<char*>(mapped);
    ASSERT_EQ(mprotect(memory_ + page_, page_, PROT_NONE), 0);
  }
  void TearDown() override { munmap(memory_, 2 * page_); }

  // The text placed so that its last byte is the last readable one.
  std::string_view atPageEnd(const std::string& text) {
    char* start = memory_ + page_ - text.size();
    std::memcpy(start, text.data(), text.size());
    return {start, text.size()};
  }

  std::size_t page_ = 0;
  char* memory_ = nullptr;
};

TEST_F(PageEdge, SearchesAgreeWithThePlainOnesWhereverTheTextLies) {
  const std::string texts[] = {"",
                               ":",
                               "EMAIL;TYPE=INTERNET:ann@example.org",
                               "NOTE:Tom & Jerry <b> x",
                               std::string(40, 'x') + ">",
                               std::string(15, 'a') + ":" + std::string(17, 'b') + "&"};
  for (const std::string& text : texts) {
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      // The byte after a cut text is a match that must not be seen.
      const std::string_view view = atPageEnd(text).substr(0, cut);
      for (std::size_t from = 0; from <= cut; ++from) {
        EXPECT_EQ(FindByte(view, ':', from), view.find(':', from))
            << text << " cut " << cut << " from " << from;
        EXPECT_EQ(FindMarkupByte(view, from), view.find_first_of("&<>", from)) << text << " cut " << cut;
      }
    }
  }
  // Every start within a page, the text running past the page's middle.
  std::memset(memory_, 'y', page_);
  memory_[page_ - 1] = '<';
  for (std::size_t start = 0; start < page_; start += 7) {
    const std::string_view view(memory_ + start, page_ - start);
    EXPECT_EQ(FindMarkupByte(view), page_ - 1 - start);
    EXPECT_EQ(FindByte(view.substr(0, view.size() - 1), '<'), std::string_view::npos);
  }
}

}  // namespace
}  // namespace brevant
