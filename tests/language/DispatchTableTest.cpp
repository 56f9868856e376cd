// The shared 65536-entry dispatch table: fallback everywhere no row sets,
// refusal of malformed row lists, and calls through member pointers.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "language/DispatchTable.h"
#include "language/VMCodeCmd.h"

namespace {

class Owner {
public:
    using Handler = std::string (Owner::*)(int);

    std::string Fallback(int n) { return "fallback " + name + " " + std::to_string(n); }
    std::string Add(int n) { return "add " + name + " " + std::to_string(n); }
    std::string Exit(int n) { return "exit " + name + " " + std::to_string(n); }

    static const TDispatchTable<Handler>& Table()
    {
        static const TDispatchTable<Handler> table(&Owner::Fallback, {
                                                                         {vcBAddInt, &Owner::Add},
                                                                         {vcBExit, &Owner::Exit},
                                                                     });
        return table;
    }

    std::string name;
};

TEST(DispatchTable, RowsAndFallback)
{
    const auto& table = Owner::Table();
    EXPECT_EQ(table.Count(), 2u);
    EXPECT_TRUE(table.IsSet(vcBAddInt));
    EXPECT_FALSE(table.IsSet(vcBAddFloat));
    size_t fallbacks = 0;
    for (uint32_t code = 0; code < TDispatchTable<Owner::Handler>::SIZE; ++code)
        fallbacks += table[code] == &Owner::Fallback;
    EXPECT_EQ(fallbacks, 65534u);
    // Numbers past the code space never read past the table.
    EXPECT_EQ(table[0x10000], &Owner::Fallback);
    EXPECT_EQ(table[0xFFFFFFFFu], &Owner::Fallback);
    EXPECT_FALSE(table.IsSet(0x10000));
}

TEST(DispatchTable, SharedByEveryOwnerAndCalledOnEach)
{
    Owner a{"a"};
    Owner b{"b"};
    EXPECT_EQ(&Owner::Table(), &Owner::Table());
    EXPECT_EQ(Owner::Table().Call(vcBAddInt, a, 1), "add a 1");
    EXPECT_EQ(Owner::Table().Call(vcBExit, &b, 2), "exit b 2");
    EXPECT_EQ(Owner::Table().Call(vcBAddFloat, b, 3), "fallback b 3");
    EXPECT_EQ(Owner::Table().Call(0x123456, a, 4), "fallback a 4");
}

TEST(DispatchTable, MalformedRowsAreRefused)
{
    using Handler = Owner::Handler;
    EXPECT_THROW(TDispatchTable<Handler>(nullptr), std::invalid_argument);
    EXPECT_THROW((TDispatchTable<Handler>(&Owner::Fallback, {{vcBAddInt, &Owner::Add}, {vcBAddInt, &Owner::Exit}})),
                 std::invalid_argument);
    EXPECT_THROW((TDispatchTable<Handler>(&Owner::Fallback, {{vcBExit, nullptr}})), std::invalid_argument);
    EXPECT_THROW((TDispatchTable<Handler>(&Owner::Fallback, {{0x10000, &Owner::Add}})), std::invalid_argument);

    // Rows may come in several groups, as the initialisers of one owner set them.
    TDispatchTable<Handler> table(&Owner::Fallback);
    table.Set({{vcBAddInt, &Owner::Add}});
    table.Set(vcBExit, &Owner::Exit);
    EXPECT_EQ(table.Count(), 2u);
    EXPECT_THROW(table.Set(vcBExit, &Owner::Add), std::invalid_argument);
    EXPECT_EQ(table[vcBExit], &Owner::Exit) << "a refused row changes nothing";
}

TEST(DispatchTable, PlainFunctionEntries)
{
    using Fn = int (*)(int);
    TDispatchTable<Fn> table([](int x) { return -x; }, {{vcBNegaInt, [](int x) { return x * 10; }}});
    EXPECT_EQ(table.Call(vcBNegaInt, 4), 40);
    EXPECT_EQ(table.Call(vcBNegaFloat, 4), -4);
}

}  // namespace
