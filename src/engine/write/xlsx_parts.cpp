#include "engine/write/xlsx_parts.h"

#include <algorithm>

namespace brevant {

namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
#define BREVANT_MAIN_NS "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
#define BREVANT_RELATIONSHIPS "http://schemas.openxmlformats.org/officeDocument/2006/relationships"

constexpr std::string_view kContentTypes =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
    "<Override PartName=\"/xl/sharedStrings.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
    "</Types>";

constexpr std::string_view kPackageRelationships =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"" BREVANT_RELATIONSHIPS
    "/officeDocument\" Target=\"xl/workbook.xml\"/>"
    "</Relationships>";

constexpr std::string_view kWorkbook =
    "<workbook xmlns=\"" BREVANT_MAIN_NS "\" xmlns:r=\"" BREVANT_RELATIONSHIPS
    "\">"
    "<sheets><sheet name=\"Contacts\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
    "<definedNames><definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">Contacts!$1:$1</definedName>"
    "</definedNames></workbook>";

constexpr std::string_view kWorkbookRelationships =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"" BREVANT_RELATIONSHIPS
    "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"" BREVANT_RELATIONSHIPS
    "/styles\" Target=\"styles.xml\"/>"
    "<Relationship Id=\"rId3\" Type=\"" BREVANT_RELATIONSHIPS
    "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
    "</Relationships>";

// Style 0 for every data cell, 1 for the header, 2 for wrapped text, 3 for a header that wraps.
constexpr std::string_view kStyles =
    "<styleSheet xmlns=\"" BREVANT_MAIN_NS
    "\">"
    "<fonts count=\"2\">"
    "<font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
    "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
    "</fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" "
    "applyAlignment=\"1\">"
    "<alignment vertical=\"top\"/></xf></cellStyleXfs>"
    "<cellXfs count=\"4\">"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyAlignment=\"1\">"
    "<alignment vertical=\"top\"/></xf>"
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" "
    "applyAlignment=\"1\">"
    "<alignment vertical=\"top\"/></xf>"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyAlignment=\"1\">"
    "<alignment vertical=\"top\" wrapText=\"1\"/></xf>"
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" "
    "applyAlignment=\"1\">"
    "<alignment vertical=\"top\" wrapText=\"1\"/></xf>"
    "</cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

constexpr std::string_view kSheetStart =
    "<worksheet xmlns=\"" BREVANT_MAIN_NS "\" xmlns:r=\"" BREVANT_RELATIONSHIPS
    "\">"
    "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\">";
constexpr std::string_view kHeaderRowFrozen =
    "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"
    "<selection pane=\"bottomLeft\" activeCell=\"A2\" sqref=\"A2\"/>";
// The header row and the first column, as spreadsheets write it: a selection for each pane.
constexpr std::string_view kHeaderRowAndNamesFrozen =
    "<pane xSplit=\"1\" ySplit=\"1\" topLeftCell=\"B2\" activePane=\"bottomRight\" state=\"frozen\"/>"
    "<selection pane=\"topRight\" activeCell=\"B1\" sqref=\"B1\"/>"
    "<selection pane=\"bottomLeft\" activeCell=\"A2\" sqref=\"A2\"/>"
    "<selection pane=\"bottomRight\" activeCell=\"B2\" sqref=\"B2\"/>";
constexpr std::string_view kSheetViewEnd =
    "</sheetView></sheetViews>"
    "<sheetFormatPr defaultRowHeight=\"15\"/>";

constexpr std::string_view kSharedStringsStart = "<sst xmlns=\"" BREVANT_MAIN_NS "\" count=\"";

#undef BREVANT_MAIN_NS
#undef BREVANT_RELATIONSHIPS

FixedPart Part(std::string_view name, std::string_view content) {
  return {name, Deflated(std::string(kDeclaration) + std::string(content))};
}

// A width in the spreadsheet's unit (the width of a digit), with room for the cell's margins.
std::string WidthText(std::uint16_t characters) { return std::to_string(ColumnCharacters(characters) + 2); }

}  // namespace

const std::vector<FixedPart>& WorkbookParts() {
  static const std::vector<FixedPart> parts = [] {
    std::vector<FixedPart> made;
    made.push_back(Part("[Content_Types].xml", kContentTypes));
    made.push_back(Part("_rels/.rels", kPackageRelationships));
    made.push_back(Part("xl/workbook.xml", kWorkbook));
    made.push_back(Part("xl/_rels/workbook.xml.rels", kWorkbookRelationships));
    made.push_back(Part("xl/styles.xml", kStyles));
    return made;
  }();
  return parts;
}

std::string SharedStringsOpening(std::uint64_t uses, std::uint64_t texts) {
  return std::string(kDeclaration) + std::string(kSharedStringsStart) + std::to_string(uses) +
         "\" uniqueCount=\"" + std::to_string(texts) + "\">";
}

std::string SheetOpening(const std::vector<std::uint16_t>& widths, bool nameColumn) {
  std::string opening(kDeclaration);
  opening += kSheetStart;
  opening += nameColumn ? kHeaderRowAndNamesFrozen : kHeaderRowFrozen;
  opening += kSheetViewEnd;
  if (!widths.empty()) {
    opening += "<cols>";
    // Neighbours of the same width share one entry.
    for (std::size_t first = 0; first < widths.size();) {
      const std::string width = WidthText(widths[first]);
      std::size_t last = first;
      while (last + 1 < widths.size() && WidthText(widths[last + 1]) == width) ++last;
      opening += "<col min=\"" + std::to_string(first + 1) + "\" max=\"" + std::to_string(last + 1) +
                 "\" width=\"" + width + "\" customWidth=\"1\"/>";
      first = last + 1;
    }
    opening += "</cols>";
  }
  return opening + "<sheetData>";
}

}  // namespace brevant
