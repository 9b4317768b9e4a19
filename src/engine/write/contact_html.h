#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "engine/contacts/contact_columns.h"
#include "engine/contacts/pictures.h"
#include "engine/turn_and_colour.h"
#include "engine/write/beside_files.h"
#include "engine/write/document_output.h"

namespace brevant {

// What the user chose for the table.
struct ContactTableStyle {
  Colour text = 0;
  Text border;
  Colour background = 0xFFFFFF;
};

// The title of a document with the contacts of one input: the input's name.
inline constexpr char16_t kContactsTitle[] = u"Contacts";  // of the one document of all inputs

// Writes the contact table document: XHTML that is also HTML, in plain ASCII,
// so that a browser opens it either way (output.xml is read as XML). On screen
// the header row stays in view while scrolling; telephone numbers, e-mail
// addresses and dates do not wrap, long texts do. On paper each contact is a
// block of "caption: value" lines of its filled cells. Values are escaped
// straight into the document as it goes out, a megabyte at a time, with a turn
// at each. With files beside it, its header row and rows go there too,
// cell by cell; pictures stay out of them.
class ContactDocument {
 public:
  ContactDocument(DocumentOutput& output, Turn turn, BesideFiles* beside = nullptr)
      : output_(output), turn_(std::move(turn)), beside_(beside) {}

  void begin(const ContactTableStyle& style, const Text& title, const ContactColumns& columns);
  // One row, of the contact's cells in the order read.
  void row(std::span<const ContactCell> cells, std::string_view input, std::string_view values,
           const ContactColumns& columns);
  // Writes what is still held; the closing piece is the caller's.
  void flush();

 private:
  void flushWhenFull();
  void appendPrintStyle(const ContactColumns& columns);
  void appendValue(std::string_view text, ByteEncoding encoding);
  void appendPicture(std::span<const ContactCell> cells, std::string_view input, std::string_view values,
                     Caption caption, std::string_view base64, PictureFormat format);

  DocumentOutput& output_;
  Turn turn_;
  BesideFiles* beside_;
  std::string piece_;
  std::vector<std::uint32_t> order_;  // a row's cells in the order of the columns
  std::vector<std::uint64_t> keys_;   // the ColumnKey of each of a row's cells, in the order read
};

}  // namespace brevant
