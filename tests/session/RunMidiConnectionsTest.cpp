// The run view's MIDI connections against an in-memory roster: "CoMO" drives the
// producer's connections at start and on notices, connections made elsewhere update
// and save the list, and a consumer that stops receiving is silenced alone.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Common.h"
#include "platform/FakeMidiRoster.h"
#include "session/AppMessageSink.h"
#include "session/RunMidiConnections.h"
#include "tests/foundation/SettingsTestSupport.h"

namespace {

using platform::FakeMidiRoster;
using platform::Message;
using platform::midi_endpoint_id;

constexpr int32_t kOurs = FakeMidiRoster::kOurProducer;
constexpr int32_t kOtherProducer = midi_endpoint_id(129, 0);
constexpr int32_t kSynthA = midi_endpoint_id(130, 0);
constexpr int32_t kSynthB = midi_endpoint_id(131, 0);
constexpr int32_t kDupLow = midi_endpoint_id(132, 1);
constexpr int32_t kDupHigh = midi_endpoint_id(133, 0);
constexpr int32_t kAnonymous = midi_endpoint_id(134, 0);

using Names = std::vector<std::string>;

class RecordingSink : public TAppMessageSink {
public:
    void Post(const Message& message) override { posted.push_back(message); }
    std::vector<Message> posted;
};

// What a consumer that stops receiving gets: three controls on each channel, value 0.
std::vector<FakeMidiRoster::SentControl> MuteSpray(int32_t consumer)
{
    std::vector<FakeMidiRoster::SentControl> sent;
    for (uint8_t channel = 0; channel < 16; ++channel) {
        for (uint8_t control : {123, 120, 121}) sent.push_back({consumer, channel, control, 0});
    }
    return sent;
}

class RunMidiConnectionsTest : public SettingsDirFixture {
protected:
    void AddConsumers()
    {
        roster.AddConsumer(kSynthA, "Synth A");
        roster.AddConsumer(kSynthB, "Synth B");
        roster.AddConsumer(kDupLow, "Twin");
        roster.AddConsumer(kDupHigh, "Twin");
        roster.AddConsumer(kAnonymous, TRunMidiConnections::kAnonymousName);
        roster.TakeNotices();
    }

    // Starts the view with "CoMO" = `names` and delivers what that caused.
    void Start(const Names& names)
    {
        prefs.SetMidiOutputs(names);
        view.emplace(roster, prefs, sink);
        Deliver();
        sink.posted.clear();
        roster.TakeSent();
    }

    // Hands the roster's notices to the view until none is left, as the run window's
    // loop does (the view's own connections cause notices too).
    void Deliver()
    {
        for (int round = 0; round < 10; ++round) {
            std::vector<Message> notices = roster.TakeNotices();
            if (notices.empty()) return;
            for (const Message& notice : notices) view->MidiEvent(notice);
        }
        FAIL() << "notices did not settle";
    }

    std::set<int32_t> Connected() const
    {
        std::set<int32_t> ids;
        for (const platform::MidiConsumer& consumer : roster.Consumers()) {
            if (roster.IsConnected(consumer.id)) ids.insert(consumer.id);
        }
        return ids;
    }

    Names SavedList() const
    {
        TPrefs saved;
        EXPECT_EQ(saved.LoadFromFile(), platform::kOk);
        return saved.MidiOutputs();
    }

    std::vector<uint32_t> PostedCodes() const
    {
        std::vector<uint32_t> codes;
        for (const Message& message : sink.posted) codes.push_back(message.what);
        return codes;
    }

    FakeMidiRoster roster;
    TPrefs prefs;
    RecordingSink sink;
    std::optional<TRunMidiConnections> view;
};

struct StartCase {
    const char* label;
    Names list;
    std::set<int32_t> connectedBefore;
    std::set<int32_t> connectedAfter;
};

TEST_F(RunMidiConnectionsTest, StartConnectsExactlyTheListedConsumers)
{
    const StartCase cases[] = {
        {"empty list", {}, {kSynthA, kSynthB, kDupHigh}, {}},
        {"one name", {"Synth B"}, {kSynthA}, {kSynthB}},
        {"two names", {"Synth A", "Synth B"}, {}, {kSynthA, kSynthB}},
        {"a name two consumers bear", {"Twin"}, {}, {kDupLow}},
        {"a name no consumer bears", {"Gone"}, {kSynthA}, {}},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.label);
        roster = FakeMidiRoster();
        AddConsumers();
        for (int32_t id : c.connectedBefore) roster.Connect(id);
        Start(c.list);
        EXPECT_EQ(Connected(), c.connectedAfter);
        EXPECT_EQ(view->ProducerConnections(), static_cast<int32_t>(c.connectedAfter.size()));
        // Names without a consumer stay; nothing outside the list was added.
        EXPECT_EQ(prefs.MidiOutputs(), c.list);
    }
}

TEST_F(RunMidiConnectionsTest, OutsideConnectionAppendsTheNameSavesAndUpdatesTheMenu)
{
    AddConsumers();
    Start({"Synth A"});

    ASSERT_TRUE(roster.ConnectFrom(kOurs, kSynthB));
    Deliver();

    EXPECT_EQ(prefs.MidiOutputs(), (Names{"Synth A", "Synth B"}));
    EXPECT_EQ(SavedList(), (Names{"Synth A", "Synth B"}));
    ASSERT_EQ(sink.posted.size(), 1u);
    EXPECT_EQ(sink.posted[0].what, kUpdateMenuMidiOutRqtd);
    int32_t id = -1;
    EXPECT_EQ(sink.posted[0].FindInt32("be:id", &id), platform::kOk);
    EXPECT_EQ(id, kSynthB);
    EXPECT_EQ(view->ProducerConnections(), 2);
    EXPECT_TRUE(roster.TakeSent().empty());
}

TEST_F(RunMidiConnectionsTest, OutsideDisconnectionSilencesThatConsumerOnlyThenDropsTheName)
{
    AddConsumers();
    Start({"Synth A", "Synth B"});

    ASSERT_TRUE(roster.DisconnectFrom(kOurs, kSynthB));
    Deliver();

    EXPECT_EQ(roster.TakeSent(), MuteSpray(kSynthB));
    EXPECT_EQ(prefs.MidiOutputs(), Names{"Synth A"});
    EXPECT_EQ(SavedList(), Names{"Synth A"});
    EXPECT_EQ(PostedCodes(), std::vector<uint32_t>{kUpdateMenuMidiOutRqtd});
    EXPECT_EQ(Connected(), std::set<int32_t>{kSynthA});
    EXPECT_EQ(view->ProducerConnections(), 1);
}

TEST_F(RunMidiConnectionsTest, AnonymousConsumerNeverEntersTheList)
{
    AddConsumers();
    Start({});

    ASSERT_TRUE(roster.ConnectFrom(kOurs, kAnonymous));
    Deliver();

    EXPECT_TRUE(prefs.MidiOutputs().empty());
    EXPECT_TRUE(SavedList().empty());
    EXPECT_TRUE(roster.IsConnected(kAnonymous));
}

TEST_F(RunMidiConnectionsTest, ConnectedConsumerOfASharedNameKeepsTheName)
{
    AddConsumers();
    Start({"Twin"});
    ASSERT_EQ(Connected(), std::set<int32_t>{kDupLow});

    // Bringing the list in line visits the second, unconnected "Twin" too.
    ASSERT_TRUE(roster.ConnectFrom(kOurs, kSynthA));
    Deliver();
    EXPECT_EQ(prefs.MidiOutputs(), (Names{"Twin", "Synth A"}));
    EXPECT_EQ(SavedList(), (Names{"Twin", "Synth A"}));

    // Now the other way round: the second one connected, the first not.
    ASSERT_TRUE(roster.ConnectFrom(kOurs, kDupHigh));
    ASSERT_TRUE(roster.DisconnectFrom(kOurs, kDupLow));
    Deliver();
    EXPECT_EQ(prefs.MidiOutputs(), (Names{"Twin", "Synth A"}));

    // With neither connected the name goes.
    ASSERT_TRUE(roster.DisconnectFrom(kOurs, kDupHigh));
    Deliver();
    EXPECT_EQ(prefs.MidiOutputs(), Names{"Synth A"});
    EXPECT_EQ(SavedList(), Names{"Synth A"});
}

TEST_F(RunMidiConnectionsTest, ListedConsumerThatAppearsLaterIsConnected)
{
    struct Case {
        const char* label;
        std::function<void(FakeMidiRoster&)> appear;
    };
    const Case cases[] = {
        {"registers", [](FakeMidiRoster& r) { r.AddConsumer(kSynthB, "Late"); }},
        {"is renamed", [](FakeMidiRoster& r) { r.RenameConsumer(kSynthA, "Late"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        roster = FakeMidiRoster();
        roster.AddConsumer(kSynthA, "Early");
        roster.TakeNotices();
        Start({"Late"});
        ASSERT_TRUE(Connected().empty());

        c.appear(roster);
        std::vector<Message> notices = roster.TakeNotices();
        ASSERT_EQ(notices.size(), 1u);
        view->MidiEvent(notices[0]);

        ASSERT_EQ(Connected().size(), 1u);
        EXPECT_EQ(view->ConsumerID("Late"), *Connected().begin());
        EXPECT_EQ(PostedCodes(), std::vector<uint32_t>{kRecreateMenuMidiOutRqtd});
        EXPECT_EQ(view->ProducerConnections(), 1);
        EXPECT_EQ(prefs.MidiOutputs(), Names{"Late"});
    }
}

Message Notice(std::optional<int32_t> op, std::optional<int32_t> producer, std::optional<int32_t> consumer)
{
    Message notice(platform::kMidiRosterNotice);
    if (op) notice.AddInt32("be:op", *op);
    if (producer) notice.AddInt32("be:producer", *producer);
    if (consumer) notice.AddInt32("be:consumer", *consumer);
    return notice;
}

TEST_F(RunMidiConnectionsTest, NoticesNotAboutOurConnectionsChangeNothing)
{
    struct Case {
        const char* label;
        Message notice;
    };
    const Case cases[] = {
        {"another producer connected", Notice(3, kOtherProducer, kSynthB)},
        {"another producer disconnected", Notice(4, kOtherProducer, kSynthA)},
        {"a pair without its producer", Notice(4, std::nullopt, kSynthA)},
        {"a pair without its consumer", Notice(4, kOurs, std::nullopt)},
        {"no kind", Notice(std::nullopt, kOurs, kSynthA)},
        {"an unknown kind", Notice(6, kOurs, kSynthA)},
        {"a kind out of range", Notice(-1, kOurs, kSynthA)},
    };
    AddConsumers();
    Start({"Synth A"});
    roster.ConnectFrom(kOtherProducer, kSynthA);
    roster.ConnectFrom(kOurs, kSynthB);  // made elsewhere, its notice never delivered
    roster.TakeNotices();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        view->MidiEvent(c.notice);
        EXPECT_EQ(prefs.MidiOutputs(), Names{"Synth A"});
        EXPECT_EQ(Connected(), (std::set<int32_t>{kSynthA, kSynthB}));
        EXPECT_TRUE(roster.TakeSent().empty());
        EXPECT_TRUE(sink.posted.empty());
        EXPECT_TRUE(roster.TakeNotices().empty());
    }
}

TEST_F(RunMidiConnectionsTest, UnregisteredConsumerRebuildsTheMenu)
{
    AddConsumers();
    Start({"Synth A"});

    roster.RemoveConsumer(kSynthA);
    Deliver();
    EXPECT_EQ(PostedCodes(), std::vector<uint32_t>{kRecreateMenuMidiOutRqtd});
    EXPECT_EQ(view->ProducerConnections(), 0);
    // The name stays for the consumer's return.
    EXPECT_EQ(prefs.MidiOutputs(), Names{"Synth A"});

    // A notice that names a consumer still there silences it.
    sink.posted.clear();
    view->MidiEvent(Notice(2, std::nullopt, kSynthB));
    EXPECT_EQ(roster.TakeSent(), MuteSpray(kSynthB));
    EXPECT_EQ(PostedCodes(), std::vector<uint32_t>{kRecreateMenuMidiOutRqtd});
}

TEST_F(RunMidiConnectionsTest, PreferenceChangeReconnectsAndSilencesOnlyARemovedConsumer)
{
    struct Case {
        const char* label;
        std::optional<int32_t> id;
        std::optional<bool> removed;
        bool silenced;
    };
    const Case cases[] = {
        {"no fields", std::nullopt, std::nullopt, false},
        {"id, not removed", kSynthA, false, false},
        {"id without the flag", kSynthA, std::nullopt, false},
        {"flag without an id", std::nullopt, true, false},
        {"id removed", kSynthA, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        roster = FakeMidiRoster();
        AddConsumers();
        Start({"Synth A"});

        prefs.SetMidiOutputs({"Synth B"});
        Message message(kPrefMidiOutChanged);
        if (c.id) message.AddInt32("be:id", *c.id);
        if (c.removed) message.AddBool("MODis", *c.removed);
        view->PrefMidiOutChanged(message);

        EXPECT_EQ(Connected(), std::set<int32_t>{kSynthB});
        EXPECT_EQ(view->ProducerConnections(), 1);
        EXPECT_EQ(roster.TakeSent(), c.silenced ? MuteSpray(kSynthA) : std::vector<FakeMidiRoster::SentControl>{});
        EXPECT_TRUE(sink.posted.empty());
    }
}

TEST_F(RunMidiConnectionsTest, ConnectionCountIsReadableFromAnotherThread)
{
    AddConsumers();
    Start({});
    std::atomic<bool> done{false};
    std::atomic<int32_t> highest{0};
    std::thread machine([&] {
        while (!done.load()) {
            const int32_t count = view->ProducerConnections();
            if (count > highest.load()) highest.store(count);
            std::this_thread::yield();
        }
    });
    for (const char* name : {"Synth A", "Synth B"}) {
        ASSERT_TRUE(roster.ConnectFrom(kOurs, view->ConsumerID(name)));
        Deliver();
    }
    done.store(true);
    machine.join();
    EXPECT_EQ(view->ProducerConnections(), 2);
    EXPECT_LE(highest.load(), 2);
}

}  // namespace
