// The macOS resource file the build generates (Zentrim.rsrc), read back through its resource map,
// and its property list compared field by field with the Windows one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "PropertyListReader.h"

namespace {

using namespace pipl_test;

const std::string kRsrc = std::string(ZENTRIM_BINARY_DIR) + "/plugin/Zentrim.rsrc";
const std::string kRc = std::string(ZENTRIM_BINARY_DIR) + "/plugin/Zentrim_PiPL.rc";

TEST(ResourceFile, OnePiPLResourceWithNoNameWhereTheMapSaysItIs) {
    Bytes bytes = readFile(kRsrc);
    ResourceFile f = parseResourceFile(bytes);

    EXPECT_EQ(f.dataOffset, 256u);
    EXPECT_EQ(f.dataLength, 4u + 168u) << "one length word and the property list";
    EXPECT_EQ(f.mapOffset, f.dataOffset + f.dataLength) << "the map follows the data";
    EXPECT_EQ(f.mapLength, 50u);
    EXPECT_EQ(bytes.size(), size_t(f.mapOffset) + f.mapLength) << "nothing after the map";
    EXPECT_TRUE(std::all_of(bytes.begin() + 16, bytes.begin() + 256, [](uint8_t b) {
        return b == 0;
    })) << "the bytes between header and data are zero";

    EXPECT_EQ(f.mapHeaderCopy, Bytes(bytes.begin(), bytes.begin() + 16))
        << "map starts with the header";
    EXPECT_EQ(f.nextMap, 0u);
    EXPECT_EQ(f.fileReference, 0u);
    EXPECT_EQ(f.attributes, 0u);
    EXPECT_EQ(f.typeListOffset, 28u);
    EXPECT_EQ(f.nameListOffset, 50u);
    EXPECT_EQ(f.nameListOffset, f.mapLength) << "the name list is empty";

    ASSERT_EQ(f.resources.size(), 1u);
    const ResourceReference& r = f.resources[0];
    EXPECT_EQ(r.type, "PiPL");
    EXPECT_EQ(r.id, 16000);
    EXPECT_EQ(r.nameOffset, 0xFFFFu) << "no name";
    EXPECT_EQ(r.attributes, 0u);
    EXPECT_EQ(r.dataOffset, 0u);
    EXPECT_EQ(r.reserved, 0u);
    EXPECT_EQ(r.data.size(), 168u);
}

TEST(PropertyList, MacOSSixPropertiesBigEndianWithUnpaddedLengths) {
    Bytes data = parseResourceFile(readFile(kRsrc)).resources.at(0).data;
    PropertyList list = parsePropertyList(data, /*windows=*/false);
    EXPECT_EQ(list.version, 0u);

    struct Expected {
        const char* key;
        uint32_t length;   // padding left out
        std::string data;  // the bytes the length counts
    } expected[] = {
        {"kind", 4, "AEgx"},
        {"name", 8, std::string("\x07Zentrim", 8)},
        {"catg", 15, std::string("\x0eGeneral Plugin", 15)},
        {"vers", 4, std::string("\x00\x19\x00\x01", 4)},
        {"mi64", 15,
         std::string("\x0e"
                     "EntryPointFunc",
                     15)},
        {"ma64", 15,
         std::string("\x0e"
                     "EntryPointFunc",
                     15)},
    };
    ASSERT_EQ(list.properties.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const Property& p = list.properties[i];
        SCOPED_TRACE(expected[i].key);
        EXPECT_EQ(p.vendor, "8BIM");
        EXPECT_EQ(p.key, expected[i].key);
        EXPECT_EQ(p.id, 0u);
        EXPECT_EQ(p.length, expected[i].length);
        EXPECT_EQ(p.data, expected[i].data);
        EXPECT_EQ(p.padding, std::string(p.padding.size(), '\0')) << "zero padding";
    }
    EXPECT_EQ(list.end, data.size()) << "nothing after the last property";
}

// The text of a Pascal string property; fails on a length byte that disagrees with the data.
std::string pascalText(const Property& p) {
    EXPECT_FALSE(p.data.empty()) << p.key;
    if (p.data.empty()) return "";
    size_t n = static_cast<uint8_t>(p.data[0]);
    EXPECT_LE(n + 1, p.data.size()) << p.key;
    return p.data.substr(1, std::min(n, p.data.size() - 1));
}

std::string reversed(std::string s) {
    return std::string(s.rbegin(), s.rend());
}

uint32_t number(const std::string& four, bool bigEndian) {
    Bytes b(four.begin(), four.end());
    return Cursor{b, 0, bigEndian}.u32();
}

TEST(PropertyList, BothPlatformsCarryTheSameFiveProperties) {
    PropertyList win = parsePropertyList(readResourceScriptWords(kRc), /*windows=*/true);
    PropertyList mac =
        parsePropertyList(parseResourceFile(readFile(kRsrc)).resources.at(0).data, false);
    ASSERT_EQ(win.properties.size(), 5u);
    ASSERT_EQ(mac.properties.size(), 6u);
    const auto& w = win.properties;
    const auto& m = mac.properties;

    EXPECT_EQ(reversed(w[0].data), m[0].data) << "kind";
    EXPECT_EQ(pascalText(w[1]), pascalText(m[1])) << "name";
    EXPECT_EQ(pascalText(w[2]), pascalText(m[2])) << "category";
    EXPECT_EQ(number(w[3].data, false), number(m[3].data, true)) << "version";
    std::string entry = w[4].data.substr(0, w[4].data.find('\0'));
    EXPECT_EQ(entry, "EntryPointFunc");
    EXPECT_EQ(pascalText(m[4]), entry) << "x86_64 entry point";
    EXPECT_EQ(pascalText(m[5]), entry) << "arm64 entry point";
}

}  // namespace
