#include "lv2bundle/BinariesUnderTest.h"
#include "lv2bundle/BundleTestHost.h"

#include <gtest/gtest.h>

#include <elf.h>

#include <cstring>
#include <fstream>
#include <set>
#include <string>

namespace Korvatune {
namespace {

// The names a 64-bit ELF shared object defines for others to use: its dynamic symbols that are
// defined in it and not local.
std::set<std::string> exportedNames(const std::string& path) {
    std::string image(std::filesystem::file_size(path), '\0');
    std::ifstream(path, std::ios::binary)
        .read(image.data(), static_cast<std::streamsize>(image.size()));
    const auto at = [&image](std::size_t offset, auto& record) {
        std::memcpy(&record, image.data() + offset, sizeof record);
    };
    Elf64_Ehdr header{};
    at(0, header);
    std::set<std::string> names;
    for (int s = 0; s < header.e_shnum; ++s) {
        Elf64_Shdr section{};
        at(header.e_shoff + s * sizeof section, section);
        if (section.sh_type != SHT_DYNSYM) {
            continue;
        }
        Elf64_Shdr strings{};
        at(header.e_shoff + section.sh_link * sizeof strings, strings);
        for (std::size_t offset = 0; offset < section.sh_size; offset += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol{};
            at(section.sh_offset + offset, symbol);
            if (symbol.st_shndx != SHN_UNDEF && ELF64_ST_BIND(symbol.st_info) != STB_LOCAL) {
                names.insert(image.data() + strings.sh_offset + symbol.st_name);
            }
        }
    }
    return names;
}

// Symbols a host or another plug-in could clash with stay inside.
TEST(Lv2Binary, ExportsOnlyItsTwoDescriptorFunctions) {
    const std::string binary = std::string(testing::lv2BundleUnderTest()) + "/" + Lv2::kBinaryName;
    ASSERT_TRUE(std::filesystem::exists(binary));
    EXPECT_EQ(exportedNames(binary), (std::set<std::string>{"lv2_descriptor", "lv2ui_descriptor"}));
}

} // namespace
} // namespace Korvatune
