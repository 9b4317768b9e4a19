#pragma once

#include "support/text/text.h"

namespace brevant {

// The procedures whose failed statements show the "Application Error" box.
enum class Procedure {
  PerInputConversion,
  OneDocumentConversion,
  FolderTreeScan,
  WindowStartUp,
  AddFiles,
  AddFolderTree,
  ClearList,
  LoadSamples,
  StartConverting,
  ChooseTextColour,
  ChooseBackgroundColour,
  ChooseOutputFolder,
};

// How a procedure's error box names it: users quote the tag to support, so it
// keeps the spelling it always had ("in Tarnwick2021/08/31.Form1.PushButton2_Click ").
struct ProcedureTag {
  Text tag;
  // The box ends with the sentence that asks for a screenshot by e-mail.
  bool supportSentence;
};

ProcedureTag TagOf(Procedure procedure);

}  // namespace brevant
