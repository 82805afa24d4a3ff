// The string table: every Japanese text the programs show, by id (UTF-8 here; Cp932 on demand).
//
// Ids 480..1057, and 1100..1199 for the project's own texts beyond that range. An id that
// other documents of the project already name keeps that number; the others are taken from the
// free block at the start of the range. To add a text, add a
// constant here and a line to the table in strings.cpp; the tests check that ids are unique,
// in range and convertible to CP932.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zevo {

inline constexpr int kFirstStringId = 480;
inline constexpr int kLastStringId = 1199;

// Captions of the message boxes.
inline constexpr int kCaptionEditor = 480;    // "Zevo"
inline constexpr int kCaptionEstimate = 481;  // "Ordavist"

// Board document.
inline constexpr int kMsgCannotWriteFile = 482;  // a file could not be created for writing
inline constexpr int kMsgSaveChanges = 483;      // Yes/No/Cancel before leaving a modified board
inline constexpr int kMsgOldFormatLimits = 484;  // warning before saving in the old format
inline constexpr int kMsgCannotWriteSettings = 485;  // the settings file could not be rewritten
inline constexpr int kMsgRecover = 486;              // Yes/No: open the recovery file?
inline constexpr int kMsgCalcError = 487;            // a numeric field did not evaluate

// Stroke font and font editor.
inline constexpr int kMsgFontNoGlyph = 540;      // a text holds characters the font lacks
inline constexpr int kCaptionFontEditor = 541;   // "Strokel"
inline constexpr int kMsgFontWriteAsk = 542;     // Yes/No: write the changed font?
inline constexpr int kMsgFontCannotWrite = 543;  // the font file could not be written

inline constexpr int kMsgShort = 609;  // the spacing measurement: the two elements touch
inline constexpr int kStrLayer = 617;  // "レイヤー", caption of the layer pages

// Status hints of the tools' first states.
inline constexpr int kHintInput = 800;               // land, pad
inline constexpr int kHintLineStart = 801;           // line
inline constexpr int kHintLineNextBack = 802;        // line, next point (right click goes back)
inline constexpr int kHintLineNext = 803;            // line, next point (right click decides)
inline constexpr int kHintArcCentre = 804;           // arc
inline constexpr int kHintArcStart = 805;            // arc, start point
inline constexpr int kHintArcEnd = 806;              // arc, end angle
inline constexpr int kHintTextStart = 807;           // text
inline constexpr int kHintDeform = 808;              // deform
inline constexpr int kHintDeformDrag = 809;          // deform: what is taken follows the cursor
inline constexpr int kHintDelete = 810;              // delete
inline constexpr int kHintDeleteBand = 811;          // delete: the rubber band is out
inline constexpr int kHintDeleteConfirm = 812;       // delete: what is taken goes on a click
inline constexpr int kHintParallel = 813;            // parallel / middle line
inline constexpr int kHintMiddleSecond = 814;        // middle line (and chamfer): the other one
inline constexpr int kHintParallelSide = 815;        // parallel of one element: the side
inline constexpr int kHintSectionLast = 816;         // parallel of a section: its last line
inline constexpr int kHintSectionSide = 817;         // parallel of a section: the side
inline constexpr int kHintConnect = 818;             // connect / stretch / split / chamfer
inline constexpr int kHintConnectSecond = 819;       // connect: the other element
inline constexpr int kHintGroupFirst = 820;          // line groups: release for the first group
inline constexpr int kHintGroupSecondDrag = 821;     // line groups: drag for the second group
inline constexpr int kHintGroupSecond = 822;         // line groups: release for the second group
inline constexpr int kHintChange = 823;              // change
inline constexpr int kHintFill = 824;                // fill / unfill / window
inline constexpr int kHintWindow = 826;              // window: its outline or a land
inline constexpr int kHintWindowNext = 827;          // window: the rest of its outline
inline constexpr int kHintMultiple = 828;            // multiple
inline constexpr int kHintMultipleTaken = 829;       // multiple: items taken
inline constexpr int kHintMultipleBand = 830;        // multiple: the rubber band is out
inline constexpr int kHintMultipleMoveFrom = 831;    // multiple: the move's reference point
inline constexpr int kHintMultipleFloating = 832;    // multiple: the items float
inline constexpr int kHintIntersection = 833;        // intersection input
inline constexpr int kHintIntersectionSecond = 834;  // intersection input, second element
inline constexpr int kHintZoom = 835;                // zoom
inline constexpr int kHintZoomSecond = 836;          // zoom: the other corner
inline constexpr int kHintGridOrigin = 837;          // grid origin
inline constexpr int kHintCoordinates = 838;         // coordinates
inline constexpr int kHintSpacing = 839;             // spacing measurement
inline constexpr int kHintSpacingSecond = 840;       // spacing measurement: the other element
inline constexpr int kHintEquipotential = 841;       // equipotential
inline constexpr int kHintPinNumbers = 842;          // pin number display
inline constexpr int kHintChamferSecond = 843;       // chamfer: the other line, Shift same radius

// Gerber and hole output, Gerber input.
inline constexpr int kStrOutputting = 760;          // progress text of an output
inline constexpr int kStrInputting = 761;           // progress text of an input
inline constexpr int kStrFile = 762;                // "ファイル" in the list files
inline constexpr int kStrUsedDCodes = 763;          // heading of the D-code list of gout.lst
inline constexpr int kStrRoundApertureLine = 764;   // a round aperture in gout.lst
inline constexpr int kStrSquareApertureLine = 765;  // a square aperture in gout.lst
inline constexpr int kMsgNoHoles = 766;             // a selected hole layer without holes
inline constexpr int kMsgNotHoles = 767;            // a hole layer holds more than round lands
inline constexpr int kStrPieces = 768;              // counter word of the hole counts
inline constexpr int kStrUsedTCodes = 769;          // heading of the T-code list of hout.lst
inline constexpr int kStrGerberFormat = 1001;       // first line of gout.lst ("%d": decimals)
inline constexpr int kStrDrillFormatHead = 1007;    // hout.lst: the format up to the decimals
inline constexpr int kStrDrillFormatTail = 1008;    // hout.lst: the format after the decimals
inline constexpr int kMsgCannotWriteOutput = 1023;  // an output file could not be created
inline constexpr int kMsgNothingToOutput = 1055;    // a selected layer without elements
inline constexpr int kStrPcbFiles = 1018;

// Design rule check.
inline constexpr int kMsgDrcClean = 1029;  // "no violation found"
inline constexpr int kMsgDrcFound = 1030;  // "violations found"
inline constexpr int kMsgDrcBadRules =
    1049;  // the rule file holds a bad rule  // file-dialog filter name of board files

// Netlists.
inline constexpr int kMsgDuplicateReference = 530;  // two parts carry the same reference
inline constexpr int kMsgTooManyNets = 531;         // more nets than four base-36 digits name
inline constexpr int kMsgInternalError = 1043;      // working memory not available
inline constexpr int kMsgNoNetDifference = 1044;    // the board agrees with the reference
inline constexpr int kMsgNoNets = 1045;             // no net with two pins on the board
inline constexpr int kMsgCannotReadNetlist = 1046;  // the reference netlist is unreadable
inline constexpr int kStrExtraNets = 1047;          // heading of the board side differences
inline constexpr int kStrUnconnectedNets = 1048;    // heading of the reference side differences

// Part coordinate output: the warning and the column headings of the report.
inline constexpr int kStrCoordReference = 520;       // "部品番号"
inline constexpr int kStrCoordX = 521;               // "X座標"
inline constexpr int kStrCoordY = 522;               // "Y座標"
inline constexpr int kStrCoordAngle = 523;           // "角度"
inline constexpr int kStrCoordSide = 524;            // "装着"
inline constexpr int kStrCoordPartName = 525;        // "部品名"
inline constexpr int kStrCoordAttribute = 526;       // "アトリビュート"
inline constexpr int kMsgReferenceNotPlaced = 1051;  // a group with a reference is no placed part
inline constexpr int kMsgBoardSizeAdjusted = 1140;   // the board size dialog changed a typed size
inline constexpr int kMsgFilesWritten = 1141;        // status bar after an output: files, folder
inline constexpr int kMsgNoFilesWritten = 1142;  // status bar after an output that wrote nothing
// The part libraries.
inline constexpr int kMsgLibraryNotWritten = 1150;  // a library or its temporary file failed
inline constexpr int kMsgPartRegistered = 1151;     // asked before a part is replaced

// The fill tool's questions.
inline constexpr int kMsgAskFill = 1160;    // "塗潰しますか(Y/N)"
inline constexpr int kMsgAskUnfill = 1161;  // "塗潰しを解除しますか(Y/N)"
inline constexpr int kMsgAskWindow = 1162;  // "窓抜きしますか(Y/N)"
// The change tool's questions.
inline constexpr int kMsgDuplicateReferenceAsk = 1163;  // another part carries the reference
inline constexpr int kMsgDuplicatePinAsk = 1164;        // another pin of the part has the number

// The estimate program (Ordavist).
inline constexpr int kMsgEstimateCannotStart = 1170;    // the arguments are not the editor's
inline constexpr int kMsgEstimateCommandError = 1171;   // malformed arguments
inline constexpr int kMsgEstimateDataFailed = 1172;     // the editor could not write the files
inline constexpr int kMsgEstimateRenameError = 1173;    // a file could not be rewritten or renamed
inline constexpr int kMsgEstimatePackError = 1174;      // nothing to pack, or no archive
inline constexpr int kMsgEstimateFileNotPacked = 1175;  // one file left out ("%s": its name)
inline constexpr int kMsgEstimateMoveError = 1176;      // the archive could not be moved
inline constexpr int kMsgEstimateArchiveMade = 1177;    // done ("%s": the archive)
inline constexpr int kStrEstimateHelp = 1178;           // the help text of the dialog
// The current output format (X2 Gerber, decimal Excellon).
inline constexpr int kMsgEstimateModernNotMirrored = 1186;  // 半田面視 checked for such a set
inline constexpr int kStrModernDrillFormat = 1187;          // hout.lst: the format, whole line

// Opening a document.
inline constexpr int kMsgNotABoard = 1100;        // the file holds no section of a board file
inline constexpr int kMsgOffBoardRemoved = 1101;  // elements off the board were removed (count)
// Manufacturing files, the project's own texts.
inline constexpr int kMsgSkippedCommands = 1120;  // Gerber input: commands without aperture ("%d")
inline constexpr int kMsgDCodeTwoApertures = 1121;  // plain Gerber: one D code, two apertures
inline constexpr int kStrRoundAperture = 1122;      // "丸アパーチャー" (in messages)
inline constexpr int kStrSquareAperture = 1123;     // "角アパーチャー" (in messages)

// The text of `id` in UTF-8 in the interface language (UiLanguage()): in English the text of a
// translation file, else the built-in English, else the Japanese text. An empty view for an id
// without text.
std::string_view TableText(int id);
// The Japanese text of `id` whatever the interface language: for texts that go into files.
std::string_view TableTextJapanese(int id);
// The Japanese text in CP932, for files (they are the same bytes in every language).
std::string TableTextCp932(int id);

// Every id with a text, in increasing order (for tests and for the resource tools).
struct TableEntry {
    int id;
    std::string_view text;
};
std::span<const TableEntry> AllTableTexts();

}  // namespace zevo
