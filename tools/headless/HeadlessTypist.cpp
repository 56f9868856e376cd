#include "tools/headless/HeadlessTypist.h"

#include <charconv>

#include "machine/devices/BasicRsrc.h"
#include "machine/music/MusicClock.h"
#include "machine/music/SimulatedMusicClock.h"
#include "machine/text/TextMeasure.h"

namespace {

// How long typing waits before it looks for room in a full key buffer again.
constexpr int64_t ROOM_POLL_MICROS = 2000;

}  // namespace

int64_t THeadlessTypist::PendingWait() const
{
    if (mNext + 1 >= mKeys.size() || mKeys[mNext] != '\0' || mKeys[mNext + 1] != 'w') return -1;
    const std::size_t end = mKeys.find(';', mNext + 2);
    int64_t millis = 0;
    const char* first = mKeys.data() + mNext + 2;
    const char* last = mKeys.data() + (end == std::string::npos ? mKeys.size() : end);
    if (std::from_chars(first, last, millis).ec != std::errc()) return 0;
    return millis;
}

void THeadlessTypist::PassWait()
{
    const std::size_t end = mKeys.find(';', mNext + 2);
    mNext = end == std::string::npos ? mKeys.size() : end + 1;
}

void THeadlessTypist::TypeInto(TBasicRsrc& rsrc)
{
    while (!Done() && PendingWait() < 0 && rsrc.KeyBuffer.Size() < TKeyBuffer::CAPACITY) {
        const int funcKey = mNext + 1 < mKeys.size() && mKeys[mNext] == '\0' ? mKeys[mNext + 1] : 0;
        if (funcKey >= 1 && funcKey <= TKeyBuffer::FUNC_KEY_COUNT) {
            if (rsrc.KeyBuffer.Size() != 0) return;
            if (mPress) mPress(funcKey);
            mNext += 2;
            continue;
        }
        // One character a key; the buffer drops one it cannot hold whole.
        const std::size_t n = text_measure::utf8_sequence_length(mKeys, mNext);
        rsrc.PushToKeyBuf(mKeys.data() + mNext, static_cast<long>(n));
        mNext += n;
    }
}

void THeadlessTypist::Begin(const TMusicClock& clock, TSimulatedMusicClock* simulated)
{
    mClock = &clock;
    mWaitsFrom = clock.NowMicros();
    if (simulated != nullptr && !Done()) {
        simulated->AddParticipant();
        mSimulated = simulated;
    }
}

void THeadlessTypist::Run(TBasicRsrc& rsrc, const std::function<bool()>& ended)
{
    const TMusicClock& clock = mClock != nullptr ? *mClock : TSystemMusicClock::Instance();
    std::unique_lock<std::mutex> lock(mWaitLock);
    while (!Done() && !ended()) {
        TypeInto(rsrc);
        if (Done()) break;
        int64_t until = clock.NowMicros() + ROOM_POLL_MICROS;
        const int64_t wait = PendingWait();
        if (wait >= 0) {
            until = mWaitsFrom + wait * 1000;
            if (clock.NowMicros() >= until) {
                mWaitsFrom = until;
                PassWait();
                continue;
            }
        }
        clock.WaitUntil(lock, mWaitSignal, until, ended);
    }
    End();
}

void THeadlessTypist::End()
{
    if (mSimulated == nullptr) return;
    mSimulated->RemoveParticipant();
    mSimulated = nullptr;
}
