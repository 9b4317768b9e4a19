#include "test_support/form_fixture.h"

#include "support/text/utf8.h"

namespace brevant::test {

Text MemorySettings::read(TextView key, TextView defaultValue) const {
  const auto found = values.find(Text(key));
  return found == values.end() ? Text(defaultValue) : found->second;
}

bool MemorySettings::write(TextView key, TextView value) {
  if (refuse) return false;
  values[Text(key)] = Text(value);
  return true;
}

FormTest::FormTest() { std::filesystem::create_directories(programFolder); }

MainForm& FormTest::open() {
  view = FakeView();
  form.emplace(view, FormSetup{settings, dialogs, PathText(programFolder), [this] { return desktop; }});
  form->load();
  return *form;
}

std::string FormTest::stored(const Text& key) const { return ToUtf8(settings.read(key, u"<absent>")); }

std::vector<std::string> FormTest::rows() const {
  std::vector<std::string> texts;
  for (const Text& row : form->rows()) texts.push_back(ToUtf8(row));
  return texts;
}

Text PathText(const std::filesystem::path& path) { return path.u16string(); }

}  // namespace brevant::test
