// app.project: the active composition, its layers and their masks, read live from the host.
#include "ScriptFixture.h"

namespace sim::testing {
namespace {

class ProjectTest : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        Project& p = host.project();
        Item solid;
        solid.id = p.newId();
        solid.type = ItemType::Solid;
        solid.name = "Red";
        solid.width = 200;
        solid.height = 100;
        p.items.push_back(solid);

        Item comp;
        comp.id = p.newId();
        comp.type = ItemType::Comp;
        comp.name = "Main";
        comp.comp.width = 1920;
        comp.comp.height = 1080;
        for (const char* name : {"Top", "Middle", "Bottom"}) {
            Layer l;
            l.id = p.newId();
            l.name = name;
            l.source = solid.id;
            comp.comp.layers.push_back(l);
        }
        comp.comp.layers[1].selected = true;
        comp.comp.layers[2].selected = true;
        for (const char* name : {"Left Half", "Circle"}) {
            Mask m;
            m.id = p.newId();
            m.name = name;
            comp.comp.layers[1].masks.push_back(m);
        }
        p.items.push_back(comp);
    }
    Item& comp() { return host.project().items[1]; }
    void activate() { host.project().activeItem = comp().id; }
};

TEST_F(ProjectTest, NoActiveItemIsNull) {
    EXPECT_EQ(ok("app.project.activeItem === null"), "true");
}

TEST_F(ProjectTest, ActiveCompositionAndItsLayers) {
    activate();
    EXPECT_EQ(ok("var c = app.project.activeItem; c instanceof CompItem"), "true");
    EXPECT_EQ(ok("c.name + ' ' + c.width + 'x' + c.height + ' ' + c.numLayers"),
              "Main 1920x1080 3");
    EXPECT_EQ(ok("app.project.activeItem.layer(2).name"), "Middle");
    EXPECT_EQ(ok("c.layers[1].name + ',' + c.layers[3].name + ',' + c.layers.length"),
              "Top,Bottom,3");
    EXPECT_EQ(ok("c.layer(3).index"), "3");
    EXPECT_EQ(ok("c.layer(1).selected + ',' + c.layer(2).selected"), "false,true");
    EXPECT_EQ(ok("var s = c.selectedLayers; s.length + ':' + s[0].name + ',' + s[1].name"),
              "2:Middle,Bottom");
    EXPECT_EQ(ok("c.layer(1).source.name + ' ' + (c.layer(1).source instanceof FootageItem)"),
              "Red true");
}

TEST_F(ProjectTest, LayerIndexOutOfRangeThrows) {
    activate();
    EXPECT_NE(fails("app.project.activeItem.layer(0)").find("out of range"), std::string::npos);
    EXPECT_NE(fails("app.project.activeItem.layer(4)").find("out of range"), std::string::npos);
}

TEST_F(ProjectTest, MasksByTheirGroupNames) {
    activate();
    EXPECT_EQ(ok("var m = app.project.activeItem.layer(2).property('Masks');"
                 "m.numProperties + ':' + m.property(1).name + ',' + m.property(2).name"),
              "2:Left Half,Circle");
    EXPECT_EQ(ok("app.project.activeItem.layer(2).property('ADBE Mask Parade').property(2).name"),
              "Circle");
    EXPECT_EQ(ok("app.project.activeItem.layer(1).property('Masks').numProperties"), "0");
    EXPECT_EQ(ok("app.project.activeItem.layer(2).property('Masks').property(3)"), "");
}

TEST_F(ProjectTest, ReadsTheProjectAsItIsNow) {
    activate();
    ok("var kept = app.project.activeItem.layer(1);");
    comp().comp.layers[0].name = "Renamed";
    comp().name = "Changed";
    EXPECT_EQ(ok("kept.name + ' in ' + app.project.activeItem.name"), "Renamed in Changed");
    comp().comp.layers.erase(comp().comp.layers.begin());
    EXPECT_EQ(ok("app.project.activeItem.numLayers"), "2");
    EXPECT_EQ(fails("kept.name"), "Error: Object is invalid (line 1)");
    host.project().activeItem = host.project().items[0].id;
    EXPECT_EQ(ok("app.project.activeItem instanceof CompItem"), "false");
    EXPECT_EQ(ok("app.project.activeItem.name"), "Red");
}

TEST_F(ProjectTest, ItemsFromOne) {
    EXPECT_EQ(ok("app.project.numItems + ':' + app.project.item(1).name + ',' "
                 "+ app.project.item(2).typeName"),
              "2:Red,Composition");
    EXPECT_NE(fails("app.project.item(3)").find("out of range"), std::string::npos);
}

}  // namespace
}  // namespace sim::testing
