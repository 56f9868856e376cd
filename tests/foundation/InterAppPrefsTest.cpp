#include "foundation/InterAppPrefs.h"

#include <gtest/gtest.h>

namespace {

class TextItem : public TIAPItem {
public:
    TextItem(const std::string& name, bool* destroyed) : TIAPItem(name), mDestroyed(destroyed) {}
    ~TextItem() override { *mDestroyed = true; }
    int32_t GetString(std::string* value, bool defaultValue) const override {
        *value = defaultValue ? "default" : mValue;
        return 0;
    }
    int32_t SetValue(const platform::Message& message) override {
        return message.FindString(Name(), &mValue) == platform::kOk ? 0 : -1;
    }

private:
    std::string mValue = "current";
    bool* mDestroyed;
};

}  // namespace

TEST(InterAppPrefsTest, EmptyRegistryAnswersMinusOne) {
    TInterAppPrefs registry;
    std::string value = "untouched";
    EXPECT_EQ(registry.GetString("AccKeyFormat2", &value), -1);
    EXPECT_EQ(value, "untouched");
    bool flag = true;
    EXPECT_EQ(registry.GetBool("FlatToolBar", &flag), -1);
    EXPECT_EQ(registry.AppSignatureRef(), nullptr);
    EXPECT_FALSE(registry.WindowOpened());
}

TEST(InterAppPrefsTest, ItemsAreFoundByNameSignedAndDeletedWithTheRegistry) {
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
