#include "ui/widgets/TAVRENAbout.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "foundation/AppVersion.h"
#include "platform/Locale.h"
#include "platform/SystemMessages.h"

namespace {

void Pump()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

TSimpleAboutView* SimpleView(TTAVRENAboutWindow& window)
{
    return dynamic_cast<TSimpleAboutView*>(window.View());
}

// The application's About box, as the application sets it up.
struct AboutBox : ::testing::Test {
    AboutBox() : window(platform::Rect{50, 60, 51, 61})
    {
        window.SetAppInfo("Kivo-BASIC", gAppVer);
        window.SetTranslatorInfo("%LangNameInNative% translation by %TranslatorName%");
    }
    TTAVRENAboutWindow window;
};

}  // namespace

TEST_F(AboutBox, Is320By243WithTheOKButtonCentredBelowTheInformation)
{
    EXPECT_EQ(window.Bounds(), (platform::Rect{0, 0, 320, 243}));
    EXPECT_EQ(window.pos(), QPoint(50, 60));
    QPushButton* ok = SimpleView(window)->OKButton();
    EXPECT_EQ(ok->geometry(), QRect(QPoint(120, 211), QPoint(200, 233)));
    EXPECT_TRUE(ok->isDefault());
}

TEST_F(AboutBox, ShowsNameVersionAndTranslatorLine)
{
    TAppInfoView* info = SimpleView(window)->Info();
    EXPECT_EQ(info->NameLine()->text(), "Kivo-BASIC");
    EXPECT_EQ(info->VersionLine()->text(), QString::fromLatin1(gAppVer));
    EXPECT_EQ(info->TranslatorLine()->text(), "English translation by TAVREN");
    EXPECT_EQ(window.windowTitle(), "About Kivo-BASIC");
}

TEST(AboutTranslator, ALocaleWithBothKeysReplacesBothPlaceholders)
{
    static const platform::CatalogueText texts[] = {
        {"$TranslatorName$", "Hanako"},
        {"$LangNameInNative$", "Nihongo"},
    };
    platform::add_catalogue_texts(texts);
    TAppInfoView info(platform::Rect{0, 0, 1, 1});
    info.SetTranslatorInfo("%LangNameInNative% translation by %TranslatorName%");
    EXPECT_EQ(info.TranslatorLine()->text(), "Nihongo translation by Hanako");
    static const platform::CatalogueText restored[] = {
        {"$TranslatorName$", "$TranslatorName$"},
        {"$LangNameInNative$", "$LangNameInNative$"},
    };
    platform::add_catalogue_texts(restored);
}

TEST_F(AboutBox, OkCancelAndTheCloseBoxOnlyHide)
{
    struct Case {
        const char* how;
        std::function<void()> close;
    };
    const Case cases[] = {
        {"OK button", [this] { SimpleView(window)->OKButton()->click(); }},
        {"'_cnc'", [this] { platform::Messenger(window.View()).SendMessage(kCancelMessage); }},
        {"close box", [this] { window.close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        window.Appear();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        c.close();
        Pump();
        EXPECT_TRUE(window.isHidden());
    }
    window.Appear();
    EXPECT_FALSE(window.isHidden());
}

TEST_F(AboutBox, ALanguageChangeRefillsTheLines)
{
    TAppInfoView* info = SimpleView(window)->Info();
    info->NameLine()->clear();
    info->TranslatorLine()->clear();
    window.PostMessage(platform::kLanguageChangedMessage);
    Pump();
    EXPECT_EQ(info->NameLine()->text(), "Kivo-BASIC");
    EXPECT_EQ(info->TranslatorLine()->text(), "English translation by TAVREN");
}
