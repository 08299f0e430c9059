// The plug-in property list the build generates for the Windows resource, read back byte by byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PropertyListReader.h"

namespace {

const std::string kScript = std::string(ZENTRIM_BINARY_DIR) + "/plugin/Zentrim_PiPL.rc";

// The resource statement names the property list's id, type and language.
TEST(PropertyList, ResourceScriptNamesIdTypeAndLanguage) {
    std::ifstream in(kScript);
    ASSERT_TRUE(in) << "the build writes plugin/Zentrim_PiPL.rc";
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("16000 PiPL"), std::string::npos) << "resource id 16000 of type PiPL";
    EXPECT_NE(text.str().find("LANGUAGE 9, 1"), std::string::npos) << "language 1033";
}

TEST(PropertyList, HeaderAndFivePropertiesAsTheHostReadsThem) {
    pipl_test::Bytes bytes = pipl_test::readResourceScriptWords(kScript);
    ASSERT_EQ(bytes.size(), 138u);
    pipl_test::Cursor r{bytes, 0, false};  // little-endian words
    EXPECT_EQ(r.u16(), 1u);
    EXPECT_EQ(r.u32(), 0u);
    EXPECT_EQ(r.u32(), 5u);

    struct Property {
        const char* key;  // as stored: reversed
        uint32_t length;
        std::string data;  // exact bytes, padding included
    } expected[] = {
        {"dnik", 4, "xgEA"},
        {"eman", 8, std::string("\x07Zentrim", 8)},
        {"gtac", 16, std::string("\x0eGeneral Plugin\0", 16)},
        {"srev", 4, std::string("\x01\x00\x19\x00", 4)},
        {"4668", 16, std::string("EntryPointFunc\0\0", 16)},
    };
    for (const Property& p : expected) {
        SCOPED_TRACE(p.key);
        EXPECT_EQ(r.text(4), "MIB8");
        EXPECT_EQ(r.text(4), p.key);
        EXPECT_EQ(r.u32(), 0u) << "id";
        uint32_t length = r.u32();
        EXPECT_EQ(length, p.length);
        EXPECT_EQ(length % 4, 0u);
        EXPECT_EQ(r.text(length), p.data);
    }
    EXPECT_EQ(r.at, bytes.size());
}

}  // namespace
