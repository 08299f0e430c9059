// The simulator's Persistent Data suite, called the way a plug-in calls it: reads of absent keys,
// entries of another size, and numbers a script saved as floating point.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Host.h"
#include "Suites.h"

namespace {

using namespace sim;

class DataSuites : public ::testing::Test {
  protected:
    Host host;
    const AEGP_PersistentDataSuite3* data = nullptr;
    AEGP_PersistentBlobH blob = nullptr;

    void SetUp() override {
        const void* p = nullptr;
        ASSERT_EQ(host.basicSuite()->AcquireSuite(kAEGPPersistentDataSuite,
                                                  kAEGPPersistentDataSuiteVersion3, &p),
                  A_Err_NONE);
        data = static_cast<const AEGP_PersistentDataSuite3*>(p);
        ASSERT_EQ(data->AEGP_GetApplicationBlob(&blob), A_Err_NONE);
    }
    // GetData of `size` bytes into a buffer that starts as 0xAA bytes.
    std::vector<unsigned char> read(const char* key, size_t size, const void* fallback) {
        std::vector<unsigned char> buffer(size, 0xAA);
        EXPECT_EQ(data->AEGP_GetData(blob, "S", key, static_cast<A_u_long>(size), fallback,
                                     buffer.data()),
                  A_Err_NONE);
        return buffer;
    }
};

// Reading an absent key answers with the caller's default (zeros when it gave none) and writes
// that into the preferences, in the type of its size, so that the same read, and a script's
// havePref, finds it afterwards. An entry of another size answers with the default and stays.
TEST_F(DataSuites, GetDataOfAnAbsentKeyWritesWhatItAnswers) {
    const unsigned char one = 1;
    const A_long seven = 7;
    const double half = 0.5;
    const unsigned char three[3] = {'a', 0, 'c'};
    struct Case {
        const char* key;
        size_t size;
        const void* fallback;
        PrefValue stored;
    } cases[] = {
        {"Flag", 1, nullptr, PrefValue(false)},
        {"On", 1, &one, PrefValue(true)},
        {"Long", 4, nullptr, PrefValue(0L)},
        {"Seven", 4, &seven, PrefValue(7L)},
        {"Double", 8, &half, PrefValue(0.5)},
        {"Three", 3, three, PrefValue(std::string("a\0c", 3))},
        {"None", 0, nullptr, PrefValue(std::string())},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.key);
        EXPECT_FALSE(host.prefs().has("S", k.key));
        std::vector<unsigned char> expected(k.size, 0);
        if (k.fallback) std::memcpy(expected.data(), k.fallback, k.size);
        EXPECT_EQ(read(k.key, k.size, k.fallback), expected);
        ASSERT_TRUE(host.prefs().has("S", k.key));
        EXPECT_EQ(*host.prefs().find("S", k.key), k.stored);
        // Read again without a default: the written value, not zeros.
        EXPECT_EQ(read(k.key, k.size, nullptr), expected);
    }
    // An entry of another size: the default, and the entry is kept.
    host.prefs().set("S", "Wide", 123456L);
    EXPECT_EQ(read("Wide", 1, &one), std::vector<unsigned char>{1});
    EXPECT_EQ(read("Wide", 1, nullptr), std::vector<unsigned char>{0});
    EXPECT_EQ(host.prefs().getLong("S", "Wide", 0), 123456L);
}

// GetLong: an absent key gives the default and is written with it; a stored long is read as it
// is, clamped to 32 bits; a floating-point number a script saved is truncated toward zero, or
// reads 0 in the host that does not read it as a long.
TEST_F(DataSuites, GetLongReadsWhatIsStoredAsTheHostModelSays) {
    struct Case {
        PrefValue stored;  // a string "absent" for none
        HostModel::FloatAsLong model;
        A_long expected;
    } cases[] = {
        {PrefValue(std::string("absent")), HostModel::FloatAsLong::Truncate, -3},
        {PrefValue(12L), HostModel::FloatAsLong::Truncate, 12},
        {PrefValue(12L), HostModel::FloatAsLong::Zero, 12},
        {PrefValue(10.9), HostModel::FloatAsLong::Truncate, 10},
        {PrefValue(-10.9), HostModel::FloatAsLong::Truncate, -10},
        {PrefValue(10.9), HostModel::FloatAsLong::Zero, 0},
        {PrefValue(5e12), HostModel::FloatAsLong::Truncate, 2147483647},
        {PrefValue(true), HostModel::FloatAsLong::Zero, 1},
    };
    for (const Case& k : cases) {
        host.prefs().erase("S", "K");
        const bool absent = k.stored == PrefValue(std::string("absent"));
        if (!absent) host.prefs().set("S", "K", k.stored);
        host.model().floatAsLong = k.model;
        A_long value = 99;
        EXPECT_EQ(data->AEGP_GetLong(blob, "S", "K", -3, &value), A_Err_NONE);
        EXPECT_EQ(value, k.expected) << hostModelValue(host.model(), "float-as-long");
        if (absent) {
            EXPECT_EQ(*host.prefs().find("S", "K"), PrefValue(-3L)) << "the default is written";
        }
    }
}

// What reads wrote is kept (and saved to the preferences file) but is nobody's choice: only what
// scripts and the user set counts as a change; setting such a key makes it one.
TEST_F(DataSuites, ValuesReadsWroteAreNotChoices) {
    host.prefs().set("Mine", "Chosen", 2L);
    const std::string chosen = host.prefs().serializeChosen();
    A_long value = 0;
    ASSERT_EQ(data->AEGP_GetLong(blob, "Zentrim", "Resolution", 0, &value), A_Err_NONE);
    read("Padding", 1, nullptr);
    EXPECT_EQ(host.prefs().serializeChosen(), chosen);
    EXPECT_NE(host.prefs().serialize(), chosen);
    EXPECT_NE(host.prefs().serialize().find("\"Resolution\": 0"), std::string::npos);
    host.prefs().set("Zentrim", "Resolution", 0L);
    EXPECT_NE(host.prefs().serializeChosen(), chosen) << "set by a script: a choice";
    ASSERT_EQ(data->AEGP_DeleteEntry(blob, "Zentrim", "Padding"), A_Err_NONE);
    EXPECT_FALSE(host.prefs().has("Zentrim", "Padding"));
}

}  // namespace
