#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <utility>

#include "engine/host.h"
#include "engine/write/beside_file.h"
#include "engine/write/csv_document.h"
#include "engine/write/xlsx_document.h"

namespace brevant {

// The formats of the files a run can save beside each document. host.h
// declares the enum; this table says everything else about each format.
enum class OutputFormat : std::uint8_t { Csv, Xlsx };

// Opens a format's file at `path`; `look` is the caller's look at the path, when it took one.
using OpenBesideFile = std::unique_ptr<BesideFile> (*)(const Text& path, ExistingTarget existing, Turn turn,
                                                       const TargetLook* look);

template <class File>
std::unique_ptr<BesideFile> OpenFile(const Text& path, ExistingTarget existing, Turn turn,
                                     const TargetLook* look) {
  return std::make_unique<File>(path, existing, std::move(turn), look);
}

// One format. The stored key, the check box's object name and the
// command line's flag are what users' settings and scripts know it by: they
// never change.
struct OutputFormatInfo {
  OutputFormat format;
  TextView extension;         // replaces the document's: "name.htm" gives "name.csv"
  TextView storedKey;         // the window's stored option, "True" or "False"
  const char* checkBox;       // the object name of the window's check box
  int restoreStatement;       // the window's start-up statement that restores the check box
  std::string_view cliFlag;   // brevant-convert's option, without its dashes
  std::string_view cliHelp;   // its lines in --help, after the flag's column
  std::string_view cliNote;   // a paragraph of --help about the format
  std::string_view fileNoun;  // one such file, in messages ("CSV file")
  std::string_view filesNoun;
  OpenBesideFile open;
};

inline constexpr OutputFormatInfo kOutputFormats[] = {
    {OutputFormat::Csv, u".csv", u"SaveCsv", "Check2", 134, "csv",
     "also save each table as CSV for spreadsheets,\n"
     "                           beside its document (name.csv, output.csv)\n",
     "A CSV file is UTF-8 with a byte-order mark, as RFC 4180 has it; a value\n"
     "that a spreadsheet would run as a formula gets an apostrophe in front.\n",
     "CSV file", "CSV files", OpenFile<CsvDocument>},
    {OutputFormat::Xlsx, u".xlsx", u"SaveXlsx", "Check3", 136, "xlsx",
     "also save each table as a spreadsheet (.xlsx),\n"
     "                           beside its document (name.xlsx, output.xlsx)\n",
     "An .xlsx file holds every value as text: telephone numbers and postal\n"
     "codes keep their + and leading zeros, and no value becomes a formula.\n",
     ".xlsx file", ".xlsx files", OpenFile<XlsxDocument>},
};
inline constexpr std::size_t kOutputFormatCount = std::size(kOutputFormats);

constexpr const OutputFormatInfo& FormatInfo(OutputFormat format) {
  return kOutputFormats[static_cast<std::size_t>(format)];
}

// One T for each format, such as what a run chose or how many files it wrote.
template <class T>
struct PerFormat {
  std::array<T, kOutputFormatCount> of{};
  T& operator[](OutputFormat format) { return of[static_cast<std::size_t>(format)]; }
  const T& operator[](OutputFormat format) const { return of[static_cast<std::size_t>(format)]; }
};

// Which formats go beside the documents: the host's choice, read once when a conversion starts.
struct FormatChoice : PerFormat<bool> {
  static FormatChoice Of(Host& host) {
    FormatChoice choice;
    for (const OutputFormatInfo& info : kOutputFormats) choice[info.format] = host.savesBeside(info.format);
    return choice;
  }
  bool any() const {
    for (bool chosen : of)
      if (chosen) return true;
    return false;
  }
};

// The path of a format's file beside a document: its name with the format's
// extension for its own ("name.htm" gives "name.csv", "output.xml" gives "output.csv").
Text PathBeside(const Text& documentPath, OutputFormat format);

}  // namespace brevant
