#pragma once

#include <string>
#include <string_view>

namespace brevant {

// How the values of properties beyond the usual few read: small routines on
// one value each, giving the text a cell shows. A routine that gives a view
// may give one into `scratch`.

// A public key or certificate says what it is rather than showing a page of
// base64: "PGP key, 2 KB", "X.509 certificate, 1 KB". An address stays as written.
std::string KeyText(std::string_view value, bool base64Encoded, std::string_view declaredType);

// A sound clip (the name spoken) likewise: "3 KB of audio", or its address.
std::string SoundText(std::string_view value, bool base64Encoded);

// GEO, as "48.137, 11.575": vCard 3.0's "48.137;11.575" and 4.0's
// "geo:48.137,11.575"; anything else as written.
std::string_view LocationText(std::string_view value, std::string& scratch);

// Windows Address Book's gender numbers: 1 is female, 2 male, 0 none.
std::string_view WabGenderText(std::string_view value);

// Android's own X-ANDROID-CUSTOM: "vnd.android.cursor.item/KIND;DATA1;DATA2;DATA3;...".
struct AndroidItem {
  std::string_view kind;   // "nickname", "relation", "contact_event", ...
  std::string_view data1;  // the name, nickname or date
  std::string_view data2;  // the type's number
  std::string_view data3;  // the label of a custom type (number 0)
};
AndroidItem ReadAndroidItem(std::string_view value);
// The relation or event that an Android type number stands for ("14" is
// "Spouse"); for a custom one (0), its label.
std::string_view AndroidRelation(const AndroidItem& item);
std::string_view AndroidEvent(const AndroidItem& item);

}  // namespace brevant
