// File: the sandbox under "~/", recorded operations, and refusals elsewhere.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScriptFixture.h"

namespace sim::testing {
namespace {

namespace fsys = std::filesystem;

std::string readFile(const fsys::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buf;
    buf << in.rdbuf();
    return buf.str();
}

class FileTest : public ScriptTest {};

TEST_F(FileTest, WriteExecuteRemoveStayInTheSandbox) {
    EXPECT_EQ(ok("var f = new File('~/Desktop/x.url');"
                 "f.open('w');"
                 "f.writeln('[InternetShortcut]');"
                 "f.write('URL=https://example.com');"
                 "f.close();"
                 "f.exists"),
              "true");
    fsys::path written = fsys::path(sandbox) / "Desktop" / "x.url";
    EXPECT_EQ(readFile(written), "[InternetShortcut]\nURL=https://example.com");
    EXPECT_EQ(ok("f.execute()"), "true");
    EXPECT_TRUE(fsys::exists(written));  // executing runs nothing and changes nothing
    EXPECT_EQ(ok("f.remove() + ',' + f.exists"), "true,false");
    EXPECT_FALSE(fsys::exists(written));
    EXPECT_EQ(host.events().fileEvents,
              (std::vector<std::string>{"open ~/Desktop/x.url w", "write ~/Desktop/x.url",
                                        "write ~/Desktop/x.url", "execute ~/Desktop/x.url",
                                        "remove ~/Desktop/x.url"}));
}

TEST_F(FileTest, PathsOutsideTheSandboxAreRefused) {
    fsys::path outside = fsys::path(sandbox).parent_path() / "zentrim-script-test-outside.txt";
    fsys::remove(outside);
    std::string script = "var f = new File('" + outside.generic_string() +
                         "'); [f.open('w'), f.write('x'), f.execute(), f.remove(), f.exists]";
    EXPECT_EQ(ok(script), "false,false,false,false,false");
    EXPECT_FALSE(fsys::exists(outside));
    ASSERT_EQ(host.events().fileEvents.size(),
              3u);  // write on an unopened file never reaches the host
    EXPECT_EQ(host.events().fileEvents[0], "refused open " + outside.generic_string() + " w");
    EXPECT_EQ(host.events().fileEvents[1], "refused execute " + outside.generic_string());
    EXPECT_EQ(host.events().fileEvents[2], "refused remove " + outside.generic_string());
}

TEST_F(FileTest, ClimbingOutOfTheSandboxIsRefused) {
    EXPECT_EQ(ok("new File('~/../escape.txt').open('w')"), "false");
    EXPECT_EQ(ok("new File('~/a/../../escape.txt').open('w')"), "false");
    EXPECT_FALSE(fsys::exists(fsys::path(sandbox).parent_path() / "escape.txt"));
}

TEST_F(FileTest, ReadingBack) {
    ok("var w = new File('~/notes.txt'); w.open('w'); w.write('one'); w.close();"
       "w.open('a'); w.write(' two'); w.close();");
    EXPECT_EQ(ok("var r = new File('~/notes.txt'); r.open('r'); var t = r.read(); r.close(); t"),
              "one two");
    EXPECT_EQ(ok("new File('~/missing.txt').open('r')"), "false");
}

TEST_F(FileTest, FileSystemNamesFollowThePlatform) {
    EXPECT_EQ(ok("File.fs"), "Unix");
    EXPECT_EQ(ok("new File('~/Desktop/x.url').fsName"), "/home/user/Desktop/x.url");
    // The user's standard folders, as a script builds a file's path from them.
    EXPECT_EQ(ok("Folder.myDocuments.absoluteURI + ' ' + Folder.myDocuments.fsName + ' ' + "
                 "Folder.temp.fsName + ' ' + Folder.myDocuments.name + ' ' + "
                 "new File('~/Desktop\\\\x.url').name"),
              "~/Documents /home/user/Documents /home/user/Temp Documents x.url");
    ok("var d = new File(Folder.myDocuments.absoluteURI + '/report.txt'); d.open('w');"
       "d.write('r'); d.close();");
    EXPECT_EQ(readFile(fsys::path(sandbox) / "Documents" / "report.txt"), "r");
    EXPECT_EQ(ok("Folder.myDocuments.exists + ' ' + Folder.temp.exists"), "true false");
    ScriptOptions options;
    options.fs = "Windows";
    install({}, options);
    EXPECT_EQ(ok("File.fs"), "Windows");
    EXPECT_EQ(ok("new File('~/Desktop/x.url').fsName"), "C:\\Users\\user\\Desktop\\x.url");
    ok("var f = new File('~/Desktop/y.bat'); f.open('w'); f.writeln('start x'); f.close();");
    EXPECT_EQ(readFile(fsys::path(sandbox) / "Desktop" / "y.bat"), "start x\r\n");
    options.fs = "Macintosh";
    install({}, options);
    EXPECT_EQ(ok("File.fs + ' ' + new File('~/Desktop/x.webloc').fsName"),
              "Macintosh /Users/user/Desktop/x.webloc");
}

TEST_F(FileTest, TheTemporarySandboxGoesWithTheEngine) {
    ok("var f = new File('~/a.txt'); f.open('w'); f.write('a'); f.close();");
    ASSERT_TRUE(fsys::exists(fsys::path(sandbox) / "a.txt"));
    std::string old = sandbox;
    install();
    EXPECT_FALSE(fsys::exists(old));
    EXPECT_NE(sandbox, old);
}

TEST_F(FileTest, AGivenSandboxIsUsedAndKept) {
    fsys::path dir = fsys::temp_directory_path() / "zentrim-script-test-given";
    fsys::remove_all(dir);
    ScriptOptions options;
    options.sandboxDir = dir.string();
    install({}, options);
    EXPECT_EQ(fsys::path(sandbox), fsys::absolute(dir));
    ok("var f = new File('~/kept.txt'); f.open('w'); f.write('k'); f.close();");
    install();
    EXPECT_EQ(readFile(dir / "kept.txt"), "k");
    fsys::remove_all(dir);
}

}  // namespace
}  // namespace sim::testing
