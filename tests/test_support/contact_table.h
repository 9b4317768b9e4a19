#pragma once

#include <map>
#include <string>
#include <vector>

namespace brevant::test {

// A document with one row per contact, read back as a table. Values are the
// text a browser shows (references decoded to UTF-8, "<br/>" as a line feed).
struct ContactTableText {
  bool wellFormed = false;  // an XML parser read it without an error
  std::string title;
  std::vector<std::string> captions;
  std::vector<std::map<std::string, std::string>> rows;  // caption to value, empty cells left out
  // An embedded picture's cell reads "[image/png: its alt text]"; the base64 of
  // each picture, in document order.
  std::vector<std::string> pictures;
};

// Parses the document with libxml2 where the build has it (every Linux build);
// elsewhere reads the table with patterns and leaves wellFormed false.
ContactTableText ReadContactTable(const std::string& document);

// A document read by an XML parser as an XML reader (a browser opening
// output.xml) reads it: the namespace of its root and the text of every header
// and data cell in document order, in UTF-8. Empty where the parser refuses it
// or the build has none.
struct XmlDocumentText {
  bool wellFormed = false;
  std::string rootNamespace;
  std::vector<std::string> cells;
};
XmlDocumentText ReadXmlDocument(const std::string& document);

// True when the build checks documents with an XML parser.
bool ChecksXml();

}  // namespace brevant::test
