#include "engine/contacts/pictures.h"

#include <array>

#include "engine/contacts/contact_values.h"
#include "engine/text/base64.h"
#include "engine/text/packed_name.h"

namespace brevant {

namespace {

struct FormatFacts {
  PictureFormat format;
  std::string_view name;
  std::string_view mediaType;
  bool embeddable;
};
constexpr std::array<FormatFacts, 10> kFormats = {{
    {PictureFormat::Unknown, "", "", false},
    {PictureFormat::Jpeg, "JPEG", "image/jpeg", true},
    {PictureFormat::Png, "PNG", "image/png", true},
    {PictureFormat::Gif, "GIF", "image/gif", true},
    {PictureFormat::Bmp, "BMP", "image/bmp", true},
    {PictureFormat::Webp, "WebP", "image/webp", true},
    {PictureFormat::Svg, "SVG", "image/svg+xml", false},
    {PictureFormat::Tiff, "TIFF", "image/tiff", false},
    {PictureFormat::Heic, "HEIC", "image/heic", false},
    {PictureFormat::Ico, "ICO", "image/x-icon", false},
}};

const FormatFacts& FactsOf(PictureFormat format) { return kFormats[static_cast<std::size_t>(format)]; }

// Longer texts than this that are no picture are described, not copied.
constexpr std::size_t kLongestText = 2048;

bool StartsWithUpper(std::string_view text, std::string_view upper) {
  return text.size() >= upper.size() && EqualsUpperAscii(text.substr(0, upper.size()), upper);
}

// A folded value as one line: a line break and the blank after it go.
std::string Unfolded(std::string_view text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (i + 1 < text.size() && (text[i + 1] == ' ' || text[i + 1] == '\t')) ++i;
      continue;
    }
    line += text[i];
  }
  return line;
}

std::string SizeText(std::uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  if (bytes < 1024 * 1024) return std::to_string((bytes + 512) / 1024) + " KB";
  const std::uint64_t tenths = (bytes * 10 + 512 * 1024) / (1024 * 1024);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

// A name for the format a picture claims: "SVG" for image/svg+xml, "TIFF" for TIFF.
std::string ClaimedName(std::string_view declared) {
  declared = TrimBlanks(declared);
  if (const std::size_t slash = declared.find('/'); slash != std::string_view::npos) {
    declared.remove_prefix(slash + 1);
  }
  declared = declared.substr(0, declared.find_first_of("+;"));
  std::string name;
  for (const char c : declared) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') {
      name += UpperAscii(c);
    }
    if (name.size() >= 12) break;
  }
  if (name == "JPG") name = "JPEG";
  return name;
}

std::string Description(PictureFormat sniffed, std::string_view declared, std::uint64_t bytes,
                        std::string_view why) {
  std::string name(FactsOf(sniffed).name);
  if (name.empty()) name = ClaimedName(declared);
  std::string text = name.empty() ? std::string("Picture") : name + " picture";
  text += ", " + SizeText(bytes) + ", " + std::string(why);
  return text;
}

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i > 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i - 1]);
  return value;
}

// Whether a picture of an embeddable format holds all of itself: its end
// marker is there, or the size its head gives. A picture cut short (its
// value's lines lost) would show as a broken image.
bool IsWhole(PictureFormat format, std::string_view base64, const Base64Scan& scan) {
  const auto head = [&] { return DecodeBase64Start(base64, kSniffBytes); };
  switch (format) {
    case PictureFormat::Jpeg: {  // end of image, FF D9, with at most a little padding after it
      const std::string end = DecodeBase64End(base64, scan, 32);
      return end.find("\xFF\xD9") != std::string::npos;
    }
    case PictureFormat::Png:  // the IEND chunk, its length and checksum
      return DecodeBase64End(base64, scan, 12) == std::string_view("\0\0\0\0IEND\xAE\x42\x60\x82", 12);
    case PictureFormat::Gif: {  // the trailer
      const std::string end = DecodeBase64End(base64, scan, 4);
      return end.find(';') != std::string::npos;
    }
    case PictureFormat::Bmp:  // the file's size (the sniffed head holds it)
      return LittleEndian32(head(), 2) <= scan.decodedBytes;
    case PictureFormat::Webp:  // the RIFF chunk's size
      return std::uint64_t{LittleEndian32(head(), 4)} + 8 <= scan.decodedBytes;
    default:
      return false;
  }
}

std::string Damaged(std::string_view what) {
  return "Damaged picture (" + std::string(what) + "), not shown";
}

// Base64 text that holds a picture: embedded when its first bytes prove an
// embeddable format and it is whole, else described.
PictureCell FromBase64(std::string_view base64, std::string_view declared) {
  const Base64Scan scan = ScanBase64(base64);
  if (!scan.valid) return {{}, Damaged(SizeText(base64.size()) + " of broken base64")};
  const PictureFormat format = SniffPicture(DecodeBase64Start(base64, kSniffBytes));
  if (IsEmbeddable(format)) {
    if (IsWhole(format, base64, scan)) return {base64, {}};
    return {{},
            Damaged(std::string(FormatName(format)) + ", " + SizeText(scan.decodedBytes) + ", cut short")};
  }
  return {{}, Description(format, declared, scan.decodedBytes, "not shown")};
}

}  // namespace

PictureFormat SniffPicture(std::string_view bytes) {
  const auto starts = [&](std::string_view magic, std::size_t at = 0) {
    return bytes.size() >= at + magic.size() && bytes.substr(at, magic.size()) == magic;
  };
  if (starts("\xFF\xD8\xFF")) return PictureFormat::Jpeg;
  if (starts("\x89PNG\r\n\x1A\n")) return PictureFormat::Png;
  if (starts("GIF87a") || starts("GIF89a")) return PictureFormat::Gif;
  // "BM", the file's size, and four reserved bytes that are zero.
  if (starts("BM") && starts(std::string_view("\0\0\0\0", 4), 6)) return PictureFormat::Bmp;
  if (starts("RIFF") && starts("WEBP", 8)) return PictureFormat::Webp;
  if (starts(std::string_view("II*\0", 4)) || starts(std::string_view("MM\0*", 4)))
    return PictureFormat::Tiff;
  if (starts("ftypheic", 4) || starts("ftypheix", 4) || starts("ftypmif1", 4) || starts("ftypavif", 4)) {
    return PictureFormat::Heic;
  }
  if (starts(std::string_view("\0\0\1\0", 4))) return PictureFormat::Ico;
  // XML or SVG text, after any byte-order mark and blanks.
  std::string_view text = bytes;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  text = TrimBlanks(text);
  if (text.starts_with("<?xml") || StartsWithUpper(text, "<SVG") || text.starts_with("<!--")) {
    return PictureFormat::Svg;
  }
  return PictureFormat::Unknown;
}

bool IsEmbeddable(PictureFormat format) { return FactsOf(format).embeddable; }
std::string_view MediaType(PictureFormat format) { return FactsOf(format).mediaType; }
std::string_view FormatName(PictureFormat format) { return FactsOf(format).name; }

DataUri ParseDataUri(std::string_view uri) {
  uri = TrimBlanks(uri);
  if (!StartsWithUpper(uri, "DATA:")) return {};
  uri.remove_prefix(5);
  const std::size_t comma = uri.find(',');
  if (comma == std::string_view::npos) return {};
  DataUri parsed;
  parsed.valid = true;
  std::string_view head = uri.substr(0, comma);
  parsed.data = uri.substr(comma + 1);
  const std::size_t semicolon = head.find(';');
  parsed.mediaType = TrimBlanks(head.substr(0, semicolon));
  for (std::size_t at = semicolon; at != std::string_view::npos; at = head.find(';', at + 1)) {
    const std::string_view parameter = TrimBlanks(head.substr(at + 1, head.find(';', at + 1) - at - 1));
    if (EqualsUpperAscii(parameter, "BASE64")) parsed.base64 = true;
  }
  return parsed;
}

PictureCell ReadPicture(std::string_view value, bool base64Encoded, std::string_view declaredType) {
  // Blanks and line breaks at the ends, as the blank line that ends an old-style base64 value.
  value = TrimBlanks(value);
  if (value.empty()) return {};
  if (StartsWithUpper(value, "DATA:")) {
    // A data: URI may be folded like any value; its head is short.
    const std::string head = Unfolded(value.substr(0, std::min<std::size_t>(value.size(), 512)));
    const DataUri uri = ParseDataUri(head);
    if (uri.valid) {
      const std::size_t comma = value.find(',');
      const std::string_view data = value.substr(comma + 1);
      if (uri.base64) return FromBase64(data, uri.mediaType);
      return {{}, Description(PictureFormat::Unknown, uri.mediaType, data.size(), "not shown")};
    }
  }
  if (base64Encoded) return FromBase64(value, declaredType);
  if (StartsWithUpper(value, "HTTP://") || StartsWithUpper(value, "HTTPS://")) {
    if (value.size() > kLongestText) return {{}, "Picture at an address of " + SizeText(value.size())};
    return {{}, Unfolded(value)};
  }
  // Base64 that its exporter did not mark as such is still a picture.
  if (IsEmbeddable(SniffPicture(DecodeBase64Start(value, kSniffBytes))) && ScanBase64(value).valid) {
    return FromBase64(value, declaredType);
  }
  if (value.size() > kLongestText) {
    return {{}, Description(PictureFormat::Unknown, declaredType, value.size(), "not shown")};
  }
  return {{}, Unfolded(value)};
}

PictureFormat EmbeddedFormat(std::string_view cellValue) {
  const PictureFormat format = SniffPicture(DecodeBase64Start(cellValue, kSniffBytes));
  if (!IsEmbeddable(format) || !ScanBase64(cellValue).valid) return PictureFormat::Unknown;
  return format;
}

}  // namespace brevant
