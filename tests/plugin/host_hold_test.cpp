// The holder of what a command owes the host: given back once, by release on the normal path or
// by the destructor only while an exception unwinds.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "HostBoundary.h"
#include "HostHold.h"

namespace {

TEST(HostHold, ReleaseGivesBackOnceAndKeepsTheFirstError) {
    int given = 0;
    HostHold hold([&]() -> A_Err {
        ++given;
        return 7;
    });
    A_Err err = A_Err_NONE;
    hold.release(&err);
    hold.release(&err);
    EXPECT_EQ(given, 1);
    EXPECT_EQ(err, 7);
    int other = 0;
    HostHold second([&]() -> A_Err {
        ++other;
        return 9;
    });
    second.release(&err);
    EXPECT_EQ(other, 1) << "given back also after an earlier error";
    EXPECT_EQ(err, 7) << "the first error stays";
}

TEST(HostHold, DestructorActsOnlyWhileUnwinding) {
    int given = 0;
    {
        HostHold forgotten([&]() -> A_Err { return ++given, 0; });
    }
    EXPECT_EQ(given, 0) << "a normal path that forgets to release is a leak the host reports";
    try {
        HostHold held([&]() -> A_Err { return ++given, 0; });
        throw static_cast<A_Err>(516);
    } catch (A_Err) {
    }
    EXPECT_EQ(given, 1);
    try {
        HostHold released([&]() -> A_Err { return ++given, 0; });
        A_Err err = A_Err_NONE;
        released.release(&err);
        throw std::runtime_error("later");
    } catch (const std::exception&) {
    }
    EXPECT_EQ(given, 2) << "released once, not again on unwind";
}

TEST(HostHold, HandleHoldSkipsANullHandleAndClearsIt) {
    int* handle = nullptr;
    int disposed = 0;
    int object = 5;
    {
        auto hold = HoldHandle(handle, [&](int* h) -> A_Err { return disposed += *h, 0; });
        handle = &object;
        A_Err err = A_Err_NONE;
        hold.release(&err);
        EXPECT_EQ(handle, nullptr);
        hold.release(&err);
    }
    EXPECT_EQ(disposed, 5);
    auto none = HoldHandle(handle, [&](int*) -> A_Err { return ++disposed, 0; });
    A_Err err = A_Err_NONE;
    none.release(&err);
    EXPECT_EQ(disposed, 5) << "nothing held, nothing given back";
}

TEST(HostBoundary, EveryExceptionBecomesAnError) {
    EXPECT_EQ(AtHostBoundary([] { return A_Err(0); }), 0);
    EXPECT_EQ(AtHostBoundary([]() -> A_Err { throw static_cast<A_Err>(516); }), 516);
    EXPECT_EQ(AtHostBoundary([]() -> A_Err { throw std::bad_alloc(); }), A_Err_ALLOC);
    EXPECT_EQ(AtHostBoundary([]() -> A_Err { throw std::runtime_error("x"); }), A_Err_GENERIC);
    EXPECT_EQ(AtHostBoundary([]() -> A_Err { throw 3.5; }), A_Err_GENERIC);
}

}  // namespace
