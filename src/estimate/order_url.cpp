#include "estimate/order_url.h"

#include "estimate/command_line.h"

namespace zevo {

std::string EncodeQueryValue(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '*' || c == '-' || c == '.' || c == '_') {
            out += char(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string OrderUrl(const MakerEntry& entry, const OrderRequest& r) {
    // The typed fields are encoded like the rest: a "&" typed into a size must not start a
    // parameter of its own. Plain numbers come out unchanged.
    std::string url = entry.url + "?cad=zevo";
    url += "&x_size=" + EncodeQueryValue(r.sizeX);
    url += "&y_size=" + EncodeQueryValue(r.sizeY);
    url += "&units=" + EncodeQueryValue(r.quantity);
    for (size_t i = 0; i < entry.options.size(); ++i) {
        const MakerOption& o = entry.options[i];
        const int sel = i < r.selections.size() ? r.selections[i] : -1;
        if (sel < 0 || size_t(sel) >= o.items.size()) continue;
        url += "&" + std::string(o.key) + "=" + EncodeQueryValue(o.items[size_t(sel)].value);
    }
    if (!r.archivePath.empty()) {
        url += "&gb_file_dir=" + EncodeQueryValue(FolderOf(r.archivePath));
        url += "&gb_file_name=" + EncodeQueryValue(FileNameOf(r.archivePath));
    }
    return url;
}

}  // namespace zevo
