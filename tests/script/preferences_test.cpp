// app.preferences over the host's preferences store: presence, typed reads and saves.
#include "ScriptFixture.h"

namespace sim::testing {
namespace {

class PreferencesTest : public ScriptTest {};

TEST_F(PreferencesTest, SavesKeepTheTypeTheirCallNames) {
    ok("var p = app.preferences;"
       "p.savePrefAsBool('Zentrim', 'Padding', 1);"
       "p.savePrefAsLong('Zentrim', 'PaddingAmount', '12');"
       "p.savePrefAsFloat('Zentrim', 'ExpandAmount', 2.75);"
       "p.savePrefAsString('Zentrim', 'Name', 42);");
    const PrefValue* padding = host.prefs().find("Zentrim", "Padding");
    ASSERT_NE(padding, nullptr);
    EXPECT_EQ(std::get<bool>(*padding), true);
    EXPECT_EQ(std::get<long>(*host.prefs().find("Zentrim", "PaddingAmount")), 12);
    EXPECT_EQ(std::get<double>(*host.prefs().find("Zentrim", "ExpandAmount")), 2.75);
    EXPECT_EQ(std::get<std::string>(*host.prefs().find("Zentrim", "Name")), "42");
}

TEST_F(PreferencesTest, LongSavesAWholeNumber) {
    ok("app.preferences.savePrefAsLong('S', 'Up', 7.9);"
       "app.preferences.savePrefAsLong('S', 'Down', -7.9);");
    EXPECT_EQ(std::get<long>(*host.prefs().find("S", "Up")), 7);
    EXPECT_EQ(std::get<long>(*host.prefs().find("S", "Down")), -7);
}

TEST_F(PreferencesTest, AFloatReadsAsAnIntegerTruncatedTowardZero) {
    ok("app.preferences.savePrefAsFloat('S', 'Pos', 10.9);"
       "app.preferences.savePrefAsFloat('S', 'Neg', -3.6);");
    EXPECT_EQ(host.prefs().getLong("S", "Pos", 0), 10);
    EXPECT_EQ(host.prefs().getLong("S", "Neg", 0), -3);
    EXPECT_EQ(ok("app.preferences.getPrefAsLong('S', 'Pos')"), "10");
}

TEST_F(PreferencesTest, RoundTripThroughScripts) {
    ok("app.preferences.savePrefAsBool('Zentrim', 'DeleteMask', false);"
       "app.preferences.savePrefAsLong('Zentrim', 'Resolution', 2);"
       "app.preferences.savePrefAsString('Zentrim', 'Label', 'crop');");
    EXPECT_EQ(ok("app.preferences.getPrefAsBool('Zentrim', 'DeleteMask')"), "false");
    EXPECT_EQ(ok("typeof app.preferences.getPrefAsBool('Zentrim', 'DeleteMask')"), "boolean");
    EXPECT_EQ(ok("app.preferences.getPrefAsLong('Zentrim', 'Resolution') + 1"), "3");
    EXPECT_EQ(ok("app.preferences.getPrefAsFloat('Zentrim', 'Resolution')"), "2");
    EXPECT_EQ(ok("app.preferences.getPrefAsString('Zentrim', 'Label')"), "crop");
    EXPECT_EQ(ok("app.preferences.getPrefAsString('Zentrim', 'Resolution')"), "2");
}

TEST_F(PreferencesTest, ReadsWhatTheHostHolds) {
    host.prefs().set("Zentrim", "Padding", true);
    host.prefs().set("Zentrim", "PaddingAmount", 10L);
    EXPECT_EQ(ok("app.preferences.havePref('Zentrim', 'Padding')"), "true");
    EXPECT_EQ(ok("app.preferences.havePref('Zentrim', 'Other')"), "false");
    EXPECT_EQ(ok("app.preferences.havePref('Other', 'Padding')"), "false");
    EXPECT_EQ(ok("app.preferences.getPrefAsBool('Zentrim', 'Padding', "
                 "PREFType.PREF_Type_MACHINE_INDEPENDENT)"),
              "true");
    EXPECT_EQ(ok("app.preferences.getPrefAsLong('Zentrim', 'PaddingAmount') * 2"), "20");
}

TEST_F(PreferencesTest, ReadingAnAbsentKeyThrows) {
    for (const char* call :
         {"getPrefAsBool", "getPrefAsFloat", "getPrefAsLong", "getPrefAsString"}) {
        std::string error =
            fails(std::string("app.preferences.") + call + "('Zentrim', 'Missing')");
        EXPECT_NE(error.find("\"Missing\" not found"), std::string::npos) << call << ": " << error;
    }
    EXPECT_EQ(ok("try { app.preferences.getPrefAsLong('A', 'B'); 'no' } catch (e) { 'caught' }"),
              "caught");
}

TEST_F(PreferencesTest, SaveToDiskIsCounted) {
    EXPECT_EQ(host.prefs().savesToDisk, 0);
    ok("app.preferences.saveToDisk(); app.preferences.saveToDisk();");
    EXPECT_EQ(host.prefs().savesToDisk, 2);
}

}  // namespace
}  // namespace sim::testing
