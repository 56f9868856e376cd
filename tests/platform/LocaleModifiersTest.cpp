#include <gtest/gtest.h>

#include "platform/Locale.h"
#include "platform/Modifiers.h"

using namespace platform;

TEST(PlatformLocale, LookUpAndPlaceholders)
{
    use_key_identity_catalogue(false);
    EXPECT_EQ(get_string("Creating windows"), "Creating windows");  // a key without entry gives itself
    EXPECT_EQ(get_string("$FileNameHelp$"), "$FileNameHelp$");      // the caller supplies the default
    EXPECT_NE(get_string("@Runtime_Err_Div_By_Zero@"), "@Runtime_Err_Div_By_Zero@");

    static const CatalogueText texts[] = {{"@Test_Key %Num%@", "Line %Num% of %Num%"}};
    add_catalogue_texts(texts);
    EXPECT_EQ(replace_placeholder(get_string("@Test_Key %Num%@"), "%Num%", "20"), "Line 20 of 20");

    use_key_identity_catalogue(true);
    EXPECT_EQ(get_string("@Test_Key %Num%@"), "@Test_Key %Num%@");
    use_key_identity_catalogue(false);
}

TEST(PlatformLocale, ReplacePlaceholder)
{
    struct Case {
        const char* text;
        const char* placeholder;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"* %AppName% *", "%AppName%", "Kivo-BASIC", "* Kivo-BASIC *"},
        {"FDD%Num%", "%Num%", "1", "FDD1"},
        {"no placeholder", "%Num%", "1", "no placeholder"},
        {"%Num%%Num%", "%Num%", "%Num%", "%Num%%Num%"},  // a value holding the placeholder is not replaced again
        {"text", "", "x", "text"},
    };
    for (const Case& c : cases) EXPECT_EQ(replace_placeholder(c.text, c.placeholder, c.value), c.expected) << c.text;
}

TEST(PlatformModifiers, HeadlessHoldsNoneAnInstalledReaderIsAsked)
{
    set_modifier_reader(nullptr);
    EXPECT_EQ(modifiers(), 0u);
    set_modifier_reader([] { return kShiftKey | kOptionKey; });
    EXPECT_EQ(modifiers(), kShiftKey | kOptionKey);
    set_modifier_reader(nullptr);
    EXPECT_EQ(modifiers(), 0u);
}
