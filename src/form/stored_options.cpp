#include "form/stored_options.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "engine/write/output_formats.h"
#include "form/option_groups.h"

namespace brevant {

namespace {

using enum Control;

// Flags are "True" or "False", colours signed decimal text, texts as typed.
// The check boxes of the formats beside the documents follow from their table.
constexpr StoredOption kOwnOptions[] = {
    {BorderWidth, {u"Border Width", u"1"}, 110},
    {AllInOneDocument, {u"Option1", u"True"}, 112},
    {DocumentPerInput, {u"Option2", u"False"}, 114},
    {TextColourSwatch, {u"Text Color", u"0"}, 116},
    {BackgroundColourSwatch, {u"Background Color", u"16777215"}, 118},
    {OutputFolder, {u"Text1", u""}, 124, true},
    {SaveToChosenFolder, {u"Option3", u"True"}, 126},
    {SaveBesideInput, {u"Option4", u"False"}, 128},
    {RowPerContact, {u"OneRowPerContact", u"False"}, 130},
};

}  // namespace

std::span<const StoredOption> StoredOptions() {
  static const std::vector<StoredOption> options = [] {
    std::vector<StoredOption> all(std::begin(kOwnOptions), std::end(kOwnOptions));
    for (const OutputFormatInfo& format : kOutputFormats)
      all.push_back({CheckBoxOf(format.format), {format.storedKey, u"False"}, format.restoreStatement});
    std::stable_sort(all.begin(), all.end(), [](const StoredOption& a, const StoredOption& b) {
      return a.restoreStatement < b.restoreStatement;
    });
    return all;
  }();
  return options;
}

const StoredOption& StoredOptionOf(Control control) {
  for (const StoredOption& option : StoredOptions())
    if (option.control == control) return option;
  throw std::invalid_argument("the control shows no stored option");
}

}  // namespace brevant
