// Readers for the plug-in property list as the host reads it: the macOS resource file (header,
// resource map, type and reference lists) and both platforms' property-list encodings, parsed
// field by field. Every read is bounds-checked and a malformed input fails with what was wrong.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace pipl_test {

using Bytes = std::vector<uint8_t>;

inline Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The bytes of the resource script's 16-bit words (each little-endian), between BEGIN and END.
inline Bytes readResourceScriptWords(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    size_t begin = s.find("BEGIN"), end = s.find("END", begin);
    if (begin == std::string::npos || end == std::string::npos)
        throw std::runtime_error(path + " has no BEGIN ... END block");
    std::string body = s.substr(begin, end - begin);
    Bytes bytes;
    std::regex word("0x([0-9a-fA-F]+)");
    for (auto it = std::sregex_iterator(body.begin(), body.end(), word);
         it != std::sregex_iterator(); ++it) {
        unsigned long w = std::stoul((*it)[1].str(), nullptr, 16);
        bytes.push_back(static_cast<uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    return bytes;
}

// Sequential reads at an offset, in one byte order.
struct Cursor {
    const Bytes& bytes;
    size_t at;
    bool bigEndian;

    void need(size_t n) const {
        if (at > bytes.size() || bytes.size() - at < n)
            throw std::runtime_error("read of " + std::to_string(n) + " bytes at offset " +
                                     std::to_string(at) + " runs past the end (" +
                                     std::to_string(bytes.size()) + " bytes)");
    }
    uint32_t number(size_t n) {
        need(n);
        uint32_t v = 0;
        for (size_t i = 0; i < n; ++i) {
            size_t k = bigEndian ? i : n - 1 - i;
            v = v << 8 | bytes[at + k];
        }
        at += n;
        return v;
    }
    uint32_t u8() { return number(1); }
    uint32_t u16() { return number(2); }
    uint32_t u24() { return number(3); }
    uint32_t u32() { return number(4); }
    std::string text(size_t n) {
        need(n);
        std::string s(bytes.begin() + at, bytes.begin() + at + n);
        at += n;
        return s;
    }
};

// The resource file's header, map header, and every resource the map lists.
struct ResourceReference {
    std::string type;
    int16_t id = 0;
    uint16_t nameOffset = 0;
    uint8_t attributes = 0;
    uint32_t dataOffset = 0;  // of the length word, from the start of the data
    uint32_t reserved = 0;
    Bytes data;
};

struct ResourceFile {
    uint32_t dataOffset = 0, mapOffset = 0, dataLength = 0, mapLength = 0;
    Bytes mapHeaderCopy;  // the map's first 16 bytes
    uint32_t nextMap = 0;
    uint16_t fileReference = 0, attributes = 0, typeListOffset = 0, nameListOffset = 0;
    std::vector<ResourceReference> resources;
};

inline ResourceFile parseResourceFile(const Bytes& bytes) {
    ResourceFile f;
    Cursor c{bytes, 0, true};
    f.dataOffset = c.u32();
    f.mapOffset = c.u32();
    f.dataLength = c.u32();
    f.mapLength = c.u32();
    if (uint64_t(f.dataOffset) + f.dataLength > bytes.size() ||
        uint64_t(f.mapOffset) + f.mapLength > bytes.size())
        throw std::runtime_error("header places data or map past the end of the file");

    Cursor m{bytes, f.mapOffset, true};
    f.mapHeaderCopy = Bytes(bytes.begin() + f.mapOffset, bytes.begin() + f.mapOffset + 16);
    m.at += 16;
    f.nextMap = m.u32();
    f.fileReference = m.u16();
    f.attributes = m.u16();
    f.typeListOffset = m.u16();
    f.nameListOffset = m.u16();

    size_t typeList = f.mapOffset + f.typeListOffset;
    Cursor t{bytes, typeList, true};
    uint32_t types = (t.u16() + 1) & 0xFFFF;  // stored as count minus one
    for (uint32_t i = 0; i < types; ++i) {
        std::string type = t.text(4);
        uint32_t count = (t.u16() + 1) & 0xFFFF;
        Cursor r{bytes, typeList + t.u16(), true};
        for (uint32_t k = 0; k < count; ++k) {
            ResourceReference ref;
            ref.type = type;
            ref.id = static_cast<int16_t>(r.u16());
            ref.nameOffset = static_cast<uint16_t>(r.u16());
            ref.attributes = static_cast<uint8_t>(r.u8());
            ref.dataOffset = r.u24();
            ref.reserved = r.u32();
            Cursor d{bytes, size_t(f.dataOffset) + ref.dataOffset, true};
            uint32_t length = d.u32();
            if (ref.dataOffset + 4 + uint64_t(length) > f.dataLength)
                throw std::runtime_error("resource " + type + " " + std::to_string(ref.id) +
                                         " runs past the data");
            std::string body = d.text(length);
            ref.data.assign(body.begin(), body.end());
            f.resources.push_back(ref);
        }
    }
    return f;
}

// One property of a property list, as stored.
struct Property {
    std::string vendor, key;  // as stored (reversed on Windows)
    uint32_t id = 0;
    uint32_t length = 0;  // the length field
    std::string data;     // the bytes the length field counts
    std::string padding;  // the bytes after them up to a multiple of 4
};

struct PropertyList {
    uint32_t leadingWord = 0;  // Windows only: a 16-bit 1
    uint32_t version = 0;
    std::vector<Property> properties;
    size_t end = 0;  // offset after the last property
};

// windows: little-endian, a leading 16-bit word; macos: big-endian, none.
inline PropertyList parsePropertyList(const Bytes& bytes, bool windows) {
    PropertyList list;
    Cursor c{bytes, 0, !windows};
    if (windows) list.leadingWord = c.u16();
    list.version = c.u32();
    uint32_t count = c.u32();
    if (count > bytes.size() / 16)
        throw std::runtime_error("property count " + std::to_string(count));
    for (uint32_t i = 0; i < count; ++i) {
        Property p;
        p.vendor = c.text(4);
        p.key = c.text(4);
        p.id = c.u32();
        p.length = c.u32();
        p.data = c.text(p.length);
        p.padding = c.text((4 - p.length % 4) % 4);
        list.properties.push_back(p);
    }
    list.end = c.at;
    return list;
}

}  // namespace pipl_test
