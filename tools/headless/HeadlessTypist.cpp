#include "tools/headless/HeadlessTypist.h"

#include <chrono>
#include <thread>

#include "machine/BasicRsrc.h"
#include "machine/TextMeasure.h"

void THeadlessTypist::TypeInto(TBasicRsrc& rsrc) {
    while (!Done() && rsrc.KeyBuffer.Size() < TKeyBuffer::CAPACITY) {
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
