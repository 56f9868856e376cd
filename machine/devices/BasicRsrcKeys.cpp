// The key buffer and function keys of TBasicRsrc. The queue and the strings live in
// TKeyBuffer, which is built with the devices: the queue empty, the strings at their
// defaults, as Init leaves them.

#include "machine/devices/BasicRsrc.h"

void TBasicRsrc::PushToKeyBuf(const char* bytes, long count)
{
    KeyBuffer.Push(bytes, count);
}

std::string TBasicRsrc::PopFromKeyBuf(const std::atomic<bool>* stop, const THostClock* clock)
{
    return KeyBuffer.Pop(clock, stop);
}

std::string TBasicRsrc::PopFromKeyBufWithTimeout(long long timeout, const std::atomic<bool>* stop,
                                                 const THostClock* clock)
{
    return KeyBuffer.PopWithTimeout(timeout, clock, stop);
}

void TBasicRsrc::ClearKeyBuf()
{
    KeyBuffer.Clear();
}

void TBasicRsrc::InitFuncKeyStr()
{
    KeyBuffer.InitFuncKeyStr();
}

std::string TBasicRsrc::FuncKeyStr(int n) const
{
    return KeyBuffer.FuncKeyStr(n);
}

void TBasicRsrc::SetFuncKeyStr(int n, const std::string& text)
{
    KeyBuffer.SetFuncKeyStr(n, text);
}

void TBasicRsrc::PushFuncKeyStr(int n)
{
    KeyBuffer.PushFuncKey(n);
}
