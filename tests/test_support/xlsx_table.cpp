#include "test_support/xlsx_table.h"

#include <zlib.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "support/text/utf8.h"

#ifdef BREVANT_TEST_LIBXML2
#include <libxml/parser.h>
#include <libxml/tree.h>
#endif

namespace brevant::test {

namespace {

std::uint32_t Le(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

bool Inflate(const std::string& data, std::size_t size, std::string& out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  out.assign(size, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  const bool whole = result == Z_STREAM_END && stream.avail_out == 0 && stream.avail_in == 0;
  inflateEnd(&stream);
  return whole;
}

// Reads every entry through the central directory; false with a problem when
// anything disagrees.
bool ReadZip(const std::string& bytes, XlsxText& xlsx) {
  try {
    const std::size_t end = bytes.size() - 22;
    if (bytes.size() < 22 || Le(bytes, end, 4) != 0x06054B50) return xlsx.problem = "no end record", false;
    const std::uint32_t count = Le(bytes, end + 10, 2);
    const std::uint32_t directorySize = Le(bytes, end + 12, 4);
    std::size_t at = Le(bytes, end + 16, 4);
    if (at + directorySize != end) return xlsx.problem = "directory not before the end record", false;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (Le(bytes, at, 4) != 0x02014B50) return xlsx.problem = "bad directory entry", false;
      const std::uint32_t flags = Le(bytes, at + 8, 2);
      const std::uint32_t method = Le(bytes, at + 10, 2);
      const std::uint32_t crc = Le(bytes, at + 16, 4);
      const std::uint32_t compressed = Le(bytes, at + 20, 4);
      const std::uint32_t size = Le(bytes, at + 24, 4);
      const std::uint32_t nameSize = Le(bytes, at + 28, 2);
      const std::uint32_t more = Le(bytes, at + 30, 2) + Le(bytes, at + 32, 2);
      const std::size_t local = Le(bytes, at + 42, 4);
      const std::string name = bytes.substr(at + 46, nameSize);
      at += 46 + nameSize + more;
      if (Le(bytes, local, 4) != 0x04034B50 || bytes.substr(local + 30, nameSize) != name)
        return xlsx.problem = name + ": local header disagrees", false;
      const bool sizesFollow = (flags & 8) != 0;
      if (!sizesFollow && (Le(bytes, local + 14, 4) != crc || Le(bytes, local + 18, 4) != compressed))
        return xlsx.problem = name + ": local sizes disagree", false;
      const std::size_t data = local + 30 + nameSize + Le(bytes, local + 28, 2);
      if (sizesFollow &&
          (Le(bytes, data + compressed, 4) != 0x08074B50 || Le(bytes, data + compressed + 4, 4) != crc ||
           Le(bytes, data + compressed + 8, 4) != compressed || Le(bytes, data + compressed + 12, 4) != size))
        return xlsx.problem = name + ": data descriptor disagrees", false;
      std::string content;
      if (method != 8 || !Inflate(bytes.substr(data, compressed), size, content))
        return xlsx.problem = name + ": does not inflate to its size", false;
      if (crc32(0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())) != crc)
        return xlsx.problem = name + ": wrong CRC-32", false;
      xlsx.entries.push_back(name);
      xlsx.parts[name] = std::move(content);
    }
  } catch (const std::out_of_range&) {
    return xlsx.problem = "truncated", false;
  }
  return true;
}

// "_xHHHH_" is the character HHHH, as spreadsheets read a text.
std::string DecodeEscapes(const std::string& text) {
  const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "_x") == 0 && i + 6 < text.size() && hex(text[i + 2]) && hex(text[i + 3]) &&
        hex(text[i + 4]) && hex(text[i + 5]) && text[i + 6] == '_') {
      AppendUtf8(out, static_cast<char32_t>(std::strtoul(text.substr(i + 2, 4).c_str(), nullptr, 16)));
      i += 6;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Spreadsheets drop the blanks around a text unless it says to keep them.
std::string AsKept(std::string text, bool preserved) {
  if (preserved) return text;
  const std::size_t first = text.find_first_not_of(" \t\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\n") - first + 1);
}

// "B12" as column 1, row 11.
bool ParseReference(const std::string& reference, std::size_t& column, std::size_t& row) {
  std::size_t i = 0;
  column = 0;
  for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i)
    column = column * 26 + static_cast<std::size_t>(reference[i] - 'A' + 1);
  if (i == 0 || i == reference.size()) return false;
  row = std::stoul(reference.substr(i));
  if (row == 0) return false;
  --column;
  --row;
  return true;
}

// A row's height, when it has one of its own.
// Numbers one and up, as columns and rows are counted; 0 for anything else.
std::size_t CountedFromOne(const std::string& number) {
  const long value = std::atol(number.c_str());
  return value >= 1 ? static_cast<std::size_t>(value) : 0;
}

// The width of columns min to max (counted from 1, at most a sheet's 16384).
void PutWidths(XlsxText& xlsx, const std::string& min, const std::string& max, const std::string& width) {
  const std::size_t first = CountedFromOne(min);
  const std::size_t last = CountedFromOne(max);
  if (first == 0 || last < first || last > 16384) {
    xlsx.problem = "bad column range " + min + ":" + max;
    return;
  }
  if (xlsx.widths.size() < last) xlsx.widths.resize(last);
  for (std::size_t c = first; c <= last; ++c) xlsx.widths[c - 1] = std::atof(width.c_str());
}

void PutHeight(XlsxText& xlsx, const std::string& row, const std::string& height, const std::string& custom) {
  if (height.empty() || custom != "1") return;
  if (CountedFromOne(row) == 0 || CountedFromOne(row) > 1048576) {
    xlsx.problem = "bad row number " + row;
    return;
  }
  const std::size_t index = CountedFromOne(row) - 1;
  if (xlsx.heights.size() <= index) xlsx.heights.resize(index + 1);
  xlsx.heights[index] = std::atof(height.c_str());
}

// A cell's text: that of its shared string (t="s", the string's number in <v>),
// or its own <t> texts.
std::string CellTextOf(const std::string& type, const std::string& value, const std::string& ownText,
                       const std::vector<std::string>& strings, XlsxText& xlsx) {
  if (type != "s") return ownText;
  const std::size_t index = value.empty() ? strings.size() : std::stoul(value);
  if (index < strings.size()) return strings[index];
  xlsx.problem = "no shared string " + value;
  return "<no string " + value + ">";
}

void PutCell(XlsxText& xlsx, const std::string& reference, XlsxCell cell) {
  std::size_t column, row;
  if (!ParseReference(reference, column, row)) {
    xlsx.problem = "bad reference " + reference;
    return;
  }
  if (xlsx.rows.size() <= row) xlsx.rows.resize(row + 1);
  if (xlsx.rows[row].size() <= column) xlsx.rows[row].resize(column + 1);
  xlsx.rows[row][column] = std::move(cell);
}

#ifdef BREVANT_TEST_LIBXML2
bool Named(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && std::string(reinterpret_cast<const char*>(node->name)) == name;
}

std::string Attribute(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (value == nullptr) return {};
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

template <class Each>
void ForElements(const xmlNode* node, Each&& each) {
  for (; node != nullptr; node = node->next) {
    if (node->type == XML_ELEMENT_NODE) {
      each(node);
      ForElements(node->children, each);
    }
  }
}

std::string Content(const xmlNode* element) {
  xmlChar* content = xmlNodeGetContent(element);
  std::string text(reinterpret_cast<const char*>(content));
  xmlFree(content);
  return text;
}

// The text of the <t> elements below an element, in order, as shown.
std::string TextsBelow(const xmlNode* parent) {
  std::string text;
  ForElements(parent->children, [&](const xmlNode* element) {
    if (Named(element, "t")) text += AsKept(Content(element), xmlNodeGetSpacePreserve(element) == 1);
  });
  return DecodeEscapes(text);
}

std::vector<std::string> ReadStrings(const std::string& table) {
  std::vector<std::string> strings;
  xmlDoc* doc = xmlReadMemory(table.data(), static_cast<int>(table.size()), "sharedStrings.xml", nullptr,
                              XML_PARSE_NONET | XML_PARSE_HUGE);
  if (doc == nullptr) return strings;
  for (const xmlNode* si = xmlDocGetRootElement(doc)->children; si != nullptr; si = si->next) {
    if (Named(si, "si")) strings.push_back(TextsBelow(si));
  }
  xmlFreeDoc(doc);
  return strings;
}

void ReadSheet(const std::string& sheet, const std::vector<std::string>& strings, XlsxText& xlsx) {
  xmlDoc* doc = xmlReadMemory(sheet.data(), static_cast<int>(sheet.size()), "sheet1.xml", nullptr,
                              XML_PARSE_NONET | XML_PARSE_HUGE);
  if (doc == nullptr) {
    xlsx.xmlWellFormed = false;
    xlsx.problem = "the worksheet is no well-formed XML";
    return;
  }
  ForElements(xmlDocGetRootElement(doc), [&](const xmlNode* element) {
    if (Named(element, "c")) {
      std::string value;
      for (const xmlNode* child = element->children; child != nullptr; child = child->next) {
        if (Named(child, "v")) value = Content(child);
      }
      const std::string type = Attribute(element, "t");
      PutCell(xlsx, Attribute(element, "r"),
              {CellTextOf(type, value, TextsBelow(element), strings, xlsx), type,
               std::atoi(Attribute(element, "s").c_str())});
    } else if (Named(element, "row")) {
      PutHeight(xlsx, Attribute(element, "r"), Attribute(element, "ht"), Attribute(element, "customHeight"));
    } else if (Named(element, "col")) {
      PutWidths(xlsx, Attribute(element, "min"), Attribute(element, "max"), Attribute(element, "width"));
    } else if (Named(element, "pane")) {
      xlsx.headerFrozen = Attribute(element, "state") == "frozen" && Attribute(element, "ySplit") == "1";
      xlsx.firstColumnFrozen = xlsx.headerFrozen && Attribute(element, "xSplit") == "1";
    }
  });
  xmlFreeDoc(doc);
}

bool ParsesAsXml(const std::string& part) {
  xmlDoc* doc = xmlReadMemory(part.data(), static_cast<int>(part.size()), "part.xml", nullptr,
                              XML_PARSE_NONET | XML_PARSE_HUGE);
  xmlFreeDoc(doc);
  return doc != nullptr;
}
#else
std::string Between(const std::string& text, const std::string& before, const std::string& after,
                    std::size_t from = 0) {
  const std::size_t start = text.find(before, from);
  if (start == std::string::npos) return {};
  const std::size_t end = text.find(after, start + before.size());
  return text.substr(start + before.size(), end - start - before.size());
}

std::string DecodeReferences(const std::string& xml) {
  std::string text;
  for (std::size_t i = 0; i < xml.size(); ++i) {
    if (xml[i] != '&') {
      text += xml[i];
      continue;
    }
    const std::size_t end = xml.find(';', i);
    const std::string entity = xml.substr(i + 1, end - i - 1);
    if (entity == "amp") text += '&';
    if (entity == "lt") text += '<';
    if (entity == "gt") text += '>';
    if (entity == "quot") text += '"';
    if (entity == "apos") text += '\'';
    i = end;
  }
  return text;
}

// The text of one "<t ...>text</t>" of ours, as shown.
std::string TextOf(const std::string& xml) {
  const std::size_t textTag = xml.find("<t");
  if (textTag == std::string::npos) return {};
  const std::size_t textStart = xml.find('>', textTag) + 1;
  const bool preserved = xml.substr(textTag, textStart - textTag).find("preserve") != std::string::npos;
  return DecodeEscapes(
      DecodeReferences(AsKept(xml.substr(textStart, xml.find("</t>") - textStart), preserved)));
}

std::vector<std::string> ReadStrings(const std::string& table) {
  std::vector<std::string> strings;
  for (std::size_t at = table.find("<si>"); at != std::string::npos; at = table.find("<si>", at + 1))
    strings.push_back(TextOf(table.substr(at, table.find("</si>", at) - at)));
  return strings;
}

// Our own sheets only: every cell in one piece, "<c ...><v>number</v></c>".
void ReadSheet(const std::string& sheet, const std::vector<std::string>& strings, XlsxText& xlsx) {
  for (std::size_t at = sheet.find("<c "); at != std::string::npos; at = sheet.find("<c ", at + 1)) {
    const std::size_t close = sheet.find("</c>", at);
    const std::string cell = sheet.substr(at, close - at);
    const std::string tag = cell.substr(0, cell.find('>'));
    const std::string type = Between(tag, "t=\"", "\"");
    PutCell(xlsx, Between(tag, "r=\"", "\""),
            {CellTextOf(type, Between(cell, "<v>", "</v>"), TextOf(cell), strings, xlsx), type,
             std::atoi(Between(tag, "s=\"", "\"").c_str())});
  }
  for (std::size_t at = sheet.find("<col "); at != std::string::npos; at = sheet.find("<col ", at + 1)) {
    const std::string tag = sheet.substr(at, sheet.find('>', at) - at);
    PutWidths(xlsx, Between(tag, "min=\"", "\""), Between(tag, "max=\"", "\""),
              Between(tag, "width=\"", "\""));
  }
  for (std::size_t at = sheet.find("<row "); at != std::string::npos; at = sheet.find("<row ", at + 1)) {
    const std::string tag = sheet.substr(at, sheet.find('>', at) - at);
    PutHeight(xlsx, Between(tag, "r=\"", "\""), Between(tag, "ht=\"", "\""),
              Between(tag, "customHeight=\"", "\""));
  }
  const std::string pane = Between(sheet, "<pane ", ">");
  xlsx.headerFrozen =
      pane.find("state=\"frozen\"") != std::string::npos && pane.find("ySplit=\"1\"") != std::string::npos;
  xlsx.firstColumnFrozen = xlsx.headerFrozen && pane.find("xSplit=\"1\"") != std::string::npos;
}
#endif

}  // namespace

Cells XlsxText::texts() const {
  Cells cells;
  for (const auto& row : rows) {
    cells.emplace_back();
    for (const XlsxCell& cell : row) cells.back().push_back(cell.text);
  }
  return cells;
}

XlsxText ReadXlsx(const std::string& bytes) {
  XlsxText xlsx;
  xlsx.zipWhole = ReadZip(bytes, xlsx);
  const auto sheet = xlsx.parts.find("xl/worksheets/sheet1.xml");
  if (sheet == xlsx.parts.end()) {
    if (xlsx.problem.empty()) xlsx.problem = "no worksheet";
    return xlsx;
  }
#ifdef BREVANT_TEST_LIBXML2
  xlsx.xmlWellFormed = true;
  for (const auto& [name, part] : xlsx.parts) {
    if (!ParsesAsXml(part)) {
      xlsx.xmlWellFormed = false;
      xlsx.problem = name + " is no well-formed XML";
    }
  }
#endif
  const auto strings = xlsx.parts.find("xl/sharedStrings.xml");
  ReadSheet(sheet->second,
            strings == xlsx.parts.end() ? std::vector<std::string>() : ReadStrings(strings->second), xlsx);
  return xlsx;
}

}  // namespace brevant::test
