// The plug-in property list the build generates for the Windows resource, read back byte by byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Reads the 16-bit words of the generated resource script back into bytes.
std::vector<uint8_t> piplBytes() {
    std::ifstream in(std::string(ZENTRIM_BINARY_DIR) + "/plugin/Zentrim_PiPL.rc");
    EXPECT_TRUE(in) << "the build writes plugin/Zentrim_PiPL.rc";
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    EXPECT_NE(s.find("16000 PiPL"), std::string::npos) << "resource id 16000 of type PiPL";
    EXPECT_NE(s.find("LANGUAGE 9, 1"), std::string::npos) << "language 1033";
    std::string body = s.substr(s.find("BEGIN"), s.find("END") - s.find("BEGIN"));
    std::vector<uint8_t> bytes;
    std::regex word("0x([0-9a-fA-F]+)");
    for (auto it = std::sregex_iterator(body.begin(), body.end(), word);
         it != std::sregex_iterator(); ++it) {
        unsigned long w = std::stoul((*it)[1].str(), nullptr, 16);
        bytes.push_back(static_cast<uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    return bytes;
}

struct Reader {
    const std::vector<uint8_t>& b;
    size_t at = 0;
    uint32_t u16() {
        uint32_t v = b.at(at) | b.at(at + 1) << 8;
        at += 2;
        return v;
    }
    uint32_t u32() {
        uint32_t v = b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 |
                     static_cast<uint32_t>(b.at(at + 3)) << 24;
        at += 4;
        return v;
    }
    std::string text(size_t n) {
        std::string s(b.begin() + at, b.begin() + at + n);
        at += n;
        return s;
    }
};

TEST(PropertyList, HeaderAndFivePropertiesAsTheHostReadsThem) {
    std::vector<uint8_t> bytes = piplBytes();
    ASSERT_EQ(bytes.size(), 138u);
    Reader r{bytes};
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
