#include "estimate/zip_archive.h"

#include <zlib.h>

#include <array>
#include <ctime>

namespace zevo {

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[n] = c;
    }
    return t;
}
constexpr auto kCrcTable = MakeCrcTable();

void Put16(std::string& s, uint32_t v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

struct Stored {
    std::string_view name;
    uint32_t crc = 0, compressed = 0, size = 0, offset = 0;
};

// The 26 bytes the local header and the central entry share: version needed, flags, method,
// time, date, CRC-32, sizes, name length, extra length.
void PutCommonFields(std::string& s, const Stored& m, DosStamp stamp) {
    Put16(s, 20);
    Put16(s, 0);
    Put16(s, Z_DEFLATED);
    Put16(s, stamp.time);
    Put16(s, stamp.date);
    Put32(s, m.crc);
    Put32(s, m.compressed);
    Put32(s, m.size);
    Put16(s, uint32_t(m.name.size()));
    Put16(s, 0);
}

}  // namespace

uint32_t Crc32(std::string_view bytes, uint32_t crc) {
    crc = ~crc;
    for (unsigned char b : bytes) crc = kCrcTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

DosStamp MakeDosStamp(int year, int month, int day, int hour, int minute, int second) {
    DosStamp s;
    s.time = uint16_t(hour * 2048 + minute * 32 + second / 2);
    s.date = uint16_t((year - 1980) * 512 + month * 32 + day);
    return s;
}

DosStamp DosStampNow() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
#if defined(_WIN32)
    localtime_s(&t, &now);
#else
    localtime_r(&now, &t);
#endif
    // The format starts in 1980; a clock set earlier gets the first day it can say.
    if (t.tm_year < 80) return MakeDosStamp(1980, 1, 1, 0, 0, 0);
    return MakeDosStamp(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

size_t DeflateBufferSize(size_t size) {
    return ((size / 3 + 7) & ~size_t(7)) + 1024;
}

std::optional<std::string> DeflateRaw(std::string_view data) {
    if (data.size() > 0xFFFFFFFFu) return std::nullopt;
    std::string out(DeflateBufferSize(data.size()), '\0');
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) return std::nullopt;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = deflate(&z, Z_FINISH);
    const size_t produced = out.size() - z.avail_out;
    deflateEnd(&z);
    if (rc != Z_STREAM_END) return std::nullopt;
    out.resize(produced);
    return out;
}

std::string BuildZip(const std::vector<ZipMember>& members, DosStamp stamp,
                     std::vector<std::string>* leftOut) {
    std::string zip;
    std::vector<Stored> stored;
    for (const ZipMember& m : members) {
        auto packed = DeflateRaw(m.data);
        if (!packed || m.name.size() > 0xFFFF) {
            if (leftOut) leftOut->push_back(m.name);
            continue;
        }
        Stored s{m.name, Crc32(m.data), uint32_t(packed->size()), uint32_t(m.data.size()),
                 uint32_t(zip.size())};
        Put32(zip, 0x04034b50);
        PutCommonFields(zip, s, stamp);
        zip += m.name;
        zip += *packed;
        stored.push_back(s);
    }
    const uint32_t directory = uint32_t(zip.size());
    for (const Stored& s : stored) {
        Put32(zip, 0x02014b50);
        Put16(zip, 20);  // made by
        PutCommonFields(zip, s, stamp);
        Put16(zip, 0);     // comment length
        Put16(zip, 0);     // disk
        Put16(zip, 1);     // internal attributes: text
        Put32(zip, 0x20);  // external attributes: archive
        Put32(zip, s.offset);
        zip += s.name;
    }
    const uint32_t directorySize = uint32_t(zip.size()) - directory;
    Put32(zip, 0x06054b50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, uint32_t(stored.size()));
    Put16(zip, uint32_t(stored.size()));
    Put32(zip, directorySize);
    Put32(zip, directory);
    Put16(zip, 4);
    zip += "ZEVO";
    return zip;
}

}  // namespace zevo
