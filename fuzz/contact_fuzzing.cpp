#include "contact_fuzzing.h"

#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/contacts/contact_reader.h"
#include "engine/convert/one_document_conversion.h"
#include "engine/convert/per_input_conversion.h"
#include "engine/text/ascii_html.h"
#include "fuzz_host.h"

namespace {

// Plain ASCII with no line break or other control character but tab; "<" only
// in "<br/>", "&" only in an entity.
bool IsSafeCellText(std::string_view html) {
  for (std::size_t i = 0; i < html.size(); ++i) {
    const auto c = static_cast<unsigned char>(html[i]);
    if (c >= 0x7F || (c < 0x20 && c != '\t') || c == '>') {
      if (c == '>' && i >= 4 && html.substr(i - 4, 5) == "<br/>") continue;
      return false;
    }
    if (c == '<' && html.substr(i, 5) != "<br/>") return false;
    if (c == '&') {
      const std::size_t semicolon = html.find(';', i);
      if (semicolon == std::string_view::npos) return false;
      const std::string_view entity = html.substr(i, semicolon - i + 1);
      const bool numeric =
          entity.size() > 3 && entity[1] == '#' &&
          entity.substr(2, entity.size() - 3).find_first_not_of("0123456789") == std::string_view::npos;
      if (!numeric && entity != "&amp;" && entity != "&lt;" && entity != "&gt;") return false;
    }
  }
  return true;
}

class CheckingSink final : public brevant::ContactSink {
 public:
  std::size_t contacts = 0;
  std::string text;
  std::vector<brevant::ContactCell> cellList;
  brevant::ContactLabels labelTable;
  std::string& values() override { return text; }
  std::vector<brevant::ContactCell>& cells() override { return cellList; }
  brevant::ContactLabels& labels() override { return labelTable; }
  void contact(const brevant::Contact& contact) override {
    ++contacts;
    std::string html;
    for (const brevant::ContactCell& cell : contact.cells) {
      const std::string_view value = contact.value(cell);
      html.clear();
      brevant::AppendAsciiHtml(html, value, cell.encoding());
      if (value.empty() || !IsSafeCellText(html)) abort();
    }
  }
};

}  // namespace

void FuzzContactReading(const brevant::Text& input, const brevant::Text& folder) {
  CheckingSink sink;
  FuzzHost host(folder, input, /*perContact=*/true, /*xlsx=*/true);
  const std::size_t blocks =
      brevant::ReadContacts(brevant::ContactBytes(brevant::ReadInput(input)), sink, host);
  // Every block is a contact; a file without blocks is no vCard file and has none.
  if ((blocks == 0) != (sink.contacts == 0)) abort();

  brevant::ConvertPerInput(host, input);
  brevant::ConvertToOneDocument(host, folder + u"/contacts.xml");
}
