// The string table in English: the same ids as the Japanese table, shown when the interface is
// English. Conversions (%d, %s, %g) stay the same and in the same order as the Japanese text.
#include "text/strings_en.h"

#include <algorithm>
#include <iterator>

#include "text/strings.h"

namespace zevo {
namespace {

// Keep in increasing id order.
constexpr TableEntry kTableEn[] = {
    {kCaptionEditor, "Zevo"},
    {kCaptionEstimate, "Ordavist"},
    {kMsgCannotWriteFile, "The file cannot be written."},
    {kMsgSaveChanges, "The board has changed. Save it?"},
    {kMsgOldFormatLimits,
     "Arcs, rectangles, texts and more cannot be edited in a file saved in the old format"},
    {kMsgCannotWriteSettings, "The settings file cannot be written."},
    {kMsgRecover, "Recover the last session?"},
    {kMsgCalcError, "Calculation error"},
    {kStrCoordReference, "Reference"},
    {kStrCoordX, "X"},
    {kStrCoordY, "Y"},
    {kStrCoordAngle, "Angle"},
    {kStrCoordSide, "Side"},
    {kStrCoordPartName, "Part name"},
    {kStrCoordAttribute, "Attribute"},
    {kMsgDuplicateReference, "Several parts have the same reference"},
    {kMsgTooManyNets, "Too many nets for a netlist"},
    {kMsgFontNoGlyph, "missing from the font zevofont.dat"},
    {kCaptionFontEditor, "Strokel"},
    {kMsgFontWriteAsk, "Write the font to its file? (Y/N)"},
    {kMsgFontCannotWrite, "The font file cannot be written!"},
    {kMsgShort, "They touch: short circuit"},
    {kStrLayer, "Layer"},
    {kStrOutputting, "Writing"},
    {kStrInputting, "Reading"},
    {kStrFile, "File"},
    {kStrUsedDCodes, "D codes used : aperture size / square"},
    {kStrRoundApertureLine, "Round aperture for lines"},
    {kStrSquareApertureLine, "Square aperture for lines"},
    {kMsgNoHoles, "No holes to write"},
    {kMsgNotHoles, "Some elements cannot be written as holes"},
    {kStrPieces, "pcs"},
    {kStrUsedTCodes, "T codes used : drill size"},
    {kHintInput, "Left click: place"},
    {kHintLineStart, "Left click: start / Ctrl: at the clicked point / Esc: cancel"},
    {kHintLineNextBack,
     "Left click: next point / Space, Return: finish (right click while holding left)"
     " / Esc: cancel / Shift: 8 directions / hold right: back / Ctrl: at the clicked point"},
    {kHintLineNext,
     "Left click: next point / Right click, Space, Return: finish (right click while holding "
     "left) / Esc: cancel / Shift: 8 directions / hold right: back / Ctrl: at the clicked point"},
    {kHintArcCentre, "Left click: centre"},
    {kHintArcStart, "Left click: start point / Esc: cancel"},
    {kHintArcEnd, "Left click: end angle / Esc: cancel"},
    {kHintTextStart, "Left click: start point"},
    {kHintDeform, "Left click: select / Shift: one element (of a part) / Ctrl: inside a part"},
    {kHintDeformDrag,
     "Left click: place / Shift: 8 directions / Ctrl: at the clicked point / Esc: cancel"},
    {kHintDelete, "Left click: select / Ctrl: inside a part / hold left: select several"},
    {kHintDeleteBand, "Release left: select / Esc: cancel"},
    {kHintDeleteConfirm, "Left click: delete / Esc: cancel"},
    {kHintParallel, "Left click: select / Shift: middle line"},
    {kHintMiddleSecond, "Left click: select the other one / Esc: cancel"},
    {kHintParallelSide, "Left click: side / Esc: cancel"},
    {kHintSectionLast, "Left click: point of the last line / Esc: cancel"},
    {kHintSectionSide, "Left click: side / Esc: cancel"},
    {kHintConnect, "Left click: select / hold left: several / Ctrl: split / Shift: chamfer"},
    {kHintConnectSecond, "Left click: select / Shift: stretch / Esc: cancel"},
    {kHintGroupFirst, "Release left: select a group of lines / Esc: cancel"},
    {kHintGroupSecondDrag, "Drag with left held: select the other group of lines / Esc: cancel"},
    {kHintGroupSecond, "Release left: finish the group of lines / Esc: cancel"},
    {kHintChange,
     "Left click: select / Shift: a part / Ctrl: a pin / Shift+Ctrl: a line to make dotted"},
    {kHintFill, "Left click: select / Shift: unfill / Ctrl: window"},
    {kHintWindow, "Left click: select the window / Left click: select a land / Esc: cancel"},
    {kHintWindowNext, "Left click: select the next / Esc: cancel"},
    {kHintMultiple, "Left click: select / Ctrl: a part to add / hold left: several"},
    {kHintMultipleTaken, "Left click: select / hold left: several / Shift: back / Esc: cancel"},
    {kHintMultipleBand, "Release left: select / Esc: cancel"},
    {kHintMultipleMoveFrom, "Left click: reference point of the move / Esc: cancel"},
    {kHintMultipleFloating, "Left click: place / Esc: cancel"},
    {kHintIntersection, "Left click: select / Shift: centre of an arc / Esc: cancel"},
    {kHintIntersectionSecond, "Left click: select the other one / Esc: cancel"},
    {kHintZoom, "Left click: one corner of the zoom"},
    {kHintZoomSecond, "Left click: zoom / Esc: cancel"},
    {kHintGridOrigin, "Left click: set the point"},
    {kHintCoordinates, "Left click: set"},
    {kHintSpacing, "Left click: select / Shift: between end points / Esc: cancel"},
    {kHintSpacingSecond, "Left click: select the other one / Esc: cancel"},
    {kHintEquipotential, "Left click: select / Esc: cancel"},
    {kHintPinNumbers, "Left click: select a part / Esc: cancel"},
    {kHintChamferSecond, "Left click: select the other one / Shift: same radius / Esc: cancel"},
    {kStrGerberFormat,
     "Data: ASCII  Unit: mm  Coordinates: 4 integer digits, %d decimals, no decimal point, "
     "leading zeros omitted  Separator: *"},
    {kStrDrillFormatHead, "Data: ASCII  Unit: mm  Coordinates: 4 integer digits, decimals: "},
    {kStrDrillFormatTail, "  no decimal point, leading zeros omitted  Separator: CR/LF"},
    {kStrPcbFiles, "PCB files"},
    {kMsgCannotWriteOutput, "The file cannot be written."},
    {kMsgDrcClean, "No violation found"},
    {kMsgDrcFound, "Violations found"},
    {kMsgInternalError, "Internal error"},
    {kMsgNoNetDifference, "The nets are the same"},
    {kMsgNoNets, "No net found"},
    {kMsgCannotReadNetlist, "The netlist cannot be read"},
    {kStrExtraNets, "Extra nets"},
    {kStrUnconnectedNets, "Unconnected nets"},
    {kMsgDrcBadRules, "The DRC rules hold a bad value"},
    {kMsgReferenceNotPlaced, "A group has a reference but is no placed part"},
    {kMsgNothingToOutput, "No elements to write"},
    {kMsgNotABoard, "This is not a board file."},
    {kMsgOffBoardRemoved, "Elements outside the drawing area were removed"},
    {kMsgSkippedCommands, "Commands without a usable aperture were skipped : %d"},
    {kMsgDCodeTwoApertures, "Not written: one D code is given to two apertures"},
    {kStrRoundAperture, "Round aperture"},
    {kStrSquareAperture, "Square aperture"},
    {kMsgBoardSizeAdjusted,
     "The drawing size is a whole number from 100 to 1000 mm. Set to X %g mm, Y %g mm."},
    {kMsgFilesWritten, "%d file(s) written: %s (folder %s)"},
    {kMsgNoFilesWritten, "No files written"},
    {kMsgLibraryNotWritten, "The library file cannot be written"},
    {kMsgPartRegistered, "The part is already registered. Overwrite it?"},
    {kMsgAskFill, "Fill? (Y/N)"},
    {kMsgAskUnfill, "Remove the fill? (Y/N)"},
    {kMsgAskWindow, "Cut a window? (Y/N)"},
    {kMsgDuplicateReferenceAsk, "Another part has this reference. Set it anyway?"},
    {kMsgDuplicatePinAsk, "Another pin has this number. Set it anyway?"},
    {kMsgEstimateCannotStart, "Cannot start"},
    {kMsgEstimateCommandError, "Command error"},
    {kMsgEstimateDataFailed, "Making the data failed"},
    {kMsgEstimateRenameError, "A file could not be renamed"},
    {kMsgEstimatePackError, "The files could not be packed"},
    {kMsgEstimateFileNotPacked, "Packing error, file %s"},
    {kMsgEstimateMoveError, "The archive could not be moved"},
    {kMsgEstimateArchiveMade, "The Gerber files were made and packed.\n%s"},
    {kStrEstimateHelp,
     "Board maker: the maker, or the kind of data to make.\n"
     "Side A / Side B: the side that becomes the component side.\n"
     "Solder side view: mirrors a board drawn as seen from the solder side.\n"
     "Make data: has the editor write the files, renames them and makes a ZIP file beside the "
     "board file.\n"
     "Check: shows the data made.\n"
     "Estimate: opens the maker's order page (the URL in the settings file Ordavist.ini).\n"
     "Cancel: quits."},
    {kMsgEstimateModernNotMirrored,
     "Data in the current format (X2) is not mirrored. Solder side view was not used."},
    {kStrModernDrillFormat,
     "Data: Excellon (METRIC,TZ)  Unit: mm  Coordinates: decimal point, 3 decimals  "
     "Separator: CR/LF"},
};

}  // namespace

std::string_view TableTextEnglish(int id) {
    const auto it = std::lower_bound(std::begin(kTableEn), std::end(kTableEn), id,
                                     [](const TableEntry& e, int v) { return e.id < v; });
    return it != std::end(kTableEn) && it->id == id ? it->text : std::string_view();
}

std::span<const TableEntry> AllEnglishTableTexts() {
    return {kTableEn, std::size(kTableEn)};
}

}  // namespace zevo
