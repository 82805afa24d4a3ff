// The zip archive of the estimate program: local headers, central directory and end record
// with the comment "ZEVO", each member deflated raw in one call into a buffer of fixed size.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevo {

// The standard zip CRC-32 (reflected polynomial 0xEDB88320, all ones in, complement out).
uint32_t Crc32(std::string_view bytes, uint32_t crc = 0);

// MS-DOS time and date of a moment in local time.
struct DosStamp {
    uint16_t time = 0;  // hour * 2048 + minute * 32 + second / 2
    uint16_t date = 0;  // (year - 1980) * 512 + month * 32 + day
};
DosStamp MakeDosStamp(int year, int month, int day, int hour, int minute, int second);
// The moment of the call.
DosStamp DosStampNow();

// The output buffer a member gets: a third of its size rounded up to 8, plus 1024 bytes.
size_t DeflateBufferSize(size_t size);
// `data` deflated raw (level 9, window bits -15, memory level 9, default strategy) in one call;
// nothing when it does not finish within DeflateBufferSize.
std::optional<std::string> DeflateRaw(std::string_view data);

struct ZipMember {
    std::string name;  // the name in the archive (CP932 bytes, no folder)
    std::string data;  // the uncompressed bytes
};

// The archive of members already read. Members that do not deflate into their buffer are left
// out; their names are added to `leftOut`.
std::string BuildZip(const std::vector<ZipMember>& members, DosStamp stamp,
                     std::vector<std::string>* leftOut = nullptr);

}  // namespace zevo
