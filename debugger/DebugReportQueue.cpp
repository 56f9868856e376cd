#include "debugger/DebugReportQueue.h"

#include "debugger/DebugProtocol.h"

TDebugNotes& TDebugReportQueue::OpenNotes(int64_t run)
{
    if (!mNotesOpen || mReports.back().Notes.Run != run) {
        mReports.emplace_back();
        mReports.back().Notes.Run = run;
        mNotesOpen = true;
    }
    return mReports.back().Notes;
}

bool TDebugReportQueue::Note(const platform::Message& message)
{
    const uint32_t what = message.what;
    if (what != debug_msg::CurLine && what != debug_msg::CallAdded && what != debug_msg::CallRemoved &&
        what != debug_msg::VarsUpdated)
        return false;
    int64_t run = 0;
    message.FindInt64(debug_msg::Run, &run);
    int32_t line = 0;
    const bool hasLine = message.FindInt32(debug_msg::LineNum, &line) == platform::kOk;
    std::lock_guard lock(mLock);
    TDebugNotes& notes = OpenNotes(run);
    switch (what) {
    case debug_msg::CurLine:
        if (hasLine) notes.Line = line;
        break;
    case debug_msg::CallAdded:
        if (hasLine) notes.Calls.push_back(line);
        break;
    case debug_msg::CallRemoved:
        if (!notes.Calls.empty())
            notes.Calls.pop_back();
        else
            ++notes.Returns;
        break;
    default:
        debug_msg::for_each_value(message, [&](const std::string& name, int32_t element, std::string value) {
            notes.Values[{name, element}] = std::move(value);
        });
        break;
    }
    return true;
}

void TDebugReportQueue::Add(const platform::Message& message)
{
    std::lock_guard lock(mLock);
    TDebugReport report;
    report.Posted = true;
    report.Message = message;
    mReports.push_back(std::move(report));
    mNotesOpen = false;
}

std::vector<TDebugReport> TDebugReportQueue::Take()
{
    std::lock_guard lock(mLock);
    std::vector<TDebugReport> taken;
    taken.swap(mReports);
    mNotesOpen = false;
    return taken;
}
