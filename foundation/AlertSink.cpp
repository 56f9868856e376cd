#include "foundation/AlertSink.h"

TAlertSink::~TAlertSink() = default;

void TRecordingAlertSink::ShowAlert(const std::string& text)
{
    std::lock_guard<std::mutex> guard(mLock);
    mAlerts.push_back(text);
}

std::vector<std::string> TRecordingAlertSink::Alerts() const
{
    std::lock_guard<std::mutex> guard(mLock);
    return mAlerts;
}

std::size_t TRecordingAlertSink::Count() const
{
    std::lock_guard<std::mutex> guard(mLock);
    return mAlerts.size();
}

std::string TRecordingAlertSink::Last() const
{
    std::lock_guard<std::mutex> guard(mLock);
    return mAlerts.empty() ? std::string() : mAlerts.back();
}

void TRecordingAlertSink::Clear()
{
    std::lock_guard<std::mutex> guard(mLock);
    mAlerts.clear();
}
