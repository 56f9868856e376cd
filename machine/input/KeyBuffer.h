#pragma once
// The emulated keyboard: a queue of at most 16 typed keys, filled by the window's
// thread and emptied by the machine thread, and the ten function-key strings.
//
// An entry is the bytes of one typed character (UTF-8, one to three bytes) whose
// first byte has been translated from the platform's key code to the code BASIC
// programs see. KeyBufLock guards the queue and the function-key strings; waits
// sleep without holding it, and no other lock is taken while it is held.

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

class THostClock;

class TKeyBuffer {
public:
    static constexpr std::size_t CAPACITY = 16;
    static constexpr int FUNC_KEY_COUNT = 10;
    // The longest key the platform delivers; a longer one keeps the whole characters
    // that fit, and a character longer than this is dropped.
    static constexpr long MAX_KEY_BYTES = 3;
    // How long a waiting pop sleeps before it looks again.
    static constexpr int64_t POLL_MICROS = 20000;

    // An empty queue and the default function-key strings.
    TKeyBuffer();

    // Translates and appends one key; nothing happens when the queue is full, when
    // count is not positive, when bytes is null or when its first character is longer
    // than MAX_KEY_BYTES.
    void Push(const char* bytes, long count);
    // Pushes the string of function key n (1 to 10) one byte per entry, as typing it
    // does; the bytes beyond the queue's room are lost. Other numbers push nothing.
    void PushFuncKey(int n);

    // Waits until a key is queued and takes it. When `stop` becomes true during the
    // wait, returns CR (0x0D) at once, as if the line feed that ends a machine had
    // come through. `clock` may be null (the system clock).
    std::string Pop(const THostClock* clock, const std::atomic<bool>* stop);
    // As Pop, but waits at most timeout microseconds; the empty string when no key
    // came (or when `stop` became true). A timeout of 0 or less does not wait.
    std::string PopWithTimeout(int64_t timeout, const THostClock* clock, const std::atomic<bool>* stop);

    void Clear();
    std::size_t Size() const;

    // Function key n, 1 to 10; other numbers give the empty string or change nothing.
    std::string FuncKeyStr(int n) const;
    void SetFuncKeyStr(int n, const std::string& text);
    void InitFuncKeyStr();

    // The first byte of a queued entry for the platform's first byte of a key.
    static char TranslateKeyCode(char platformByte);

private:
    // Takes the first entry into `key` when there is one.
    bool TryPop(std::string& key);

    mutable std::mutex KeyBufLock;
    std::deque<std::string> KeyBuf;
    std::string FuncKeyStrs[FUNC_KEY_COUNT];
};
