#include "machine/host/HeadlessHost.h"

#include <chrono>
#include <thread>

void THeadlessScreenUpdates::ScreenUpdateRqtd(const TScreenRect& area)
{
    std::lock_guard<std::mutex> lock(mLock);
    mArea.Include(area);
    ++mCount;
}

TScreenRect THeadlessScreenUpdates::Requested() const
{
    std::lock_guard<std::mutex> lock(mLock);
    return mArea;
}

void TRecordingRunRequests::VMachineRunRqtd(const TRunRequest& request)
{
    std::lock_guard<std::mutex> lock(mLock);
    mRequests.push_back(request);
}

std::vector<TRunRequest> TRecordingRunRequests::Requests() const
{
    std::lock_guard<std::mutex> lock(mLock);
    return mRequests;
}

long THeadlessOnTimeTimer::SetOnTimeDl(const char* time)
{
    int h, m, s;
    if (!parse_on_time_text(time, h, m, s)) return -1;
    std::lock_guard<std::mutex> lock(mLock);
    mArmed = time;
    return 0;
}

std::string THeadlessOnTimeTimer::Armed() const
{
    std::lock_guard<std::mutex> lock(mLock);
    return mArmed;
}

void THeadlessDriveLamps::SetFDDAccessLampRqtd(int drvFolderIdx, int delta)
{
    if (drvFolderIdx >= 0 && drvFolderIdx < 14) mLamps[drvFolderIdx] += delta;
}

int THeadlessDriveLamps::Lamp(int drvFolderIdx) const
{
    return drvFolderIdx >= 0 && drvFolderIdx < 14 ? mLamps[drvFolderIdx].load() : 0;
}

bool TNoGlyphs::GlyphRows(const std::string&, uint16_t rows[16]) const
{
    for (int i = 0; i < 16; ++i) rows[i] = 0;
    return false;
}

int64_t TSystemClock::NowMicros() const
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void TSystemClock::SleepMicros(int64_t micros) const
{
    if (micros > 0) std::this_thread::sleep_for(std::chrono::microseconds(micros));
}
