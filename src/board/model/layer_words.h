// Layer role keywords as Shift-JIS bytes (names are matched bytewise). Generated from the
// readable text in the trailing comments; keep both in step.
#pragma once

#include <string_view>

namespace zevo::layer_words {

inline constexpr std::string_view kHoleWords[] = {
    "\x8D"
    "E",         // 孔
    "\x8C\x8A",  // 穴
    "\x83"
    "A\x83"
    "i",                                 // アナ
    "\x82\xA0\x82\xC8",                  // あな
    "\xB1\xC5",                          // ｱﾅ
    "hole",                              // hole
    "Hole",                              // Hole
    "HOLE",                              // HOLE
    "\x82\x88\x82\x8F\x82\x8C\x82\x85",  // ｈｏｌｅ
    "\x82"
    "g\x82\x8F\x82\x8C\x82\x85",  // Ｈｏｌｅ
    "\x82"
    "g\x82"
    "n\x82"
    "k\x82"
    "d",  // ＨＯＬＥ
    "\x83"
    "z\x81"
    "[\x83\x8B",  // ホール
    "\x82\xD9\x81"
    "[\x82\xE9",     // ほーる
    "\xCE\xB0\xD9",  // ﾎｰﾙ
};
inline constexpr std::string_view kCutWords[] = {
    "\x83"
    "J\x83"
    "b\x83"
    "g",                         // カット
    "\x82\xA9\x82\xC1\x82\xC6",  // かっと
    "\xB6\xAF\xC4",              // ｶｯﾄ
    "\x83"
    "N\x83\x8A\x83"
    "A\x83\x89\x83\x93\x83"
    "X",                                                 // クリアランス
    "\x82\xAD\x82\xE8\x82\xA0\x82\xE7\x82\xF1\x82\xB7",  // くりあらんす
    "\xB8\xD8\xB1\xD7\xDD\xBD",                          // ｸﾘｱﾗﾝｽ
    "cut",                                               // cut
    "Cut",                                               // Cut
    "CUT",                                               // CUT
    "\x82\x83\x82\x95\x82\x94",                          // ｃｕｔ
    "\x82"
    "b\x82\x95\x82\x94",  // Ｃｕｔ
    "\x82"
    "b\x82"
    "t\x82"
    "s",                                                                         // ＣＵＴ
    "clearance",                                                                 // clearance
    "Clearance",                                                                 // Clearance
    "CLEARANCE",                                                                 // CLEARANCE
    "\x82\x83\x82\x8C\x82\x85\x82\x81\x82\x92\x82\x81\x82\x8E\x82\x83\x82\x85",  // ｃｌｅａｒａｎｃｅ
    "\x82"
    "b\x82\x8C\x82\x85\x82\x81\x82\x92\x82\x81\x82\x8E\x82\x83\x82\x85",  // Ｃｌｅａｒａｎｃｅ
    "\x82"
    "b\x82"
    "k\x82"
    "d\x82"
    "`\x82"
    "q\x82"
    "`\x82"
    "m\x82"
    "b\x82"
    "d",  // ＣＬＥＡＲＡＮＣＥ
};
inline constexpr std::string_view kOriginWords[] = {
    "\x8A\xEE\x8F\x80",                  // 基準
    "\x82\xAB\x82\xB6\x82\xE3\x82\xF1",  // きじゅん
    "\x83"
    "L\x83"
    "W\x83\x85\x83\x93",     // キジュン
    "\xB7\xBC\xDE\xAD\xDD",  // ｷｼﾞｭﾝ
    "\x83"
    "Z\x83\x93\x83"
    "^\x81"
    "[",                 // センター
    "\xBE\xDD\xC0\xB0",  // ｾﾝﾀｰ
    "\x8C\xB4\x93"
    "_",                                 // 原点
    "\x82\xB0\x82\xF1\x82\xC4\x82\xF1",  // げんてん
    "\x83"
    "Q\x83\x93\x83"
    "e\x83\x93",             // ゲンテン
    "\xB9\xDE\xDD\xC3\xDD",  // ｹﾞﾝﾃﾝ
    "center",                // center
    "Center",                // Center
    "CENTER",                // CENTER
    "origin",                // origin
    "Origin",                // Origin
    "ORIGIN",                // ORIGIN
    "\x82"
    "b\x82"
    "d\x82"
    "m\x82"
    "s\x82"
    "d\x82"
    "q",  // ＣＥＮＴＥＲ
    "\x82"
    "b\x82\x85\x82\x8E\x82\x94\x82\x85\x82\x92",         // Ｃｅｎｔｅｒ
    "\x82\x83\x82\x85\x82\x8E\x82\x94\x82\x85\x82\x92",  // ｃｅｎｔｅｒ
    "\x82"
    "n\x82"
    "q\x82"
    "h\x82"
    "f\x82"
    "h\x82"
    "m",  // ＯＲＩＧＩＮ
    "\x82"
    "n\x82\x92\x82\x89\x82\x87\x82\x89\x82\x8E",         // Ｏｒｉｇｉｎ
    "\x82\x8F\x82\x92\x82\x89\x82\x87\x82\x89\x82\x8E",  // ｏｒｉｇｉｎ
};
inline constexpr std::string_view kPatternWords[] = {
    "\x83"
    "p\x83"
    "^\x81"
    "[\x83\x93",  // パターン
    "\x82\xCF\x82\xBD\x81"
    "[\x82\xF1",             // ぱたーん
    "\xCA\xDF\xC0\xB0\xDD",  // ﾊﾟﾀｰﾝ
    "\x93\xE0\x91"
    "w",  // 内層
    "\x93"
    "d\x8C\xB9\x91"
    "w",  // 電源層
    "\x90\xDA\x92"
    "n\x91"
    "w",                                                         // 接地層
    "pattern",                                                   // pattern
    "Pattern",                                                   // Pattern
    "PATTERN",                                                   // PATTERN
    "\x82\x90\x82\x81\x82\x94\x82\x94\x82\x85\x82\x92\x82\x8E",  // ｐａｔｔｅｒｎ
    "\x82"
    "o\x82\x81\x82\x94\x82\x94\x82\x85\x82\x92\x82\x8E",  // Ｐａｔｔｅｒｎ
    "\x82"
    "o\x82"
    "`\x82"
    "s\x82"
    "s\x82"
    "d\x82"
    "q\x82"
    "m",  // ＰＡＴＴＥＲＮ
};
inline constexpr std::string_view kJumperWords[] = {
    "\x83"
    "W\x83\x83\x83\x93\x83"
    "p\x81"
    "[",  // ジャンパー
    "\x82\xB6\x82\xE1\x82\xF1\x82\xCF\x81"
    "[",                                                 // じゃんぱー
    "\xBC\xDE\xAC\xDD\xCA\xDF\xB0",                      // ｼﾞｬﾝﾊﾟｰ
    "jumper",                                            // jumper
    "Jumper",                                            // Jumper
    "JUMPER",                                            // JUMPER
    "\x82\x8A\x82\x95\x82\x8D\x82\x90\x82\x85\x82\x92",  // ｊｕｍｐｅｒ
    "\x82"
    "i\x82\x95\x82\x8D\x82\x90\x82\x85\x82\x92",  // Ｊｕｍｐｅｒ
    "\x82"
    "i\x82"
    "t\x82"
    "l\x82"
    "o\x82"
    "d\x82"
    "q",  // ＪＵＭＰＥＲ
};
inline constexpr std::string_view kNegativeWords[] = {
    "\x83"
    "l\x83"
    "K",                                                                 // ネガ
    "\x82\xCB\x82\xAA",                                                  // ねが
    "\xC8\xB6\xDE",                                                      // ﾈｶﾞ
    "negative",                                                          // negative
    "Negative",                                                          // Negative
    "NEGATIVE",                                                          // NEGATIVE
    "\x82\x8E\x82\x85\x82\x87\x82\x81\x82\x94\x82\x89\x82\x96\x82\x85",  // ｎｅｇａｔｉｖｅ
    "\x82"
    "m\x82\x85\x82\x87\x82\x81\x82\x94\x82\x89\x82\x96\x82\x85",  // Ｎｅｇａｔｉｖｅ
    "\x82"
    "m\x82"
    "d\x82"
    "f\x82"
    "`\x82"
    "s\x82"
    "h\x82"
    "u\x82"
    "d",  // ＮＥＧＡＴＩＶＥ
};
inline constexpr std::string_view kNonThroughWords[] = {
    "\x83"
    "m\x83\x93\x83"
    "X\x83\x8B\x81"
    "[",  // ノンスルー
    "\x82\xCC\x82\xF1\x82\xB7\x82\xE9\x81"
    "[",                     // のんするー
    "\xC9\xDD\xBD\xD9\xB0",  // ﾉﾝｽﾙｰ
    "\x83"
    "m\x81"
    "[\x83"
    "X\x83\x8B\x81"
    "[",  // ノースルー
    "\x82\xCC\x81"
    "[\x82\xB7\x82\xE9\x81"
    "[",                     // のーするー
    "\xC9\xB0\xBD\xD9\xB0",  // ﾉｰｽﾙｰ
    "NONTH",                 // NONTH
    "nonth",                 // nonth
    "NOTH",                  // NOTH
    "noth",                  // noth
    "NO-TH",                 // NO-TH
    "no-th",                 // no-th
    "NON-TH",                // NON-TH
    "non-th",                // non-th
};
inline constexpr std::string_view kMountWords[] = {
    "\x95\x94\x95"
    "i\x90"
    "}",  // 部品図
    "\x83"
    "}\x83"
    "E\x83\x93\x83"
    "g",                                         // マウント
    "\x82\xDC\x82\xA4\x82\xF1\x82\xC6",          // まうんと
    "\xCF\xB3\xDD\xC4",                          // ﾏｳﾝﾄ
    "\x91\x95\x92\x85",                          // 装着
    "MOUNT",                                     // MOUNT
    "mount",                                     // mount
    "Mount",                                     // Mount
    "\x82\x8D\x82\x8F\x82\x95\x82\x8E\x82\x94",  // ｍｏｕｎｔ
    "\x82"
    "l\x82\x8F\x82\x95\x82\x8E\x82\x94",  // Ｍｏｕｎｔ
    "\x82"
    "l\x82"
    "n\x82"
    "t\x82"
    "m\x82"
    "s",  // ＭＯＵＮＴ
};

}  // namespace zevo::layer_words
