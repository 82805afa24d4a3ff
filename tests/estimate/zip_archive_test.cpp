// The archive read back field by field: every byte is accounted for, the members inflate to
// their files, and the deflate settings and buffer rule are the fixed ones.
#include "estimate/zip_archive.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

namespace zevo {
namespace {

uint32_t U16(const std::string& s, size_t at) {
    return uint8_t(s[at]) | uint32_t(uint8_t(s[at + 1])) << 8;
}
uint32_t U32(const std::string& s, size_t at) {
    return U16(s, at) | U16(s, at + 2) << 16;
}

std::string Inflate(std::string_view packed, size_t size) {
    std::string out(size, '\0');
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = uInt(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
    EXPECT_EQ(z.avail_out, 0u);
    inflateEnd(&z);
    return out;
}

// zlib's own deflate with the fixed settings, as a second opinion on the member data.
std::string ReferenceDeflate(std::string_view data) {
    std::string out(compressBound(uLong(data.size())) + 64, '\0');
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    return out;
}

std::string GerberLike(int n) {
    std::string s = "G71*G90*G75*D02*\r\n%ADD11C,1.000*%\r\nG54D11*\r\n";
    for (int i = 0; i < n; ++i) s += "G01X" + std::to_string(1000 + i * 37) + "Y2000D03*\r\n";
    return s + "G01X0Y0D02*\r\nM02*\r\n";
}

// Reads `zip` back and checks every field the format fixes; every byte must belong to a header,
// a name, member data, the directory or the end record.
void ExpectArchive(const std::string& zip, const std::vector<ZipMember>& members, DosStamp t) {
    size_t at = 0;
    std::vector<size_t> offsets;
    for (const ZipMember& m : members) {
        SCOPED_TRACE(m.name);
        offsets.push_back(at);
        ASSERT_GE(zip.size(), at + 30);
        EXPECT_EQ(U32(zip, at), 0x04034b50u);
        EXPECT_EQ(U16(zip, at + 4), 20u);  // version needed
        EXPECT_EQ(U16(zip, at + 6), 0u);   // flags
        EXPECT_EQ(U16(zip, at + 8), 8u);   // deflated
        EXPECT_EQ(U16(zip, at + 10), t.time);
        EXPECT_EQ(U16(zip, at + 12), t.date);
        EXPECT_EQ(
            U32(zip, at + 14),
            uint32_t(crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), uInt(m.data.size()))));
        const uint32_t packed = U32(zip, at + 18);
        EXPECT_EQ(U32(zip, at + 22), m.data.size());
        EXPECT_EQ(U16(zip, at + 26), m.name.size());
        EXPECT_EQ(U16(zip, at + 28), 0u);
        EXPECT_EQ(zip.substr(at + 30, m.name.size()), m.name);
        const std::string data = zip.substr(at + 30 + m.name.size(), packed);
        EXPECT_EQ(data, ReferenceDeflate(m.data));
        EXPECT_EQ(Inflate(data, m.data.size()), m.data);
        at += 30 + m.name.size() + packed;
    }
    const size_t directory = at;
    for (size_t i = 0; i < members.size(); ++i) {
        const ZipMember& m = members[i];
        ASSERT_GE(zip.size(), at + 46);
        EXPECT_EQ(U32(zip, at), 0x02014b50u);
        EXPECT_EQ(U16(zip, at + 4), 20u);  // made by
        // The 26 bytes shared with the local header.
        EXPECT_EQ(zip.substr(at + 6, 26), zip.substr(offsets[i] + 4, 26));
        EXPECT_EQ(U16(zip, at + 32), 0u);     // comment length
        EXPECT_EQ(U16(zip, at + 34), 0u);     // disk
        EXPECT_EQ(U16(zip, at + 36), 1u);     // internal attributes
        EXPECT_EQ(U32(zip, at + 38), 0x20u);  // external attributes
        EXPECT_EQ(U32(zip, at + 42), offsets[i]);
        EXPECT_EQ(zip.substr(at + 46, m.name.size()), m.name);
        at += 46 + m.name.size();
    }
    ASSERT_EQ(zip.size(), at + 26);
    EXPECT_EQ(U32(zip, at), 0x06054b50u);
    EXPECT_EQ(U16(zip, at + 4), 0u);
    EXPECT_EQ(U16(zip, at + 6), 0u);
    EXPECT_EQ(U16(zip, at + 8), members.size());
    EXPECT_EQ(U16(zip, at + 10), members.size());
    EXPECT_EQ(U32(zip, at + 12), at - directory);
    EXPECT_EQ(U32(zip, at + 16), directory);
    EXPECT_EQ(U16(zip, at + 20), 4u);
    EXPECT_EQ(zip.substr(at + 22), "ZEVO");
}

TEST(ZipArchive, Crc32IsTheStandardOne) {
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(""), 0u);
    const std::string g = GerberLike(500);
    EXPECT_EQ(Crc32(g),
              uint32_t(crc32(0, reinterpret_cast<const Bytef*>(g.data()), uInt(g.size()))));
    EXPECT_EQ(Crc32(g.substr(100), Crc32(g.substr(0, 100))), Crc32(g));  // it continues
}

TEST(ZipArchive, DosTimeAndDate) {
    const DosStamp s = MakeDosStamp(2026, 12, 8, 14, 37, 59);
    EXPECT_EQ(s.time, 14 * 2048 + 37 * 32 + 29);
    EXPECT_EQ(s.date, 46 * 512 + 12 * 32 + 8);
}

TEST(ZipArchive, OneAndThirteenMembersFieldByField) {
    const DosStamp t = MakeDosStamp(2024, 2, 29, 23, 59, 58);
    std::vector<ZipMember> one = {{"amp.GTL", GerberLike(40)}};
    ExpectArchive(BuildZip(one, t), one, t);

    std::vector<ZipMember> thirteen;
    for (int i = 0; i < 13; ++i)
        thirteen.push_back({"file" + std::to_string(i) + ".grb", GerberLike(i * 50)});
    ExpectArchive(BuildZip(thirteen, t), thirteen, t);

    // No member: the end record alone.
    ExpectArchive(BuildZip({}, t), {}, t);
}

TEST(ZipArchive, AMemberThatDoesNotFitItsBufferIsLeftOut) {
    EXPECT_EQ(DeflateBufferSize(0), 1024u);
    EXPECT_EQ(DeflateBufferSize(30), 1024u + 16u);  // 10 rounded up to 16
    EXPECT_EQ(DeflateBufferSize(48), 1024u + 16u);
    // Random bytes do not shrink: 30 000 of them need more than 10 000 + 1024.
    std::mt19937 rng(7);
    std::string noise(30000, '\0');
    for (char& c : noise) c = char(rng());
    EXPECT_FALSE(DeflateRaw(noise));
    // An empty file deflates to its two-byte final block.
    ASSERT_TRUE(DeflateRaw(""));

    const DosStamp t = MakeDosStamp(2020, 1, 1, 0, 0, 0);
    std::vector<std::string> leftOut;
    const std::vector<ZipMember> members = {
        {"a.GTL", GerberLike(10)}, {"noise.bin", noise}, {"b.GBL", GerberLike(20)}};
    const std::string zip = BuildZip(members, t, &leftOut);
    EXPECT_EQ(leftOut, std::vector<std::string>{"noise.bin"});
    ExpectArchive(zip, {members[0], members[2]}, t);
}

}  // namespace
}  // namespace zevo
