// libFuzzer target: feeds arbitrary bytes through reading, line handling and
// both conversions, and checks the documents it gets: no value may put markup
// into them, and the per-file and the one-document conversion of the same input
// must show the same value under every caption whenever both read the same cells.
// The per-file document's workbook must be a whole zip of well-formed parts
// whose cells are all text, its header row the document's captions.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "contact_fuzzing.h"
#include "engine/convert/one_document_conversion.h"
#include "engine/convert/per_input_conversion.h"
#include "engine/scan/input_cells.h"
#include "engine/write/html_document.h"
#include "fuzz_host.h"
#include "support/text/utf8.h"
#include "test_support/contact_table.h"
#include "test_support/xlsx_table.h"

namespace {

namespace fs = std::filesystem;

// A private folder for the input copy and the documents, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "brevant-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

struct Setup {
  ScratchFolder scratch;
  fs::path inputFile = scratch.path() / "in.vcf";
  fs::path separateOutput = scratch.path() / "in.htm";
  fs::path separateWorkbook = scratch.path() / "in.xlsx";
  fs::path singleOutput = scratch.path() / "output.xml";
  brevant::Text folder = brevant::FromUtf8(scratch.path().string());
  brevant::Text input = brevant::FromUtf8(inputFile.string());
};

Setup& TheSetup() {
  static Setup setup;
  return setup;
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void Check(bool condition) {
  if (!condition) abort();
}

// The document's body with every piece of markup the document may hold taken
// out: what is left must hold no "<" or ">", or a value brought its own markup.
void CheckNoMarkupFromValues(const std::string& document, brevant::DocumentMarkup markup) {
  const std::string opening = brevant::OpeningPiece(0, u"1", 0xFFFFFF, markup);
  Check(document.starts_with(opening));
  static const std::string kTags[] = {"<tr>",  "</tr>",    "<th>",     "</th>",   "<td>",
                                      "</td>", "</tbody>", "</table>", "</body>", "</html>"};
  for (std::size_t at = document.find('<', opening.size()); at != std::string::npos;
       at = document.find('<', at + 1)) {
    bool known = false;
    for (const std::string& tag : kTags) known = known || document.compare(at, tag.size(), tag) == 0;
    Check(known);
  }
  std::size_t tagEnds = 0;
  std::size_t tags = 0;
  for (char c : document.substr(opening.size())) tagEnds += c == '>', tags += c == '<';
  Check(tagEnds == tags);
}

// Texts between each `open` and the `close` after it.
std::vector<std::string> Between(const std::string& document, const std::string& open,
                                 const std::string& close) {
  std::vector<std::string> texts;
  for (std::size_t at = document.find(open); at != std::string::npos; at = document.find(open, at + 1)) {
    const std::size_t start = at + open.size();
    const std::size_t end = document.find(close, start);
    Check(end != std::string::npos);
    texts.push_back(document.substr(start, end - start));
  }
  return texts;
}

// Caption -> the last value a document shows under it.
std::map<std::string, std::string> LastValues(const std::string& document, brevant::DocumentMarkup markup) {
  const std::vector<std::string> captions = Between(document, "<th>", "</th>");
  const std::vector<std::string> values =
      Between(document, std::string(brevant::DataCellStart(markup)), "</td>");
  Check(captions.size() == values.size());
  std::map<std::string, std::string> last;
  for (std::size_t i = 0; i < captions.size(); ++i) last[captions[i]] = values[i];
  return last;
}

// A workbook whose every part reads and whose cells are all text in UTF-8,
// under the captions the document has (as far as a worksheet holds them).
void CheckWorkbook(const std::string& bytes, const std::string& document) {
  const brevant::test::XlsxText xlsx = brevant::test::ReadXlsx(bytes);
  Check(xlsx.zipWhole && xlsx.xmlWellFormed && !xlsx.rows.empty());
  for (const auto& row : xlsx.rows) {
    for (const brevant::test::XlsxCell& cell : row) {
      Check(cell.type.empty() || cell.type == "s");
      Check(brevant::IsValidUtf8(cell.text));
    }
  }
  Check(xlsx.texts()[0] == Between(document, "<th>", "</th>"));
}

// The captions the line handling gives the input under one acceptance rule.
std::vector<brevant::CaptionKey> Captions(const brevant::InputText& input, brevant::Acceptance acceptance) {
  std::vector<brevant::CaptionKey> captions;
  brevant::ForEachCell(
      input, acceptance, brevant::CellValues::Omitted,
      [&captions](brevant::CaptionKey caption, auto) { captions.push_back(caption); }, [] {});
  return captions;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Setup& setup = TheSetup();
  {
    std::ofstream out(setup.inputFile, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) abort();
  }
  std::error_code ignored;
  fs::remove(setup.separateOutput, ignored);
  fs::remove(setup.separateWorkbook, ignored);
  fs::remove(setup.singleOutput, ignored);

  // The per-contact reading first: the line scanner's documents then replace its in.htm.
  FuzzContactReading(setup.input, setup.folder);
  // Its workbook, whose header holds the labels people typed: a whole zip of well-formed parts.
  if (fs::exists(setup.separateWorkbook)) {
    const brevant::test::XlsxText xlsx = brevant::test::ReadXlsx(ReadAll(setup.separateWorkbook));
    Check(xlsx.zipWhole && xlsx.xmlWellFormed);
    fs::remove(setup.separateWorkbook, ignored);
  }

  FuzzHost host(setup.folder, setup.input, /*perContact=*/false, /*xlsx=*/true);
  brevant::ConvertPerInput(host, setup.input);
  brevant::ConvertToOneDocument(host, brevant::FromUtf8(setup.singleOutput.string()));
  if (host.errors > 0) return 0;

  const brevant::InputText input = brevant::ReadInput(setup.input);
  const std::vector<brevant::CaptionKey> perFile = Captions(input, brevant::Acceptance::ParametersOnly);
  const bool sameCells = perFile == Captions(input, brevant::Acceptance::EveryTypeName);
  // A document exactly when the line handling finds a cell.
  Check(fs::exists(setup.separateOutput) == !perFile.empty());
  if (perFile.empty()) return 0;

  const std::string separate = ReadAll(setup.separateOutput);
  const std::string single = ReadAll(setup.singleOutput);
  CheckNoMarkupFromValues(separate, brevant::DocumentMarkup::Html);
  CheckNoMarkupFromValues(single, brevant::DocumentMarkup::Xhtml);
  // output.xml is XML: its values are the per-input document's, as XML holds them.
  Check(!brevant::test::ChecksXml() || brevant::test::ReadXmlDocument(single).wellFormed);
  CheckWorkbook(ReadAll(setup.separateWorkbook), separate);
  Check(Between(separate, "<td>&nbsp;", "</td>").size() == perFile.size());
  if (sameCells) {
    std::map<std::string, std::string> values = LastValues(separate, brevant::DocumentMarkup::Html);
    for (auto& [caption, value] : values) brevant::MakeXmlText(value);
    Check(values == LastValues(single, brevant::DocumentMarkup::Xhtml));
  }
  return 0;
}
