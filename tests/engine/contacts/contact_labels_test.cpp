// Labels as a person reads them: Apple's built-in labels as words, type words
// as labels, every text once by a small number.
#include "engine/contacts/contact_labels.h"

#include <gtest/gtest.h>

#include <string>

namespace brevant {
namespace {

TEST(ContactLabels, LabelsReadAsWords) {
  const struct {
    const char* label;
    const char* words;
  } cases[] = {
      {"_$!<Spouse>!$_", "Spouse"},
      {"_$!<HomePage>!$_", "Home Page"},
      {"_$!<HomeFAX>!$_", "Home Fax"},
      {"_$!<WorkFAX>!$_", "Business Fax"},
      {"_$!<Work>!$_", "Business"},
      {"_$!<Mobile>!$_", "Mobile"},
      {"_$!<Anniversary>!$_", "Anniversary"},
      {"_$!<>!$_", "_$!<>!$_"},
      {"AssistantPhone", "AssistantPhone"},
      {" Ferienhaus ", "Ferienhaus"},
      {"BLOG", "Blog"},
      {"HOME_PAGE", "Home Page"},
      {"work", "Business"},
      {"HOME", "Home"},
      {"zuhause", "zuhause"},
      {"A", "A"},
      {"Ümit's", "Ümit's"},
  };
  for (const auto& c : cases) EXPECT_EQ(LabelWords(c.label), c.words) << c.label;

  EXPECT_EQ(RelationWords("spouse"), "Spouse");
  EXPECT_EQ(RelationWords("co-worker"), "Co-worker");
  EXPECT_EQ(RelationWords("_$!<Mother>!$_"), "Mother");
  EXPECT_EQ(RelationWords(""), "");

  for (const auto& [word, label] :
       {std::pair{"home", "Home"}, std::pair{"WORK", "Business"},
        std::pair{"x-evolution-callback", "Callback"}, std::pair{"TTYTDD", "TTY/TDD"},
        std::pair{"car", "Car"}, std::pair{"PREF", ""}, std::pair{"voice", ""}, std::pair{"INTERNET", ""}}) {
    EXPECT_EQ(TypeLabel(word), label) << word;
  }
}

TEST(ContactLabels, EachTextHasOneNumberAndBuiltInWordsComeFirst) {
  ContactLabels labels;
  EXPECT_EQ(labels.id(""), ContactLabels::kNone);
  const std::uint16_t home = labels.id("Home");
  const std::uint16_t business = labels.id("Business");
  const std::uint16_t spouse = labels.id("Spouse");
  const std::uint16_t typed = labels.id("Ferienhaus");
  EXPECT_LT(home, business);
  EXPECT_LT(business, spouse);
  EXPECT_LT(spouse, typed);
  EXPECT_EQ(labels.id("Ferienhaus"), typed);
  EXPECT_EQ(labels.text(typed), "Ferienhaus");
  EXPECT_EQ(labels.text(ContactLabels::kNone), "");
  // Past the limit, further labels are "Other"; the ones before keep theirs.
  for (int i = 0; i < 70000; ++i) labels.id("label " + std::to_string(i));
  EXPECT_EQ(labels.size(), 65536u);
  EXPECT_EQ(labels.text(labels.id("one more")), "Other");
  EXPECT_EQ(labels.id("Ferienhaus"), typed);
}

}  // namespace
}  // namespace brevant
