#pragma once

#include <span>

#include "form/form_layout.h"
#include "support/text/text.h"

namespace brevant {

// A value kept in the settings store: its key and the text it has when it was
// never stored. Keys and the meaning of their texts never change: users'
// stored options and scripts that write them rely on them.
struct StoredValue {
  TextView key;
  TextView defaultText;
};

// An option the window shows in a control and restores at start-up, in the
// order of its statement number there (error boxes quote the number).
struct StoredOption {
  Control control;
  StoredValue value;
  int restoreStatement;
  // The default comes from the form's setup (the default output folder) and is
  // stored once looked up; defaultText is then unused.
  bool defaultIsOutputFolder = false;
};

// Every option shown in a control, in the order start-up restores them.
std::span<const StoredOption> StoredOptions();
// The stored option a control shows; throws for a control that shows none.
const StoredOption& StoredOptionOf(Control control);

// What browsing and adding a folder remember between starts.
inline constexpr StoredValue kLastOutputFolder{u"LastFolderDot", u""};
inline constexpr StoredValue kLastAddedFolder{u"LastFolder", u""};
inline constexpr StoredValue kAddedFolderExtension{u"Extension", u"vcf"};

}  // namespace brevant
