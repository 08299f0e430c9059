// Registration of the project-side suites, and their text and time conversions.
#include "ProjectSuites.h"

#include <cstdint>
#include <limits>
#include <numeric>
#include <set>

namespace sim {

void registerProjectSuites(Host& host) {
    registerItemSuites(host);
    registerCompSuites(host);
    registerCollectionSuites(host);
}

namespace projectsuites {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at `i`, advancing it; malformed input yields U+FFFD.
uint32_t nextCodePoint(const std::string& s, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char b = byte(i++);
    if (b < 0x80) return b;
    int extra = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
        extra = 2;
    } else if (b >= 0xF0 && b <= 0xF4) {
        extra = 3;
    } else {
        return kReplacement;
    }
    uint32_t c = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (byte(i) & 0xC0) != 0x80) return kReplacement;
        c = (c << 6) | (byte(i++) & 0x3F);
    }
    static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return kReplacement;
    return c;
}

}  // namespace

std::string utf8FromUtf16(const A_UTF16Char* text) {
    std::string out;
    for (size_t i = 0; text[i]; ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::vector<A_UTF16Char> utf16FromUtf8(const std::string& text) {
    std::vector<A_UTF16Char> out;
    for (size_t i = 0; i < text.size();) {
        uint32_t c = nextCodePoint(text, i);
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<A_UTF16Char>(0xD800 + (c >> 10)));
            out.push_back(static_cast<A_UTF16Char>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<A_UTF16Char>(c));
        }
    }
    out.push_back(0);
    return out;
}

A_Time exactTimeIn(Rational t, int64_t preferredScale) {
    std::vector<int64_t> scales;
    if (preferredScale > 0 && preferredScale <= std::numeric_limits<uint32_t>::max()) {
        int64_t g = std::gcd(preferredScale, t.den);
        if (preferredScale / g <= std::numeric_limits<uint32_t>::max() / t.den)
            scales.push_back(preferredScale / g * t.den);
    }
    scales.push_back(t.den);
    for (int64_t scale : scales) {
        if (scale > std::numeric_limits<uint32_t>::max()) continue;
        int64_t factor = scale / t.den;
        if (t.num > std::numeric_limits<A_long>::max() / factor ||
            t.num < std::numeric_limits<A_long>::min() / factor)
            continue;
        A_Time out;
        out.value = static_cast<A_long>(t.num * factor);
        out.scale = static_cast<A_u_long>(scale);
        return out;
    }
    throw HostError(A_Err_PARAMETER, "the time " + t.toString() + " does not fit an A_Time");
}

void addToFolder(Project& project, Item item) {
    std::vector<Item>& items = project.items;
    if (item.folder == 0) {
        items.push_back(std::move(item));
        return;
    }
    const ptrdiff_t at = project.itemPosition(item.folder);
    if (at < 0 || items[static_cast<size_t>(at)].type != ItemType::Folder)
        throw HostError(A_Err_PARAMETER, "the parent folder is not a folder of the project");
    // Everything after the folder whose chain of folders leads to it is inside it.
    std::set<Id> inside{item.folder};
    size_t end = static_cast<size_t>(at) + 1;
    while (end < items.size() && inside.count(items[end].folder)) {
        inside.insert(items[end].id);
        ++end;
    }
    items.insert(items.begin() + static_cast<ptrdiff_t>(end), std::move(item));
}

int64_t frameScale(const Comp& comp) {
    if (!(comp.frameRate > 0) || comp.frameRate > 1e6) return 0;
    Rational rate = Rational::fromDouble(comp.frameRate);
    // k frames last k * rate.den / rate.num seconds: whole units of 1/rate.num.
    return rate.num > 0 && rate.num <= std::numeric_limits<uint32_t>::max() ? rate.num : 0;
}

}  // namespace projectsuites
}  // namespace sim
