// Helpers shared by the Item, Proj, Comp and Collection suite files.
#pragma once

#include <string>
#include <vector>

#include "Suites.h"

namespace sim {

void registerItemSuites(Host& host);        // Item 1/6/8, Proj 5/6
void registerCompSuites(Host& host);        // Comp 4/7/9
void registerCollectionSuites(Host& host);  // Collection 2

// Kept apart from the other suite files' helpers, which may use the same plain names.
namespace projectsuites {

// What a collection handle holds: the listed layers and masks, in order.
struct Collection {
    std::vector<AEGP_CollectionItemV2> items;
};

// A new collection handle the plug-in disposes with AEGP_DisposeCollection.
AEGP_Collection2H newCollection(Host& h, const std::string& what,
                                std::vector<AEGP_CollectionItemV2> items);
Collection& collectionOf(Host& h, AEGP_Collection2H collectionH, HandleRecord** recP = nullptr);

// Model names are UTF-8; the host's wide names are UTF-16. Lone surrogates and malformed bytes
// become U+FFFD, as a text field would show them.
std::string utf8FromUtf16(const A_UTF16Char* text);
std::vector<A_UTF16Char> utf16FromUtf8(const std::string& text);  // null-terminated

// Puts a new item into the project order at the end of its folder (Item::folder; 0 is the root),
// after everything the folder already holds, so that a walk still meets folder contents in place.
// Throws HostError when the folder is not a folder of the project.
void addToFolder(Project& project, Item item);

// An A_Time holding `t` exactly: in units of `preferredScale` when they can (e.g. a comp's frame
// rate), else in the smallest scale that can.
A_Time exactTimeIn(Rational t, int64_t preferredScale);

// The scale in which every frame time of a composition is a whole number (30 for 30 fps, 2997
// for 29.97 fps), or 0 for a frame rate with no usable fraction.
int64_t frameScale(const Comp& comp);

}  // namespace projectsuites
}  // namespace sim
