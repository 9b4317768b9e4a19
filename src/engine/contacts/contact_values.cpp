#include "engine/contacts/contact_values.h"

#include "engine/contacts/content_lines.h"
#include "engine/text/packed_name.h"

namespace brevant {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when the text has this shape: 'd' a digit, any other character itself.
bool HasShape(std::string_view text, std::string_view shape) {
  if (text.size() != shape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (shape[i] == 'd' ? !IsDigit(text[i]) : text[i] != shape[i]) return false;
  }
  return true;
}

bool IsMonthAndDay(std::string_view month, std::string_view day) {
  const int m = (month[0] - '0') * 10 + (month[1] - '0');
  const int d = (day[0] - '0') * 10 + (day[1] - '0');
  return m >= 1 && m <= 12 && d >= 1 && d <= 31;
}

struct Service {
  std::string_view key;  // upper-case
  std::string_view name;
};

// URI schemes of IMPP and the names of the older X- properties, to the service's name.
constexpr Service kSchemes[] = {
    {"AIM", "AIM"},      {"XMPP", "Jabber"}, {"JABBER", "Jabber"},     {"SKYPE", "Skype"},
    {"CALLTO", "Skype"}, {"ICQ", "ICQ"},     {"MSNIM", "MSN"},         {"MSN", "MSN"},
    {"YMSGR", "Yahoo"},  {"YAHOO", "Yahoo"}, {"GTALK", "Google Talk"}, {"QQ", "QQ"},
    {"SIP", "SIP"},      {"X-APPLE", ""},
};
constexpr Service kImProperties[] = {
    {"X-AIM", "AIM"}, {"X-JABBER", "Jabber"}, {"X-SKYPE", "Skype"}, {"X-SKYPE-USERNAME", "Skype"},
    {"X-ICQ", "ICQ"}, {"X-MSN", "MSN"},       {"X-YAHOO", "Yahoo"}, {"X-GOOGLE-TALK", "Google Talk"},
    {"X-QQ", "QQ"},
};

std::string_view ServiceText(std::string_view service, std::string_view handle, std::string& scratch) {
  handle = TrimBlanks(handle);
  service = TrimBlanks(service);
  if (handle.empty() || service.empty()) return handle;
  scratch.assign(service).append(": ").append(handle);
  return scratch;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsUpperAscii(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (UpperAscii(text[i]) != upper[i]) return false;
  }
  return true;
}

void AppendUnescaped(std::string& out, std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = text.find('\\'); i != kNone; i = text.find('\\', i)) {
    if (i + 1 == text.size()) break;
    const char next = text[i + 1];
    const bool lineBreak = next == 'n' || next == 'N';
    if (!lineBreak && next != ',' && next != ';' && next != ':' && next != '\\' && next != '"') {
      ++i;
      continue;
    }
    out.append(text.substr(start, i - start));
    out += lineBreak ? '\n' : next;
    i += 2;
    start = i;
  }
  out.append(text.substr(start));
}

std::size_t UnescapeInPlace(char* text, std::size_t size) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (text[i] == '\\' && i + 1 < size) {
      const char next = text[i + 1];
      if (next == 'n' || next == 'N' || next == ',' || next == ';' || next == ':' || next == '\\' ||
          next == '"') {
        text[out++] = next == 'n' || next == 'N' ? '\n' : next;
        ++i;
        continue;
      }
    }
    text[out++] = text[i];
  }
  return out;
}

void CutComponents(std::string_view text, char separator, std::vector<std::string_view>& parts) {
  parts.clear();
  std::size_t start = 0;
  if (text.find('\\') == kNone) {  // the usual case, with the library's fast search
    for (std::size_t at; (at = text.find(separator, start)) != kNone; start = at + 1) {
      parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == separator) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(text.substr(start));
}

namespace {

// A time of day after a date ("1430-0500", "10:30:00Z") as "14:30 -05:00",
// "10:30 UTC"; empty for midnight, which exporters of a date alone write,
// and for what is no time of day.
std::string TimeOfDay(std::string_view time) {
  std::string digits;
  std::size_t i = 0;
  for (; i < time.size() && (IsDigit(time[i]) || time[i] == ':'); ++i) {
    if (time[i] != ':') digits += time[i];
  }
  const std::string_view zone = time.substr(i);
  if ((digits.size() != 4 && digits.size() != 6) || std::stoi(digits.substr(0, 2)) > 24 ||
      std::stoi(digits.substr(2, 2)) > 59) {
    return {};
  }
  std::string text = digits.substr(0, 2) + ":" + digits.substr(2, 2);
  if (digits.find_first_not_of('0') == std::string::npos) return {};
  if (digits.size() == 6 && digits.substr(4) != "00") text += ":" + digits.substr(4);
  if (zone.empty()) return text;
  if (zone == "Z" || zone == "z") return text + " UTC";
  std::string offset;
  for (const char c : zone.substr(1)) {
    if (IsDigit(c)) offset += c;
  }
  if ((zone[0] != '+' && zone[0] != '-') || (offset.size() != 2 && offset.size() != 4)) return {};
  if (offset.size() == 2) offset += "00";
  return text + " " + zone[0] + offset.substr(0, 2) + ":" + offset.substr(2);
}

}  // namespace

std::string_view NormalDate(std::string_view value, std::string_view omitYear, std::string& scratch) {
  value = TrimBlanks(value);
  const std::size_t time = value.find_first_of("Tt");
  const std::string_view date = value.substr(0, time);
  std::string_view year, month, day;
  if (HasShape(date, "dddd-dd-dd")) {
    year = date.substr(0, 4), month = date.substr(5, 2), day = date.substr(8, 2);
  } else if (HasShape(date, "dddddddd")) {
    year = date.substr(0, 4), month = date.substr(4, 2), day = date.substr(6, 2);
  } else if (HasShape(date, "--dd-dd")) {
    month = date.substr(2, 2), day = date.substr(5, 2);
  } else if (HasShape(date, "--dddd")) {
    month = date.substr(2, 2), day = date.substr(4, 2);
  } else if (time != kNone && (HasShape(date, "dddd-dd") || HasShape(date, "dddd"))) {
    return date;  // a year and month, or a year, with a time of day
  } else {
    return value;
  }
  if (!IsMonthAndDay(month, day)) return value;
  if (year == TrimBlanks(omitYear)) year = {};
  scratch.assign(year.empty() ? "--" : year);
  scratch.append(year.empty() ? "" : "-").append(month).append("-").append(day);
  if (time != kNone) {
    const std::string timeOfDay = TimeOfDay(value.substr(time + 1));
    if (!timeOfDay.empty()) scratch.append(" ").append(timeOfDay);
  }
  return scratch;
}

Caption TelephoneCaption(unsigned types) {
  if (types & kTypeFax) {
    if (types & kTypeWork) return Caption::BusinessFax;
    return (types & kTypeHome) ? Caption::HomeFax : Caption::OtherFax;
  }
  if (types & kTypeCell) return Caption::MobilePhone;
  if (types & kTypePager) return Caption::Pager;
  if (types & kTypeWork) return Caption::BusinessPhone;
  return (types & kTypeHome) ? Caption::HomePhone : Caption::OtherPhone;
}

std::string_view TelephoneNumber(std::string_view value, std::string& scratch) {
  value = TrimBlanks(value);
  if (value.size() < 4 || !EqualsUpperAscii(value.substr(0, 4), "TEL:")) return value;
  value.remove_prefix(4);
  const std::size_t semicolon = value.find(';');
  scratch.assign(value.substr(0, semicolon));
  for (std::size_t at = semicolon; at != kNone; at = value.find(';', at + 1)) {
    const std::string_view parameter = value.substr(at + 1);
    if (parameter.size() >= 4 && EqualsUpperAscii(parameter.substr(0, 4), "EXT=")) {
      scratch += " ext. ";
      scratch.append(parameter.substr(4, parameter.find(';') - 4));
    }
  }
  return scratch;
}

std::string_view GenderText(std::string_view value, std::string& scratch) {
  std::vector<std::string_view> parts;
  CutComponents(value, ';', parts);
  std::string sex;
  AppendUnescaped(sex, TrimBlanks(parts[0]));
  std::string identity;
  if (parts.size() > 1) AppendUnescaped(identity, TrimBlanks(parts[1]));
  constexpr Service kSexes[] = {
      {"M", "Male"}, {"F", "Female"}, {"O", "Other"}, {"N", "None"}, {"U", "Unknown"}};
  for (const Service& known : kSexes) {
    if (EqualsUpperAscii(sex, known.key)) sex = known.name;
  }
  scratch = sex;
  if (!identity.empty()) scratch = sex.empty() ? identity : sex + " (" + identity + ")";
  return scratch;
}

ImAddress ImppParts(std::string_view uri, std::string_view serviceType) {
  uri = TrimBlanks(uri);
  const std::size_t colon = uri.find(':');
  std::string_view scheme = colon == kNone ? std::string_view() : uri.substr(0, colon);
  std::string_view handle = colon == kNone ? uri : uri.substr(colon + 1);
  if (handle.starts_with("//")) handle.remove_prefix(2);
  if (const std::size_t name = handle.find("screenname="); name != kNone) {  // aim:goim?screenname=...
    handle = handle.substr(name + 11);
    handle = handle.substr(0, handle.find('&'));
  }
  std::string_view service = scheme;
  for (const Service& known : kSchemes) {
    if (EqualsUpperAscii(scheme, known.key)) service = known.name;
  }
  if (!TrimBlanks(serviceType).empty()) service = serviceType;
  return {TrimBlanks(service), TrimBlanks(handle)};
}

std::string_view ImppText(std::string_view uri, std::string_view serviceType, std::string& scratch) {
  const ImAddress parts = ImppParts(uri, serviceType);
  const std::string service(parts.service);  // the scratch may hold what it points into
  return ServiceText(service, parts.handle, scratch);
}

ImAddress ImParts(std::string_view propertyName, std::string_view handle) {
  std::string_view service;
  for (const Service& known : kImProperties) {
    if (EqualsUpperAscii(propertyName, known.key)) service = known.name;
  }
  return {service, TrimBlanks(handle)};
}

std::string_view ImText(std::string_view propertyName, std::string_view handle, std::string& scratch) {
  const ImAddress parts = ImParts(propertyName, handle);
  return ServiceText(parts.service, parts.handle, scratch);
}

}  // namespace brevant
