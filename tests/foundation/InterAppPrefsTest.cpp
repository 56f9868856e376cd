#include "foundation/InterAppPrefs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "IAPTestSupport.h"
#include "SettingsTestSupport.h"
#include "foundation/IAPConfigView.h"
#include "foundation/IAPItemAccKeyFormat.h"
#include "foundation/IAPItemFlatToolBar.h"

namespace {

class TextItem : public TIAPItem {
public:
    TextItem(const std::string& name, bool* destroyed) : TIAPItem(name), mDestroyed(destroyed) {}
    ~TextItem() override { *mDestroyed = true; }
    int32_t GetString(std::string* value, bool defaultValue) const override
    {
        *value = defaultValue ? "default" : mValue;
        return 0;
    }
    int32_t SetValue(const platform::Message& message) override
    {
        return message.FindString(Name(), &mValue) == platform::kOk ? 0 : -1;
    }

private:
    std::string mValue = "current";
    bool* mDestroyed;
};

}  // namespace

TEST(InterAppPrefsTest, EmptyRegistryAnswersMinusOne)
{
    TInterAppPrefs registry;
    std::string value = "untouched";
    EXPECT_EQ(registry.GetString("AccKeyFormat2", &value), -1);
    EXPECT_EQ(value, "untouched");
    bool flag = true;
    EXPECT_EQ(registry.GetBool("FlatToolBar", &flag), -1);
    EXPECT_EQ(registry.AppSignatureRef(), nullptr);
    EXPECT_FALSE(registry.WindowOpened());
}

TEST(InterAppPrefsTest, ItemsAreFoundByNameSignedAndDeletedWithTheRegistry)
{
    bool destroyed = false;
    {
        TInterAppPrefs registry;
        auto* item = new TextItem("AccKeyFormat2", &destroyed);
        registry.AddItem(item);
        static const char kSignature[] = "application/x-vnd.TAVREN-KivoBASIC";
        registry.SetAppSignatureRef(kSignature);
        EXPECT_EQ(item->AppSignatureRef(), kSignature);

        std::string value;
        EXPECT_EQ(registry.GetString("AccKeyFormat2", &value), 0);
        EXPECT_EQ(value, "current");
        bool flag = false;
        EXPECT_EQ(registry.GetBool("AccKeyFormat2", &flag), -1);  // not a yes-or-no item
        EXPECT_EQ(registry.GetString("acckeyformat2", &value), -1);

        platform::Message notice(platform::fourcc("_ipc"));
        notice.AddString("IAP:SrcIAPItem", "AccKeyFormat2");
        notice.AddString("AccKeyFormat2", "(&%c)");
        EXPECT_EQ(registry.SetValue(notice), 0);
        registry.GetString("AccKeyFormat2", &value);
        EXPECT_EQ(value, "(&%c)");
        platform::Message other(platform::fourcc("_ipc"));
        other.AddString("IAP:SrcIAPItem", "SomeoneElsesItem");
        EXPECT_EQ(registry.SetValue(other), -1);
        EXPECT_FALSE(destroyed);
    }
    EXPECT_TRUE(destroyed);
}

namespace {

constexpr const char* kSignature = "application/x-vnd.TAVREN-KivoBASIC";

// A registry set up as the application does it, in a settings folder of its own.
class RegistryFixture : public SettingsDirFixture {
protected:
    void SetUp() override
    {
        SettingsDirFixture::SetUp();
        registry.SetAppSignatureRef(kSignature);
        registry.AddItem(new TIAPItemAccKeyFormat);
        registry.AddItem(new TIAPItemFlatToolBar);
    }
    static platform::Message Notice(const char* item)
    {
        platform::Message notice(platform::fourcc("_ipc"));
        notice.AddString("IAP:SrcApp", kSignature);
        notice.AddString("IAP:SrcIAPItem", item);
        return notice;
    }
    TInterAppPrefs registry;
};

}  // namespace

TEST_F(RegistryFixture, EachItemAnswersOnlyForItsOwnValueType)
{
    bool flag = false;
    std::string text = "untouched";
    EXPECT_EQ(registry.GetBool("AccKeyFormat2", &flag), -1);
    EXPECT_EQ(registry.GetString("FlatToolBar", &text), -1);
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(registry.GetBool("FlatToolBar", &flag), 0);
    EXPECT_TRUE(flag);
    EXPECT_EQ(registry.GetString("AccKeyFormat2", &text), 0);
    EXPECT_EQ(text, kDefaultAccKeyFormat);
}

TEST_F(RegistryFixture, ObserversHearOfTheNoticesThatItemsTake)
{
    LoggingLooper observer;
    registry.AddObserver(platform::Messenger(&observer.log));

    platform::Message noValue = Notice("FlatToolBar");
    platform::Message unknown = Notice("SomeoneElsesItem");
    unknown.AddBool("SomeoneElsesItem", true);
    platform::Message noItem(platform::fourcc("_ipc"));
    noItem.AddBool("FlatToolBar", false);
    EXPECT_EQ(registry.SetValue(noValue), -1);
    EXPECT_EQ(registry.SetValue(unknown), -1);
    EXPECT_EQ(registry.SetValue(noItem), -1);
    observer.Settle();
    EXPECT_EQ(observer.log.Codes(), std::vector<uint32_t>{platform::fourcc("mark")}) << "no notice for rejected ones";

    platform::Message taken = Notice("FlatToolBar");
    taken.AddBool("FlatToolBar", false);
    EXPECT_EQ(registry.SetValue(taken), 0);
    observer.Settle();
    std::vector<platform::Message> seen = observer.log.Messages();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1].what, platform::fourcc("_ipc"));
    bool flat = true;
    EXPECT_EQ(registry.GetBool("FlatToolBar", &flat), 0);
    EXPECT_FALSE(flat);
}

TEST_F(RegistryFixture, TheComponentSetHoldsCurrentCurrentAndDefaultOfEachItemInNameOrder)
{
    registry.SetString("AccKeyFormat2", "\x01"
                                        "a) ");
    platform::Message components = registry.MakeComponents();
    EXPECT_EQ(components.what, platform::fourcc("iacr"));
    EXPECT_EQ(components.FieldNames(), (std::vector<std::string>{"AccKeyFormat2", "FlatToolBar"}));
    uint32_t type;
    int32_t count;
    ASSERT_EQ(components.GetInfo("AccKeyFormat2", &type, &count), platform::kOk);
    ASSERT_EQ(count, 3);
    const std::string expected[3] = {"\x01"
                                     "a) ",
                                     "\x01"
                                     "a) ",
                                     kDefaultAccKeyFormat};
    for (int32_t i = 0; i < 3; ++i) {
        platform::Message component;
        ASSERT_EQ(components.FindMessage("AccKeyFormat2", i, &component), platform::kOk);
        EXPECT_EQ(component.what, platform::fourcc("_ipc"));
        TIAPConfigView view;
        EXPECT_TRUE(read_config_view(component, &view));
        EXPECT_EQ(view.name, "AccKeyFormat2");
        std::string format, item;
        component.FindString("AccKeyFormat2", &format);
        component.FindString("IAP:SrcIAPItem", &item);
        EXPECT_EQ(format, expected[i]) << i;
        EXPECT_EQ(item, "AccKeyFormat2");
    }

    TInterAppPrefs empty;
    platform::Message none = empty.MakeComponents();
    EXPECT_EQ(none.what, platform::fourcc("iacr"));
    EXPECT_TRUE(none.IsEmpty());
}

TEST_F(RegistryFixture, AnItemWithoutAConfigurationViewOffersNoComponent)
{
    bool destroyed = false;
    registry.AddItem(new TextItem("Plain", &destroyed));
    EXPECT_EQ(registry.MakeComponents().FieldNames(), (std::vector<std::string>{"AccKeyFormat2", "FlatToolBar"}));
}

// Readers on other threads while notices are applied; run under the thread sanitizer.
TEST_F(RegistryFixture, ValuesAreReadWhileNoticesChangeThem)
{
    const std::string formats[2] = {kDefaultAccKeyFormat, "\x01"
                                                          "a - "};
    std::atomic<bool> stop{false};
    std::atomic<int> strange{0};
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r)
        readers.emplace_back([&] {
            while (!stop.load()) {
                std::string format;
                bool flat;
                registry.GetString("AccKeyFormat2", &format);
                registry.GetBool("FlatToolBar", &flat);
                if (format != formats[0] && format != formats[1]) ++strange;
            }
        });
    for (int i = 0; i < 100; ++i) {
        platform::Message notice = Notice("AccKeyFormat2");
        notice.RemoveName("IAP:SrcApp");  // no file writes, only the values
        notice.AddString("AccKeyFormat2", formats[i % 2]);
        registry.SetValue(notice);
        platform::Message flat = Notice("FlatToolBar");
        flat.AddBool("FlatToolBar", i % 2 == 0);
        registry.SetValue(flat);
    }
    stop = true;
    for (std::thread& reader : readers) reader.join();
    EXPECT_EQ(strange.load(), 0);
}
