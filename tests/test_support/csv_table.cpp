#include "test_support/csv_table.h"

#include "test_support/contact_table.h"

namespace brevant::test {

CsvText ReadCsv(const std::string& bytes) {
  CsvText csv;
  std::size_t i = 0;
  csv.byteOrderMark = bytes.starts_with("\xEF\xBB\xBF");
  if (csv.byteOrderMark) i = 3;
  const auto fail = [&](const std::string& what) {
    csv.problem = what + " at byte " + std::to_string(i);
    return csv;
  };
  std::vector<std::string> record;
  while (i < bytes.size()) {
    std::string field;
    if (bytes[i] == '"') {
      for (++i;; ++i) {
        if (i >= bytes.size()) return fail("unclosed quotes");
        if (bytes[i] != '"') {
          field += bytes[i];
        } else if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          break;
        }
      }
      ++i;  // past the closing quote
    } else {
      for (; i < bytes.size() && bytes[i] != ',' && bytes[i] != '\r'; ++i) {
        if (bytes[i] == '"' || bytes[i] == '\n') return fail("a quote or line feed in an unquoted field");
        field += bytes[i];
      }
    }
    record.push_back(field);
    if (i < bytes.size() && bytes[i] == ',') {
      if (++i == bytes.size()) record.emplace_back();  // a last empty field
    } else if (bytes.compare(i, 2, "\r\n") == 0) {
      csv.records.push_back(std::move(record));
      record.clear();
      i += 2;
    } else if (i < bytes.size()) {
      return fail("text after a field");
    }
  }
  if (!record.empty()) csv.records.push_back(std::move(record));
  csv.wellFormed = true;
  return csv;
}

namespace {

// The escapes of a line scanner's cell undone; in the one document a byte that
// XML reads as no character of the code page is a reference to its own value.
std::string Unescaped(std::string_view html) {
  std::string text;
  for (std::size_t i = 0; i < html.size(); ++i) {
    if (html.size() - i >= 6 && html.substr(i, 2) == "&#" && html[i + 5] == ';' && html[i + 2] == '1') {
      text += static_cast<char>(std::stoi(std::string(html.substr(i + 2, 3))));
      i += 5;
    } else if (html.substr(i).starts_with("&amp;")) {
      text += '&';
      i += 4;
    } else if (html.substr(i).starts_with("&lt;")) {
      text += '<';
      i += 3;
    } else if (html.substr(i).starts_with("&gt;")) {
      text += '>';
      i += 3;
    } else {
      text += html[i];
    }
  }
  return text;
}

// The texts between each `open` and the "<" after it, from `from` up to `to`.
void Collect(const std::string& document, std::size_t from, std::size_t to, const std::string& open,
             std::vector<std::string>& cells) {
  for (std::size_t at = document.find(open, from); at < to; at = document.find(open, at)) {
    at += open.size();
    const std::size_t end = document.find('<', at);
    cells.push_back(Unescaped(std::string_view(document).substr(at, end - at)));
  }
}

}  // namespace

Cells DocumentCells(const std::string& document) {
  Cells cells;
  if (document.find("<thead>") != std::string::npos) {
    const ContactTableText table = ReadContactTable(document);
    cells.push_back(table.captions);
    for (const auto& row : table.rows) {
      std::vector<std::string>& out = cells.emplace_back();
      for (const std::string& caption : table.captions)
        out.push_back(row.contains(caption) ? row.at(caption) : "");
    }
    return cells;
  }
  // Rows run from one "<tr>" to the next; the per-file document joins its two rows with "</tr><tr>".
  for (std::size_t row = document.find("<tr>"); row != std::string::npos;) {
    const std::size_t next = document.find("<tr>", row + 4);
    std::vector<std::string>& out = cells.emplace_back();
    Collect(document, row, next, "<th>", out);
    // The one document is XHTML, with a reference for the non-breaking space.
    Collect(document, row, next, document.starts_with("<?xml") ? "<td>&#160;" : "<td>&nbsp;", out);
    row = next;
  }
  return cells;
}

}  // namespace brevant::test
