#include "form/option_groups.h"

#include <stdexcept>
#include <string_view>

#include "engine/write/output_formats.h"

namespace brevant {

DocumentMode DocumentModeOf(bool allInOneChecked, bool perInputChecked) {
  return perInputChecked && !allInOneChecked ? DocumentMode::PerInput : DocumentMode::OneDocument;
}

Destination DestinationOf(bool chosenFolderChecked, bool besideInputChecked) {
  return besideInputChecked && !chosenFolderChecked ? Destination::BesideInput : Destination::ChosenFolder;
}

Control CheckBoxOf(OutputFormat format) {
  const std::string_view name = FormatInfo(format).checkBox;
  for (const ControlLayout& layout : FormLayout())
    if (layout.kind == ControlKind::CheckBox && name == layout.objectName) return layout.control;
  throw std::invalid_argument("no check box for the format");
}

}  // namespace brevant
