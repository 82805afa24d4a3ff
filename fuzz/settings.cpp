// Any settings file must read and rewrite without crashing, and a key just written must read
// back. The first input byte picks the key and the operation; the rest is the file.
#include "board/file/settings.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "paths/file_io.h"
#include "scratch_file.h"

namespace {

struct Key {
    const char* section;
    const char* key;
    const char* value;
};
constexpr Key kKeys[] = {
    {"Setting", "Cursor", "Long"},        {"Window", "Position", "0,0,800,600"},
    {"FileName", "FileName", "/a/b.pcb"}, {"Version", "ZEVO", "Version 0.63.9"},
    {"LayerDef", "1", "NAME=x"},          {"A", "k", "v"},
};

const std::filesystem::path& File() {
    return zevo::fuzz::ScratchFile("zevo-fuzz-settings-", "zevo.ini");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const Key& k = kKeys[data[0] % std::size(kKeys)];
    const int op = (data[0] / std::size(kKeys)) % 3;
    const std::string_view contents(reinterpret_cast<const char*>(data + 1), size - 1);

    zevo::ParseOptions(contents);
    const std::string set = zevo::RewriteSettings(contents, k.section, k.key, k.value);
    if (zevo::FindSetting(set, k.section, k.key, "") != k.value) std::abort();
    if (zevo::RewriteSettings(set, k.section, k.key, k.value) != set) std::abort();

    {
        zevo::FilePtr f = zevo::OpenFile(File(), "wb");
        if (!f) return 0;
        std::fwrite(contents.data(), 1, contents.size(), f.get());
    }
    zevo::ReadSetting(File(), k.section, k.key, "default", 64);
    std::optional<std::string_view> key = k.key, value = k.value;
    if (op == 1) value.reset();
    if (op == 2) key.reset();
    if (zevo::WriteSetting(File(), k.section, key, value).status != zevo::kSettingWritten)
        std::abort();
    zevo::LoadOptions(File());
    return 0;
}
