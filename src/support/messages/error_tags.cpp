#include "support/messages/error_tags.h"

#include <stdexcept>

namespace brevant {

namespace {

using enum Procedure;

constexpr char16_t kBuildDate[] = u"2021/08/31";

// A tag is "in " + project + build date + "." + module + "." + name + " ".
struct TagRow {
  Procedure procedure;
  TextView project;
  TextView module;
  TextView name;
  bool supportSentence;
};

constexpr TagRow kTags[] = {
    {PerInputConversion, u"Tarnwick", u"modVCF", u"ConvertVCFToSeparateHTML", false},
    {OneDocumentConversion, u"Tarnwick", u"modVCF", u"ConvertVCFToSingleHTML", true},
    {FolderTreeScan, u"DorrinTitle", u"AddFolder", u"GetSubDirectories2016", true},
    {WindowStartUp, u"Tarnwick", u"Form1", u"Form_Load", false},
    {AddFiles, u"Tarnwick", u"Form1", u"PushButton1_Click", true},
    {AddFolderTree, u"Tarnwick", u"Form1", u"PushButton5_Click", true},
    {ClearList, u"Tarnwick", u"Form1", u"PushButton7_Click", true},
    {LoadSamples, u"Tarnwick", u"Form1", u"PushButton3_Click", true},
    {StartConverting, u"Tarnwick", u"Form1", u"PushButton2_Click", false},
    {ChooseTextColour, u"Tarnwick", u"Form1", u"PushButton4_Click", true},
    {ChooseBackgroundColour, u"Tarnwick", u"Form1", u"PushButton6_Click", true},
    {ChooseOutputFolder, u"Tarnwick", u"Form1", u"PushButton9_Click", false},
};

}  // namespace

ProcedureTag TagOf(Procedure procedure) {
  for (const TagRow& row : kTags) {
    if (row.procedure != procedure) continue;
    Text tag = u"in ";
    tag.append(row.project).append(kBuildDate).append(u".").append(row.module).append(u".").append(row.name);
    return {tag + u" ", row.supportSentence};
  }
  throw std::invalid_argument("no tag for the procedure");
}

}  // namespace brevant
