#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace brevant::bench {

// Makes believable vCard 3.0 contacts with CR LF line ends, the way address
// books export them: every property the converter knows (FN, N, NICKNAME, ORG,
// TITLE, ROLE, BDAY, EMAIL, TEL of every type, ADR;WORK and ADR;HOME with seven
// components, URL, quoted-printable NOTE) plus lines it must pass over (BEGIN,
// VERSION, END, X- extensions, REV, CATEGORIES, a folded continuation). Names and
// places carry Latin-1 bytes, and some values hold "&", "<", ">" and ":".
// The same seed gives the same contacts from the same build.
class ContactGenerator {
 public:
  explicit ContactGenerator(std::uint64_t seed);

  void appendContact(std::string& out);

 private:
  std::uint64_t next();
  std::size_t below(std::size_t bound);
  bool oneIn(std::size_t chances);
  std::string digits(int count);

  std::uint64_t state_;
  std::uint64_t serial_ = 0;
};

// One contact holding the given number of e-mail lines
// "EMAIL;TYPE=INTERNET:userN@example.com", N counting from 1.
void AppendEmailListContact(std::string& out, std::size_t emailLines);

}  // namespace brevant::bench
