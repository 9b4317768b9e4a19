#include "engine/contacts/other_values.h"

#include <vector>

#include "engine/contacts/contact_values.h"
#include "engine/contacts/pictures.h"
#include "engine/text/base64.h"

namespace brevant {

namespace {

// Longer texts than this are described, not copied.
constexpr std::size_t kLongestText = 2048;

bool StartsWithUpper(std::string_view text, std::string_view upper) {
  return text.size() >= upper.size() && EqualsUpperAscii(text.substr(0, upper.size()), upper);
}

bool Mentions(std::string_view text, std::string_view upper) {
  for (std::size_t i = 0; i + upper.size() <= text.size(); ++i) {
    if (StartsWithUpper(text.substr(i), upper)) return true;
  }
  return false;
}

std::string SizeText(std::uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  if (bytes < 1024 * 1024) return std::to_string((bytes + 512) / 1024) + " KB";
  const std::uint64_t tenths = (bytes * 10 + 512 * 1024) / (1024 * 1024);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

// What a key's bytes, or the type it declares, show it to be.
std::string_view KeyKind(std::string_view start, std::string_view declared) {
  const auto first = start.empty() ? 0u : static_cast<unsigned char>(start[0]);
  if (Mentions(start, "BEGIN PGP") || first == 0x98 || first == 0x99 || first == 0x9A || first == 0xC6) {
    return "PGP key";
  }
  if (Mentions(start, "BEGIN CERTIFICATE") ||
      (first == 0x30 && start.size() > 1 && static_cast<unsigned char>(start[1]) >= 0x80)) {
    return "X.509 certificate";
  }
  if (Mentions(declared, "PGP")) return "PGP key";
  if (Mentions(declared, "X509") || Mentions(declared, "X-509") || Mentions(declared, "PKIX")) {
    return "X.509 certificate";
  }
  return "Key";
}

bool IsAddress(std::string_view value) {
  for (const std::string_view scheme :
       {"HTTP://", "HTTPS://", "LDAP://", "LDAPS://", "FTP://", "FILE:", "CID:"}) {
    if (StartsWithUpper(value, scheme)) return true;
  }
  return false;
}

// An inline value of bytes: base64 (marked or in a data: URI) described by
// what `kind` makes of its first bytes.
template <class Kind>
std::string InlineText(std::string_view value, bool base64Encoded, std::string_view declared, Kind kind) {
  value = TrimBlanks(value);
  if (const DataUri uri = ParseDataUri(value); uri.valid) {
    const std::string_view data = uri.data;
    if (uri.base64) {
      const Base64Scan scan = ScanBase64(data);
      return std::string(kind(DecodeBase64Start(data, 64), uri.mediaType)) + ", " +
             SizeText(scan.valid ? scan.decodedBytes : data.size());
    }
    return std::string(kind(data.substr(0, 64), uri.mediaType)) + ", " + SizeText(data.size());
  }
  if (base64Encoded) {
    const Base64Scan scan = ScanBase64(value);
    return std::string(kind(DecodeBase64Start(value, 64), declared)) + ", " +
           SizeText(scan.valid ? scan.decodedBytes : value.size());
  }
  if (IsAddress(value) && value.size() <= kLongestText) return std::string(value);
  const std::string_view named = kind(value.substr(0, 64), declared);
  if (value.size() > kLongestText || named != "Key")
    return std::string(named) + ", " + SizeText(value.size());
  return std::string(value);
}

struct Numbered {
  std::string_view number;
  std::string_view words;
};

}  // namespace

std::string KeyText(std::string_view value, bool base64Encoded, std::string_view declaredType) {
  return InlineText(value, base64Encoded, declaredType, KeyKind);
}

std::string SoundText(std::string_view value, bool base64Encoded) {
  std::string text =
      InlineText(value, base64Encoded, {},
                 [](std::string_view, std::string_view) -> std::string_view { return "Sound"; });
  // "Sound, 3 KB" reads "3 KB of audio" beside the caption "Sound".
  if (text.starts_with("Sound, ")) text = text.substr(7) + " of audio";
  return text;
}

std::string_view LocationText(std::string_view value, std::string& scratch) {
  value = TrimBlanks(value);
  std::string_view pair = value;
  char separator = ';';
  if (StartsWithUpper(pair, "GEO:")) {
    pair.remove_prefix(4);
    pair = pair.substr(0, pair.find(';'));  // ;u=uncertainty and other parameters
    separator = ',';
  }
  const std::size_t at = pair.find(separator);
  if (at == std::string_view::npos || pair.find(separator, at + 1) != std::string_view::npos) return value;
  scratch.assign(TrimBlanks(pair.substr(0, at))).append(", ").append(TrimBlanks(pair.substr(at + 1)));
  return scratch;
}

std::string_view WabGenderText(std::string_view value) {
  value = TrimBlanks(value);
  if (value == "1") return "Female";
  if (value == "2") return "Male";
  if (value == "0") return {};
  return value;
}

AndroidItem ReadAndroidItem(std::string_view value) {
  constexpr std::string_view kPrefix = "vnd.android.cursor.item/";
  AndroidItem item;
  value = TrimBlanks(value);
  if (!value.starts_with(kPrefix)) return item;
  value.remove_prefix(kPrefix.size());
  std::vector<std::string_view> parts;
  CutComponents(value, ';', parts);
  item.kind = parts[0];
  if (parts.size() > 1) item.data1 = parts[1];
  if (parts.size() > 2) item.data2 = TrimBlanks(parts[2]);
  if (parts.size() > 3) item.data3 = parts[3];
  return item;
}

std::string_view AndroidRelation(const AndroidItem& item) {
  // Android's ContactsContract.CommonDataKinds.Relation types.
  constexpr Numbered kRelations[] = {
      {"1", "Assistant"}, {"2", "Brother"},  {"3", "Child"},        {"4", "Domestic Partner"},
      {"5", "Father"},    {"6", "Friend"},   {"7", "Manager"},      {"8", "Mother"},
      {"9", "Parent"},    {"10", "Partner"}, {"11", "Referred By"}, {"12", "Relative"},
      {"13", "Sister"},   {"14", "Spouse"},
  };
  for (const Numbered& relation : kRelations) {
    if (item.data2 == relation.number) return relation.words;
  }
  return TrimBlanks(item.data3);
}

std::string_view AndroidEvent(const AndroidItem& item) {
  // Android's ContactsContract.CommonDataKinds.Event types.
  constexpr Numbered kEvents[] = {{"1", "Anniversary"}, {"2", "Other"}, {"3", "Birthday"}};
  for (const Numbered& event : kEvents) {
    if (item.data2 == event.number) return event.words;
  }
  return TrimBlanks(item.data3);
}

}  // namespace brevant
