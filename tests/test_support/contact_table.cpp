#include "test_support/contact_table.h"

#include <regex>

#include "support/text/utf8.h"

#ifdef BREVANT_TEST_LIBXML2
#include <libxml/parser.h>
#include <libxml/tree.h>
#endif

namespace brevant::test {

namespace {

#ifdef BREVANT_TEST_LIBXML2
bool Named(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && std::string(reinterpret_cast<const char*>(node->name)) == name;
}

std::string Attribute(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (value == nullptr) return "<no " + std::string(name) + ">";
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

// The text of a cell as shown: text and references, a line feed for <br/>, a
// picture as its media type and alt text (its data go to `pictures`).
std::string CellText(const xmlNode* cell, std::vector<std::string>* pictures = nullptr) {
  std::string text;
  for (const xmlNode* child = cell->children; child != nullptr; child = child->next) {
    if (child->type == XML_TEXT_NODE) {
      text += reinterpret_cast<const char*>(child->content);
    } else if (Named(child, "br")) {
      text += '\n';
    } else if (Named(child, "span")) {
      text += CellText(child, pictures);  // a long text's block
    } else if (Named(child, "img") && pictures != nullptr) {
      const std::string source = Attribute(child, "src");
      const std::size_t comma = source.find(";base64,");
      text += "[" + (source.starts_with("data:") ? source.substr(5, comma - 5) : source) + ": " +
              Attribute(child, "alt") + "]";
      pictures->push_back(comma == std::string::npos ? std::string() : source.substr(comma + 8));
    } else {
      text += "<unexpected " + std::string(reinterpret_cast<const char*>(child->name)) + ">";
    }
  }
  return text;
}

const xmlNode* Child(const xmlNode* parent, const char* name) {
  for (const xmlNode* child = parent == nullptr ? nullptr : parent->children; child != nullptr;
       child = child->next) {
    if (Named(child, name)) return child;
  }
  return nullptr;
}

template <class Each>
void ForChildren(const xmlNode* parent, const char* name, Each&& each) {
  for (const xmlNode* child = parent == nullptr ? nullptr : parent->children; child != nullptr;
       child = child->next) {
    if (Named(child, name)) each(child);
  }
}
#endif

// Without a parser: the few references and the line break a cell can hold.
std::string DecodedText(const std::string& html) {
  std::string text;
  for (std::size_t i = 0; i < html.size(); ++i) {
    if (html.compare(i, 5, "<br/>") == 0) {
      text += '\n';
      i += 4;
    } else if (html.compare(i, 6, "<span>") == 0 || html.compare(i, 7, "</span>") == 0) {
      i = html.find('>', i);  // a long text's block
    } else if (html[i] == '&') {
      const std::size_t end = html.find(';', i);
      const std::string entity = html.substr(i + 1, end - i - 1);
      if (entity == "amp") text += '&';
      if (entity == "lt") text += '<';
      if (entity == "gt") text += '>';
      if (entity == "quot") text += '"';
      if (entity[0] == '#') AppendUtf8(text, static_cast<char32_t>(std::stoul(entity.substr(1))));
      i = end;
    } else {
      text += html[i];
    }
  }
  return text;
}

[[maybe_unused]] ContactTableText ReadWithPatterns(const std::string& document) {
  ContactTableText table;
  std::smatch title;
  if (std::regex_search(document, title, std::regex("<title>([^<]*)</title>")))
    table.title = DecodedText(title[1]);
  static const std::regex kHeader("<th>([^<]*)</th>");
  static const std::regex kRow("<tr>((?:<td>.*?</td>)+)</tr>");
  static const std::regex kCell("<td>(.*?)</td>");
  for (std::sregex_iterator h(document.begin(), document.end(), kHeader), end; h != end; ++h) {
    table.captions.push_back(DecodedText((*h)[1]));
  }
  for (std::sregex_iterator r(document.begin(), document.end(), kRow), end; r != end; ++r) {
    const std::string cells = (*r)[1];
    std::map<std::string, std::string> row;
    std::size_t column = 0;
    static const std::regex kPicture("<img alt=\"([^\"]*)\" src=\"data:([^;]*);base64,([^\"]*)\"/>");
    for (std::sregex_iterator c(cells.begin(), cells.end(), kCell); c != end; ++c, ++column) {
      if ((*c)[1].length() == 0 || column >= table.captions.size()) continue;
      const std::string cell = (*c)[1];
      std::smatch picture;
      if (std::regex_match(cell, picture, kPicture)) {
        row[table.captions[column]] = "[" + picture[2].str() + ": " + DecodedText(picture[1]) + "]";
        table.pictures.push_back(picture[3]);
      } else {
        row[table.captions[column]] = DecodedText(cell);
      }
    }
    table.rows.push_back(row);
  }
  return table;
}

}  // namespace

XmlDocumentText ReadXmlDocument([[maybe_unused]] const std::string& document) {
  XmlDocumentText text;
#ifdef BREVANT_TEST_LIBXML2
  xmlDoc* doc = xmlReadMemory(document.data(), static_cast<int>(document.size()), "output.xml", nullptr,
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (doc == nullptr) return text;
  text.wellFormed = true;
  const xmlNode* root = xmlDocGetRootElement(doc);
  if (root != nullptr && root->ns != nullptr)
    text.rootNamespace = reinterpret_cast<const char*>(root->ns->href);
  const auto walk = [&](const auto& self, const xmlNode* node) -> void {
    for (; node != nullptr; node = node->next) {
      if (Named(node, "th") || Named(node, "td")) {
        xmlChar* content = xmlNodeGetContent(node);
        text.cells.emplace_back(reinterpret_cast<const char*>(content));
        xmlFree(content);
      } else {
        self(self, node->children);
      }
    }
  };
  walk(walk, root);
  xmlFreeDoc(doc);
#endif
  return text;
}

bool ChecksXml() {
#ifdef BREVANT_TEST_LIBXML2
  return true;
#else
  return false;
#endif
}

ContactTableText ReadContactTable(const std::string& document) {
#ifdef BREVANT_TEST_LIBXML2
  ContactTableText table;
  xmlDoc* doc = xmlReadMemory(document.data(), static_cast<int>(document.size()), "document.xml", nullptr,
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (doc == nullptr) return table;
  table.wellFormed = true;
  const xmlNode* html = xmlDocGetRootElement(doc);
  const xmlNode* body = Child(html, "body");
  const xmlNode* head = Child(html, "head");
  if (const xmlNode* title = Child(head, "title")) table.title = CellText(title);
  const xmlNode* tableElement = Child(body, "table");
  ForChildren(Child(Child(tableElement, "thead"), "tr"), "th",
              [&](const xmlNode* th) { table.captions.push_back(CellText(th)); });
  ForChildren(Child(tableElement, "tbody"), "tr", [&](const xmlNode* tr) {
    std::map<std::string, std::string> row;
    std::size_t column = 0;
    ForChildren(tr, "td", [&](const xmlNode* td) {
      const std::string text = CellText(td, &table.pictures);
      if (!text.empty() && column < table.captions.size()) row[table.captions[column]] = text;
      ++column;
    });
    table.rows.push_back(row);
  });
  xmlFreeDoc(doc);
  return table;
#else
  return ReadWithPatterns(document);
#endif
}

}  // namespace brevant::test
