// The board maker's order form: its URL with the board's sizes, quantity, options and, when data
// were made, the archive as query parameters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "estimate/maker_table.h"

namespace zevo {

// Letters, digits and "*", "-", ".", "_" stay; a blank becomes "+"; every other byte becomes
// "%" and two upper-case hexadecimal digits.
std::string EncodeQueryValue(std::string_view bytes);

struct OrderRequest {
    std::string sizeX, sizeY, quantity;  // the texts of the fields
    std::vector<int> selections;         // the selected item of each option, -1 for none
    std::string archivePath;             // empty: no data were made
};

// "<url>?cad=zevo&x_size=..&y_size=..&units=..", then "&<key>=<value>" for every option with a
// selection (an option left without one is not sent), then the archive's folder and name.
std::string OrderUrl(const MakerEntry& entry, const OrderRequest& request);

}  // namespace zevo
