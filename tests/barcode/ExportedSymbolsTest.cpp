// The shared library as a binary: its soname, its one export, its dependencies.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string CommandOutput(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return {};
    std::string out;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) out.append(buffer, n);
    return out;
}

TEST(LibraryBinary, ExportsGetCBarStringAlone) {
    const std::string listing =
        CommandOutput(std::string(LUMIKA_NM) + " -D --defined-only '" LUMIKA_LIBRARY_FILE "'");
    std::set<std::string> symbols;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        symbols.insert(type + " " + name);
    }
    EXPECT_EQ(symbols, std::set<std::string>{"T GetCBarString"}) << listing;
}

TEST(LibraryBinary, HasAVersionedSonameAndNeedsOnlyTheRuntime) {
    const std::string dynamic =
        CommandOutput(std::string(LUMIKA_READELF) + " -d '" LUMIKA_LIBRARY_FILE "'");
    EXPECT_NE(dynamic.find("Library soname: [liblumika.so.1]"), std::string::npos) << dynamic;
    const std::set<std::string> runtime = {"libc.so.6", "libm.so.6", "libstdc++.so.6",
                                           "libgcc_s.so.1", "ld-linux-x86-64.so.2"};
    const std::regex needed(R"(Shared library: \[([^\]]+)\])");
    int count = 0;
    for (auto it = std::sregex_iterator(dynamic.begin(), dynamic.end(), needed);
         it != std::sregex_iterator(); ++it, ++count) {
        EXPECT_TRUE(runtime.count((*it)[1].str())) << (*it)[1].str();
    }
    EXPECT_GT(count, 0) << dynamic;
}

}  // namespace
