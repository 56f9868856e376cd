#include "tools/headless/HeadlessTypist.h"

#include <chrono>
#include <thread>

#include "machine/BasicRsrc.h"
#include "machine/TextMeasure.h"

void THeadlessTypist::TypeInto(TBasicRsrc& rsrc) {
    while (!Done() && rsrc.KeyBuffer.Size() < TKeyBuffer::CAPACITY) {
        const int funcKey = mNext + 1 < mKeys.size() && mKeys[mNext] == '\0' ? mKeys[mNext + 1] : 0;
        if (funcKey >= 1 && funcKey <= TKeyBuffer::FUNC_KEY_COUNT) {
            if (rsrc.KeyBuffer.Size() != 0) return;
            rsrc.PushFuncKeyStr(funcKey);
            if (mRaise) mRaise(0x40L << (funcKey - 1));
            mNext += 2;
            continue;
        }
        std::size_t n = text_measure::utf8_sequence_length(mKeys, mNext);
        if (n > static_cast<std::size_t>(TKeyBuffer::MAX_KEY_BYTES)) n = 1;
        rsrc.PushToKeyBuf(mKeys.data() + mNext, static_cast<long>(n));
        mNext += n;
    }
}

void THeadlessTypist::Run(TBasicRsrc& rsrc, const std::function<bool()>& ended) {
    while (!Done() && !ended()) {
        TypeInto(rsrc);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
