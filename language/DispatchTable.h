#pragma once
// TDispatchTable<Entry>: a table of 65536 entries indexed by an instruction
// code, as the compiler's generators, the machine's handlers and the
// debugger's handlers use it. Entry is normally a pointer to a member function
// of the table's owner, e.g.
//
//   using THandler = void (TVMachine::*)(const TVMCode*);
//   static const TDispatchTable<THandler>& Handlers()
//   {
//       static const TDispatchTable<THandler> table(&TVMachine::ExeBasicUnknown, {
//           {vcBAddInt, &TVMachine::ExeBasicBAddInt},
//           ...
//       });
//       return table;
//   }
//   ...
//   Handlers().Call(code->Cmd, *this, code);
//
// The table is built once (a function-local static is built thread-safely on
// first use) and shared by every owner object, since member pointers do not
// depend on the object. Every entry that no row sets holds the fallback, so
// no code ever reaches an empty entry; a code above 0xFFFF also gets the
// fallback instead of reading past the table.
//
// Building refuses a null fallback, a null row, a code above 0xFFFF and a code
// given twice (std::invalid_argument), so a mistyped row list fails at the
// first use of the table, not at run time of some program.
//
// The entries are kept in pages of 256 codes, made when a row first sets a
// code of the page; a page no row touches reads as the fallback. The codes in
// use fill a few pages only, so building a table touches kilobytes instead of
// a megabyte (which every start of the program would pay for).

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

template <typename Entry>
class TDispatchTable {
public:
    static constexpr uint32_t SIZE = 0x10000;

    struct Row {
        uint32_t Code;
        Entry Handler;
    };

    explicit TDispatchTable(Entry fallback) : mFallback(fallback)
    {
        if (fallback == nullptr) throw std::invalid_argument("dispatch table: null fallback");
    }

    TDispatchTable(Entry fallback, std::initializer_list<Row> rows) : TDispatchTable(fallback) { Set(rows); }

    TDispatchTable(TDispatchTable&&) noexcept = default;
    TDispatchTable& operator=(TDispatchTable&&) noexcept = default;

    // Sets one entry; see the class comment for what is refused.
    void Set(uint32_t code, Entry handler)
    {
        if (code >= SIZE) throw std::invalid_argument("dispatch table: code " + std::to_string(code) + " out of range");
        if (handler == nullptr)
            throw std::invalid_argument("dispatch table: null entry for code " + std::to_string(code));
        if (IsSet(code)) throw std::invalid_argument("dispatch table: code " + std::to_string(code) + " given twice");
        std::unique_ptr<Page>& page = mPages[code >> PAGE_BITS];
        if (!page) {
            page = std::make_unique<Page>();
            page->entries.fill(mFallback);
        }
        page->entries[code & PAGE_MASK] = handler;
        page->set[code & PAGE_MASK] = true;
        ++mCount;
    }

    void Set(std::initializer_list<Row> rows)
    {
        for (const Row& row : rows) Set(row.Code, row.Handler);
    }

    // The entry of a code: its row's handler, or the fallback.
    Entry operator[](uint32_t code) const noexcept
    {
        if (code >= SIZE) return mFallback;
        const Page* page = mPages[code >> PAGE_BITS].get();
        return page != nullptr ? page->entries[code & PAGE_MASK] : mFallback;
    }

    // Calls the entry of `code` on `owner` (an object or a pointer to one).
    template <typename Owner, typename... Args>
    decltype(auto) Call(uint32_t code, Owner&& owner, Args&&... args) const
    {
        return std::invoke((*this)[code], std::forward<Owner>(owner), std::forward<Args>(args)...);
    }

    // Whether a row set the entry of `code` (false: it holds the fallback).
    bool IsSet(uint32_t code) const noexcept
    {
        if (code >= SIZE) return false;
        const Page* page = mPages[code >> PAGE_BITS].get();
        return page != nullptr && page->set[code & PAGE_MASK];
    }

    // The number of entries set by rows.
    size_t Count() const noexcept { return mCount; }

    Entry Fallback() const noexcept { return mFallback; }

private:
    static constexpr uint32_t PAGE_BITS = 8;
    static constexpr uint32_t PAGE_SIZE = 1u << PAGE_BITS;
    static constexpr uint32_t PAGE_MASK = PAGE_SIZE - 1;
    struct Page {
        std::array<Entry, PAGE_SIZE> entries;
        std::array<bool, PAGE_SIZE> set{};
    };

    Entry mFallback;
    std::array<std::unique_ptr<Page>, SIZE / PAGE_SIZE> mPages;
    size_t mCount = 0;
};
