#pragma once
// The preferences dialog under test: a window on a fake MIDI roster and a fixed list
// of font families, its notices recorded, gPrefs at its defaults and the settings
// folder a throw-away one. The font notices wait on a manual clock: their pause ends
// when a test moves the clock on, never on its own.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "SettingsTestSupport.h"
#include "foundation/Common.h"
#include "foundation/MidiOutMessages.h"
#include "foundation/PrefsMessages.h"
#include "platform/FakeMidiRoster.h"
#include "platform/TimerClock.h"
#include "ui/prefsdialog/PrefsWindow.h"

namespace prefs_testing {

using platform::fourcc;
using platform::Message;

// Records what the dialog sends to the application.
class RecordingSink : public TAppMessageSink {
public:
    void Post(const Message& message) override
    {
        std::lock_guard lock(mMutex);
        mMessages.push_back(message);
    }
    std::vector<Message> Messages() const
    {
        std::lock_guard lock(mMutex);
        return mMessages;
    }
    std::vector<uint32_t> Codes() const
    {
        std::vector<uint32_t> codes;
        for (const Message& m : Messages()) codes.push_back(m.what);
        return codes;
    }
    int Count(uint32_t what) const
    {
        std::vector<uint32_t> codes = Codes();
        return static_cast<int>(std::count(codes.begin(), codes.end(), what));
    }
    void Clear()
    {
        std::lock_guard lock(mMutex);
        mMessages.clear();
    }

private:
    mutable std::mutex mMutex;
    std::vector<Message> mMessages;
};

// Counts the markers that reach it through the window's queue: once one arrives,
// everything posted before it has been handled.
class QueueMarker : public platform::Handler {
public:
    QueueMarker() : platform::Handler("QueueMarker") {}
    ~QueueMarker() override
    {
        if (platform::Looper* looper = GetLooper()) looper->RemoveHandler(this);
    }
    void MessageReceived(Message*) override { ++mSeen; }
    int Seen() const { return mSeen; }

private:
    int mSeen = 0;
};

inline const QStringList kFamilies = {QStringLiteral("Alpha Sans"), QStringLiteral("Beta Mono"),
                                      QStringLiteral("Zado Vereru")};

class PrefsDialogFixture : public SettingsDirFixture {
protected:
    void SetUp() override
    {
        SettingsDirFixture::SetUp();
        gPrefs = TPrefs();
        roster.AddConsumer(platform::midi_endpoint_id(20, 0), "Synth A");
        roster.AddConsumer(platform::midi_endpoint_id(21, 0), "Synth B");
    }
    void TearDown() override
    {
        window.reset();
        gPrefs = TPrefs();
        SettingsDirFixture::TearDown();
    }

    // Makes and shows the dialog, lets the first showing of the values run its
    // course and forgets the notices it sent.
    void Open(QStringList families = kFamilies)
    {
        TPrefsServices services;
        services.sink = &sink;
        services.roster = &roster;
        services.fontFamilies = [families] { return families; };
        services.clock = &clock;
        window = std::make_unique<TPrefsWindow>(platform::Rect{40, 40, 100, 100}, services);
        view = window->View();
        window->AddHandler(&marker);
        window->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        SettleNotices();
        sink.Clear();
    }

    // Waits until every message posted to the window so far, and those their handlers
    // posted in turn, has been handled.
    void Settle()
    {
        for (int round = 0; round < 3; ++round) {
            const int expected = marker.Seen() + 1;
            window->PostMessage(Message(fourcc("mark")), &marker);
            ASSERT_TRUE(QTest::qWaitFor([&] { return marker.Seen() >= expected; }, 5000));
        }
    }
    // Settle, then let the pause of the delayed notices pass and wait for them.
    void SettleNotices()
    {
        Settle();
        clock.Advance(kPrefsFontNoticeDelay);
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->CountPendingNotices() == 0; }, 5000));
        Settle();
    }

    template <typename T>
    T* Find(const char* name) const
    {
        return qobject_cast<T*>(view->Control(name));
    }
    // Types a text into a number field as a user replaces its contents.
    void SetText(const char* field, const QString& text)
    {
        Find<QLineEdit>(field)->setText(text);
        Settle();
    }
    void Click(const char* name)
    {
        Find<QAbstractButton>(name)->click();
        Settle();
    }
    // Picks the item at `index` of a pop-up list as the user does.
    void Choose(const char* name, int index)
    {
        auto* field = Find<QComboBox>(name);
        field->setCurrentIndex(index);
        emit field->activated(index);
        Settle();
    }
    QAction* MidiItem(const QString& label) const
    {
        for (QAction* item : view->MidiOutMenu()->actions())
            if (item->text() == label) return item;
        return nullptr;
    }

    platform::ManualTimerClock clock;  // outlives the window
    RecordingSink sink;
    platform::FakeMidiRoster roster;
    QueueMarker marker;
    std::unique_ptr<TPrefsWindow> window;
    TPrefsView* view = nullptr;
};

// The seven notices that tell what Cancel and Defaults changed.
inline const uint32_t kDifferenceNotices[] = {
    kPrefsMainFontChanged, kPrefsRunFontChanged, kPrefsDebugFontChanged,   kPrefsDefaultEncodingChanged,
    kPrefsWordWrapChanged, kPrefMidiOutChanged,  kPrefsSpeedControlChanged};

}  // namespace prefs_testing
