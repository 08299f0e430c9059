// The limits every reader applies before parsing: kinds and sizes of files, UTF-8, nesting depth.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "InputText.h"
#include "TempDir.h"

namespace {

std::string scanError(const std::string& text, int depth = sim::kMaxJsonDepth) {
    try {
        sim::checkJsonText(text, "f.json", depth);
    } catch (const sim::InputError& error) {
        return error.what();
    }
    return "(accepted)";
}

std::string readError(const std::string& path, const sim::InputFileKind& kind) {
    try {
        sim::readInputFile(path, kind);
    } catch (const sim::InputError& error) {
        return error.what();
    }
    return "(read)";
}

struct ScanCase {
    const char* text;
    const char* message;
};

TEST(InputText, JsonTextIsCheckedForEncodingAndDepth) {
    const ScanCase cases[] = {
        {R"({"a": "plain", "b": "\u00e9 caf\u00c3\u00a9"})", "(accepted)"},
        {"{\"a\": \"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xAC\"}", "(accepted)"},
        // A backslash escapes the quote: the string goes on.
        {"{\"a\": \"x\\\" \xFF\"}", "f.json: a: expected UTF-8 text, got the byte 0xFF (byte 11)"},
        {"{\"a\": [1, \"\xC0\xAF\"]}",
         "f.json: a[1]: expected UTF-8 text, got the byte 0xC0 (byte 11)"},  // overlong '/'
        {"{\"a\": {\"b\": \"\xED\xA0\x80\"}}",
         "f.json: a.b: expected UTF-8 text, got the byte 0xED (byte 13)"},  // a surrogate
        {"{\"a\": \"\xF4\x90\x80\x80\"}",
         "f.json: a: expected UTF-8 text, got the byte 0xF4 (byte 7)"},  // above U+10FFFF
        {"{\"a\": \"\xE2\x82\"}",
         "f.json: a: expected UTF-8 text, got the byte 0xE2 (byte 7)"},  // cut short
        {"{\"k\xFF\": 1}", "f.json: expected UTF-8 text, got the byte 0xFF (byte 3)"},
        {"[1, 2] \x80", "f.json: expected UTF-8 text, got the byte 0x80 (byte 7)"},
        {"[[[1]]]", "(accepted)"},
        {"[[[[1]]]]",
         "f.json: [0][0][0]: expected at most 3 levels of nested arrays and objects, "
         "got more (byte 3)"},
        {R"({"items": [{}, {"layers": [{"masks": {}}]}]})",
         "f.json: items[1].layers: expected at most 3 levels of nested arrays and objects, got "
         "more (byte 26)"},
    };
    for (const ScanCase& c : cases)
        EXPECT_EQ(scanError(c.text, c.message == std::string("(accepted)") ? 64 : 3), c.message)
            << c.text;
    // Brackets inside strings are text, not nesting.
    EXPECT_EQ(scanError("[\"" + std::string(1000, '[') + "\"]", 2), "(accepted)");
}

TEST(InputText, ADeepFileIsRefusedAtTheLimitWithoutRecursion) {
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += i % 2 ? "[" : "{\"k\": ";
    std::string message = scanError(deep);
    EXPECT_NE(message.find("expected at most 64 levels"), std::string::npos) << message;
    EXPECT_EQ(message.rfind("f.json: k[0].k[0].k[0]", 0), 0u) << message;
    EXPECT_LT(message.size(), 200u) << "a deep path is shortened";
    EXPECT_EQ(scanError(std::string(64, '[') + std::string(64, ']')), "(accepted)");
}

TEST(InputText, FilesThatAreNoFilesOrTooLargeAreRefusedBeforeTheyAreRead) {
    TempDir tmp;
    const sim::InputFileKind& kind = sim::kProjectFileKind;
    EXPECT_EQ(readError(tmp.dir(), kind),
              tmp.dir() + ": expected a project file, but it is a folder");

    std::string fifo = tmp.file("fifo.json");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Opening a FIFO without a writer would block for ever.
    EXPECT_EQ(readError(fifo, kind), fifo + ": expected a project file, but it is a FIFO");

    std::string empty = tmp.file("empty.json");
    std::ofstream(empty).close();
    EXPECT_EQ(readError(empty, kind), empty + ": expected a project file, but the file is empty");

    // 200 MB, sparse: refused from its size, so nothing of it is read.
    std::string big = tmp.file("big.json");
    std::ofstream(big).close();
    std::filesystem::resize_file(big, 200u << 20);
    EXPECT_EQ(readError(big, kind),
              big + ": expected a project file of at most 64 MiB, got 209715200 bytes");
    std::string answers = tmp.file("ui.json");
    std::ofstream(answers) << std::string((1u << 20) + 1, ' ');
    EXPECT_EQ(readError(answers, sim::kAnswersFileKind),
              answers + ": expected an answers file of at most 1 MiB, got 1048577 bytes");

    EXPECT_EQ(
        readError(tmp.file("absent.json"), kind),
        tmp.file("absent.json") + ": cannot open the project file: No such file or directory");
    EXPECT_EQ(readError(tmp.file("absent.json"), sim::kAnswersFileKind),
              tmp.file("absent.json") + ": cannot be read");

    std::string good = tmp.file("good.json");
    std::ofstream(good) << "{}";
    EXPECT_EQ(sim::readInputFile(good, kind), "{}");
}

}  // namespace
