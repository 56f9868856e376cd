#include "machine/input/KeyBuffer.h"

#include <chrono>
#include <string_view>
#include <thread>

#include "machine/host/HostInterfaces.h"
#include "machine/text/TextMeasure.h"

namespace {

using Lock = std::lock_guard<std::mutex>;

// The function-key strings when the devices are built, F1 to F10.
const char* const DEFAULT_FUNC_KEY_STRS[TKeyBuffer::FUNC_KEY_COUNT] = {
    "load \"", "auto ", "go to ", "list ", "run\r", "save \"", "key ", "print ", "edit .\r", "cont\r",
};

// Platform key codes that arrive as other codes; every other byte is kept.
struct TKeyCodeRow {
    char platform;
    char basic;
};
constexpr TKeyCodeRow KEY_CODE_ROWS[] = {
    {0x01, 0x0C},                     // Home
    {0x04, 0x01},                     // End
    {0x05, 0x12},                     // Insert
    {0x0A, 0x0D},                     // Return or Enter
    {0x0B, static_cast<char>(0xF9)},  // Page Up
    {0x0C, static_cast<char>(0xF8)},  // Page Down
    {0x1C, 0x1D},                     // Left arrow
    {0x1D, 0x1C},                     // Right arrow
};

int64_t now_micros(const THostClock* clock)
{
    if (clock != nullptr) return clock->NowMicros();
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void sleep_micros(const THostClock* clock, int64_t micros)
{
    if (clock != nullptr)
        clock->SleepMicros(micros);
    else
        std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

bool stopped(const std::atomic<bool>* stop)
{
    return stop != nullptr && stop->load(std::memory_order_acquire);
}

}  // namespace

TKeyBuffer::TKeyBuffer()
{
    InitFuncKeyStr();
}

char TKeyBuffer::TranslateKeyCode(char platformByte)
{
    for (const TKeyCodeRow& row : KEY_CODE_ROWS) {
        if (row.platform == platformByte) return row.basic;
    }
    return platformByte;
}

void TKeyBuffer::Push(const char* bytes, long count)
{
    if (bytes == nullptr || count <= 0) return;
    // An entry holds whole characters only, as many as fit: a character longer than
    // an entry holds (a four-byte one) is dropped whole, with what follows it.
    const std::string_view given(bytes, static_cast<std::size_t>(count));
    std::size_t kept = 0;
    while (kept < given.size()) {
        const std::size_t step = text_measure::utf8_sequence_length(given, kept);
        if (kept + step > static_cast<std::size_t>(MAX_KEY_BYTES)) break;
        kept += step;
    }
    if (kept == 0) return;
    std::string key(given.substr(0, kept));
    key[0] = TranslateKeyCode(key[0]);
    Lock lock(KeyBufLock);
    if (KeyBuf.size() >= CAPACITY) return;
    KeyBuf.push_back(std::move(key));
}

void TKeyBuffer::PushFuncKey(int n)
{
    const std::string text = FuncKeyStr(n);
    for (const char c : text) Push(&c, 1);
}

bool TKeyBuffer::TryPop(std::string& key)
{
    Lock lock(KeyBufLock);
    if (KeyBuf.empty()) return false;
    key = std::move(KeyBuf.front());
    KeyBuf.pop_front();
    return true;
}

std::string TKeyBuffer::Pop(const THostClock* clock, const std::atomic<bool>* stop)
{
    std::string key;
    while (!TryPop(key)) {
        if (stopped(stop)) return "\r";
        sleep_micros(clock, POLL_MICROS);
    }
    return key;
}

std::string TKeyBuffer::PopWithTimeout(int64_t timeout, const THostClock* clock, const std::atomic<bool>* stop)
{
    const int64_t start = now_micros(clock);
    std::string key;
    while (!TryPop(key)) {
        if (stopped(stop) || now_micros(clock) - start >= timeout) return std::string();
        sleep_micros(clock, POLL_MICROS);
    }
    return key;
}

void TKeyBuffer::Clear()
{
    Lock lock(KeyBufLock);
    KeyBuf.clear();
}

std::size_t TKeyBuffer::Size() const
{
    Lock lock(KeyBufLock);
    return KeyBuf.size();
}

std::string TKeyBuffer::FuncKeyStr(int n) const
{
    if (n < 1 || n > FUNC_KEY_COUNT) return std::string();
    Lock lock(KeyBufLock);
    return FuncKeyStrs[n - 1];
}

void TKeyBuffer::SetFuncKeyStr(int n, const std::string& text)
{
    if (n < 1 || n > FUNC_KEY_COUNT) return;
    Lock lock(KeyBufLock);
    FuncKeyStrs[n - 1] = text;
}

void TKeyBuffer::InitFuncKeyStr()
{
    Lock lock(KeyBufLock);
    for (int i = 0; i < FUNC_KEY_COUNT; ++i) FuncKeyStrs[i] = DEFAULT_FUNC_KEY_STRS[i];
}
