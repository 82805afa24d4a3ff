#include "view/font_format.h"

#include <cstring>

namespace zevo {
namespace {

// JIS X 0201 printable characters 0x20-0x7E to their JIS X 0208 full-width forms (Shift-JIS).
constexpr uint16_t kAsciiFullWidth[95] = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166,  // sp ! " # $ % & '
    0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E,  // ( ) * + , - . /
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256,  // 0-7
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148,  // 8 9 : ; < = > ?
    0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266,  // @ A-G
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E,  // H-O
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,  // P-W
    0x8277, 0x8278, 0x8279, 0x816D, 0x818F, 0x816E, 0x814F, 0x8151,  // X Y Z [ yen ] ^ _
    0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287,  // ` a-g
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F,  // h-o
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297,  // p-w
    0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8160,          // x y z { | } ~
};

// Half-width katakana and signs 0xA0-0xDF to full width.
constexpr uint16_t kKanaFullWidth[64] = {
    0x8140, 0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340,  // sp 。 「 」 、 ・ ヲ ァ
    0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362,  // ィ ゥ ェ ォ ャ ュ ョ ッ
    0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C,  // ー ア イ ウ エ オ カ キ
    0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C,  // ク ケ コ サ シ ス セ ソ
    0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B,  // タ チ ツ テ ト ナ ニ ヌ
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D,  // ネ ノ ハ ヒ フ ヘ ホ マ
    0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,  // ミ ム メ モ ヤ ユ ヨ ラ
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,  // リ ル レ ロ ワ ン ゛ ゜
};

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

bool IsLead(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace

int FontRowOfLead(unsigned lead) {
    if (lead >= 0x81 && lead <= 0x9F) return int(lead) - 0x81;
    if (lead >= 0xE0 && lead <= 0xFC) return int(lead) - 0xC1;
    return -1;
}

int FontCellOfTrail(unsigned trail) {
    if (trail >= 0x40 && trail <= 0x7E) return int(trail) - 0x40;
    if (trail >= 0x80 && trail <= 0xFC) return int(trail) - 0x41;
    return -1;
}

int FontCellOfCode(FontCode code) {
    const int row = FontRowOfLead(LeadOf(code));
    const int cell = FontCellOfTrail(TrailOf(code));
    return row < 0 || cell < 0 ? -1 : row * kFontRowCells + cell;
}

FontCode FontCodeOfCell(int cellNumber) {
    const int row = cellNumber / kFontRowCells, cell = cellNumber % kFontRowCells;
    const unsigned lead = row <= 30 ? 0x81 + row : 0xC1 + row;
    const unsigned trail = cell <= 0x3E ? 0x40 + cell : 0x41 + cell;
    return MakeCode(lead, trail);
}

bool HasCurrentFontHeader(std::string_view file) {
    return file.size() >= kFontHeaderTextSize &&
           std::memcmp(file.data(), kFontHeaderText, kFontHeaderTextSize) == 0;
}

std::size_t GlyphRecordSize(const uint8_t* p, std::size_t avail) {
    if (avail < 1) return 0;
    const int n = p[0];
    std::size_t size = 1;
    for (int i = 0; i < n; ++i) {
        if (size >= avail) return 0;
        size += (p[size] & kKindMask) == kKindXY ? 2 : 1;
    }
    return size <= avail ? size : 0;
}

GlyphDecoder::GlyphDecoder(const uint8_t* record, std::size_t size)
    : p_(record), end_(record + size) {
    if (size > 0) count_ = *p_++;
}

bool GlyphDecoder::next(GlyphPoint& out) {
    if (done_ >= count_ || p_ >= end_) return false;
    const uint8_t b = *p_;
    const int v = b & kValueMask;
    switch (b & kKindMask) {
        case kKindXY:
            if (end_ - p_ < 2) {  // the second byte is cut off: the record ends here
                p_ = end_;
                return false;
            }
            x_ = v;
            y_ = p_[1] & kValueMask;
            p_ += 2;
            break;
        case kKindX:
            x_ = v;
            ++p_;
            break;
        case kKindY:
            y_ = v;
            ++p_;
            break;
        default:
            ++p_;
            break;
    }
    ++done_;
    out = {x_, y_, (b & kPenDown) != 0};
    return true;
}

FontCode FullWidthCodeOfByte(unsigned char b) {
    if (b >= 0x20 && b <= 0x7E) return kAsciiFullWidth[b - 0x20];
    if (b >= 0xA0 && b <= 0xDF) return kKanaFullWidth[b - 0xA0];
    return kNoCode;
}

bool TextCodes::next(TextChar& out) {
    if (pos_ >= text_.size()) return false;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text_[i]); };
    const unsigned char b = at(pos_);
    out.offset = pos_;
    if (IsLead(b)) {
        // A lead byte at the very end pairs with the terminator, which is no trail byte.
        const unsigned trail = pos_ + 1 < text_.size() ? at(pos_ + 1) : 0;
        out.code = MakeCode(b, trail);
        out.length = pos_ + 1 < text_.size() ? 2 : 1;
    } else {
        out.code = FullWidthCodeOfByte(b);
        out.length = 1;
        if (pos_ + 1 < text_.size()) {
            const unsigned char mark = at(pos_ + 1);
            const bool voicedRow = (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE);
            if (mark == kVoicedMark && voicedRow) {
                out.code += 1;
                out.length = 2;
            } else if (mark == kSemiVoicedMark && b >= 0xCA && b <= 0xCE) {
                out.code += 2;
                out.length = 2;
            }
        }
    }
    pos_ += out.length;
    return true;
}

}  // namespace zevo
