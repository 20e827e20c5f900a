// Bisection lookups over the generated postal code tables.
#include "LookupTables.h"

namespace lumika {
namespace {

// Index of code in the sorted table, or -1. Codes outside the table's range are
// answered without searching.
std::ptrdiff_t IndexOf(std::span<const std::uint32_t> table, std::uint32_t code) {
    if (table.empty() || code < table.front() || code > table.back()) return -1;
    std::size_t low = 0;
    std::size_t high = table.size();  // search [low, high)
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (table[middle] < code) {
            low = middle + 1;
        } else if (table[middle] > code) {
            high = middle;
        } else {
            return static_cast<std::ptrdiff_t>(middle);
        }
    }
    return -1;
}

}  // namespace

bool FindNoNumberCode(std::uint32_t code) {
    return IndexOf(kNoNumberCodes, code) >= 0;
}

std::string_view FindExceptionName(std::uint32_t code) {
    const std::ptrdiff_t i = IndexOf(kExceptionCodes, code);
    if (i < 0) return {};
    return kExceptionNameTexts[kExceptionNameOfCode[static_cast<std::size_t>(i)]];
}

}  // namespace lumika
