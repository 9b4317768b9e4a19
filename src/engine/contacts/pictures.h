#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brevant {

// A contact's pictures (PHOTO, LOGO, Outlook's X-MS-CARDPICTURE) as a document
// shows them. Only raster pictures that their first bytes prove to be JPEG,
// PNG, GIF, BMP or WebP are ever embedded: a picture that says it is one thing
// and is another, SVG (which can carry script), and a picture cut short (named
// as damaged, never shown as a broken image) never are. A picture at an
// http(s) address is shown as its address and never loaded.

enum class PictureFormat : std::uint8_t { Unknown, Jpeg, Png, Gif, Bmp, Webp, Svg, Tiff, Heic, Ico };

// The format that a picture's first bytes (a dozen or so) show.
PictureFormat SniffPicture(std::string_view firstBytes);
bool IsEmbeddable(PictureFormat format);
std::string_view MediaType(PictureFormat format);   // "image/jpeg"; empty for Unknown
std::string_view FormatName(PictureFormat format);  // "JPEG"; empty for Unknown

// How many bytes SniffPicture wants.
inline constexpr std::size_t kSniffBytes = 16;

// The parts of a data: URI; valid false for anything else.
struct DataUri {
  bool valid = false;
  std::string_view mediaType;  // "image/png"; may be empty
  bool base64 = false;
  std::string_view data;
};
DataUri ParseDataUri(std::string_view uri);

// What one picture property gives its cell: the base64 text of a picture to
// embed (a view into the value, blanks and line breaks left for the writer to
// pass over), or a text: the picture's address, or what the picture is and why
// it is not shown.
struct PictureCell {
  std::string_view base64;  // empty when the cell is a text
  std::string text;
};
// `value` as written (the lines of a folded value with their line breaks);
// `base64Encoded` for ENCODING=b or BASE64; `declaredType` the TYPE or
// MEDIATYPE parameter, if any (JPEG, image/png), which only names a picture
// that cannot be embedded.
PictureCell ReadPicture(std::string_view value, bool base64Encoded, std::string_view declaredType);

// The format of the picture in a cell's value when the document embeds it:
// base64 text of one of the embeddable formats; Unknown for a text.
PictureFormat EmbeddedFormat(std::string_view cellValue);

}  // namespace brevant
