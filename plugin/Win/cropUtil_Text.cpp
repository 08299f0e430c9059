// Bounded formatting and wide-literal to UTF-16 conversion.
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

#include "cropUtil.h"

#if defined(__APPLE__)
#include <CoreFoundation/CoreFoundation.h>
#endif

namespace cropUtil {

A_Err SprintOS(char* buffer, int size, const char* format, ...) {
    if (!buffer || size <= 0 || !format) return A_Err_PARAMETER;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, static_cast<size_t>(size), format, args);
    va_end(args);
    if (written < 0) {
        buffer[0] = '\0';
        return A_Err_PARAMETER;
    }
    return written < size ? A_Err_NONE : A_Err_PARAMETER;
}

void copyConvertStringLiteralIntoUTF16(const wchar_t* in, A_UTF16Char* out) {
    size_t n = std::wcslen(in);
#if defined(_WIN32)
    // A wide character already is a UTF-16 unit here.
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<A_UTF16Char>(in[i]);
    out[n] = 0;
#elif defined(__APPLE__)
    // wchar_t is UTF-32; let Core Foundation do the conversion as the platform would.
    CFStringRef text =
        CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(in),
                                static_cast<CFIndex>(n * 4), kCFStringEncodingUTF32LE, false);
    CFIndex used = 0;
    if (text) {
        CFStringGetBytes(text, CFRangeMake(0, CFStringGetLength(text)), kCFStringEncodingUnicode, 0,
                         false, reinterpret_cast<UInt8*>(out), static_cast<CFIndex>(n * 2), &used);
        CFRelease(text);
    }
    out[used / 2] = 0;
#else
    // wchar_t is UTF-32. One unit per character keeps within the caller's n + 1 units.
    for (size_t i = 0; i < n; ++i) {
        unsigned long c = static_cast<unsigned long>(in[i]);
        bool bmp = c < 0x10000 && !(c >= 0xD800 && c <= 0xDFFF);
        out[i] = bmp ? static_cast<A_UTF16Char>(c) : static_cast<A_UTF16Char>(0xFFFD);
    }
    out[n] = 0;
#endif
}

namespace {

void appendUTF8(std::string* out, unsigned long c) {
    if (c < 0x80) {
        *out += static_cast<char>(c);
    } else if (c < 0x800) {
        *out += static_cast<char>(0xC0 | (c >> 6));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out += static_cast<char>(0xE0 | (c >> 12));
        *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (c >> 18));
        *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string ScriptStringFromUTF16(const A_UTF16Char* text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; text && text[i]; ++i) {
        unsigned long c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // a lone surrogate is no character
        }
        if (c == '\\' || c == '\'' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F || c == 0x2028 || c == 0x2029) {
            // Line and paragraph separators end a script line; none of these may stand raw.
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hex[(c >> shift) & 0xF];
        } else {
            appendUTF8(&out, c);
        }
    }
    return out;
}

}  // namespace cropUtil
