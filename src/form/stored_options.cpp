#include "form/stored_options.h"

#include <stdexcept>

namespace brevant {

namespace {

using enum Control;

// Flags are "True" or "False", colours signed decimal text, texts as typed.
constexpr StoredOption kStoredOptions[] = {
    {BorderWidth, {u"Border Width", u"1"}, 110},
    {AllInOneDocument, {u"Option1", u"True"}, 112},
    {DocumentPerInput, {u"Option2", u"False"}, 114},
    {TextColourSwatch, {u"Text Color", u"0"}, 116},
    {BackgroundColourSwatch, {u"Background Color", u"16777215"}, 118},
    {OutputFolder, {u"Text1", u""}, 124, true},
    {SaveToChosenFolder, {u"Option3", u"True"}, 126},
    {SaveBesideInput, {u"Option4", u"False"}, 128},
    {RowPerContact, {u"OneRowPerContact", u"False"}, 130},
    {AlsoSaveCsv, {u"SaveCsv", u"False"}, 134},
    {AlsoSaveSpreadsheet, {u"SaveXlsx", u"False"}, 136},
};

}  // namespace

std::span<const StoredOption> StoredOptions() { return kStoredOptions; }

const StoredOption& StoredOptionOf(Control control) {
  for (const StoredOption& option : kStoredOptions)
    if (option.control == control) return option;
  throw std::invalid_argument("the control shows no stored option");
}

}  // namespace brevant
