// Any bytes given to the reader of this netlist format read without a crash into well-formed nets.
#include "netlist_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return zevo::fuzz::FuzzNetlistReader<zevo::ReadCcfNetlist>(data, size,
                                                               zevo::NetlistFormat::kCcf);
}
