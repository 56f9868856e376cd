#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "SettingsTestSupport.h"
#include "foundation/IAPConfigView.h"
#include "foundation/IAPItemAccKeyFormat.h"
#include "foundation/IAPItemFlatToolBar.h"

namespace {

constexpr const char* kSignature = "application/x-vnd.TAVREN-KivoBASIC";
const std::string kAfterFormat = "\x01"
                                 "a) ";

class IAPItemFixture : public SettingsDirFixture {
protected:
    std::filesystem::path ValueFile(const std::string& item) const { return SettingsFile("Shared", item + ".arc"); }
    void WriteValueFile(const std::string& item, const platform::Message& content) const
    {
        WriteMessage(ValueFile(item), content);
    }
    void WriteBytes(const std::string& item, const std::string& bytes) const
    {
        std::filesystem::create_directories(ValueFile(item).parent_path());
        std::ofstream(ValueFile(item), std::ios::binary) << bytes;
    }
    static std::string Format(const TIAPItem& item)
    {
        std::string format = "unset";
        EXPECT_EQ(item.GetString(&format, false), 0);
        return format;
    }
    static bool Flat(const TIAPItem& item)
    {
        bool flat = false;
        EXPECT_EQ(item.GetBool(&flat, false), 0);
        return flat;
    }
    static platform::Message Notice(const char* item, const char* source)
    {
        platform::Message notice(platform::fourcc("_ipc"));
        if (source) notice.AddString("IAP:SrcApp", source);
        notice.AddString("IAP:SrcIAPItem", item);
        return notice;
    }
};

std::string flattened(const platform::Message& message)
{
    std::string bytes;
    message.Flatten(&bytes);
    return bytes;
}

}  // namespace

TEST_F(IAPItemFixture, WithoutValueFilesBothItemsHoldTheirDefaultsAndWriteNothing)
{
    TIAPItemAccKeyFormat format;
    TIAPItemFlatToolBar flat;
    EXPECT_EQ(Format(format), std::string("\x02(a)"));
    EXPECT_TRUE(Flat(flat));
    EXPECT_FALSE(std::filesystem::exists(ValueFile("AccKeyFormat2")));
    EXPECT_FALSE(std::filesystem::exists(ValueFile("FlatToolBar")));
}

// Files that do not hold the item's value: the default is taken and the file stays.
TEST_F(IAPItemFixture, UnreadableValueFilesGiveTheDefaultAndStayAsTheyAre)
{
    platform::Message wrongType;
    wrongType.AddString("FlatToolBar", "no");
    platform::Message wrongTypeFormat;
    wrongTypeFormat.AddBool("AccKeyFormat2", false);
    platform::Message otherField;
    otherField.AddBool("Flat", false);
    otherField.AddString("Format", kAfterFormat);
    std::string whole = flattened(otherField);

    struct Case {
        const char* what;
        std::string flatBytes;
        std::string formatBytes;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"not a message", "just some text", "just some text"},
        {"truncated", whole.substr(0, whole.size() / 2), whole.substr(0, whole.size() - 1)},
        {"value under another type", flattened(wrongType), flattened(wrongTypeFormat)},
        {"no field of the item's name", whole, whole},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes("FlatToolBar", c.flatBytes);
        WriteBytes("AccKeyFormat2", c.formatBytes);
        TIAPItemFlatToolBar flat;
        TIAPItemAccKeyFormat format;
        EXPECT_TRUE(Flat(flat));
        EXPECT_EQ(Format(format), kDefaultAccKeyFormat);
        EXPECT_EQ(Contents(ValueFile("FlatToolBar")), c.flatBytes);
        EXPECT_EQ(Contents(ValueFile("AccKeyFormat2")), c.formatBytes);
    }
}

TEST_F(IAPItemFixture, StoredValuesAreReadWhoeverWroteThem)
{
    platform::Message flatFile;
    flatFile.AddBool("FlatToolBar", false);
    flatFile.AddString("IAP:SrcApp", "application/x-vnd.Someone-Else");
    WriteValueFile("FlatToolBar", flatFile);
    platform::Message formatFile;
    formatFile.AddString("AccKeyFormat2", "\x01[a]");  // none of the offered ones
    WriteValueFile("AccKeyFormat2", formatFile);

    EXPECT_FALSE(Flat(TIAPItemFlatToolBar()));
    EXPECT_EQ(Format(TIAPItemAccKeyFormat()), "\x01[a]");
}

TEST_F(IAPItemFixture, AChangeWithOwnSourceIsWrittenAsTheValueFileAndSurvivesARestart)
{
    {
        TIAPItemAccKeyFormat format;
        format.SetAppSignatureRef(kSignature);
        platform::Message notice = Notice("AccKeyFormat2", kSignature);
        notice.AddString("AccKeyFormat2", "");  // "(None)"
        ASSERT_EQ(format.SetValue(notice), 0);
    }
    platform::Message file = ReadMessage(ValueFile("AccKeyFormat2"));
    EXPECT_EQ(file.what, 0u);
    EXPECT_EQ(file.FieldNames(), (std::vector<std::string>{"AccKeyFormat2", "IAP:SrcApp"}));
    std::string source;
    file.FindString("IAP:SrcApp", &source);
    EXPECT_EQ(source, kSignature);
    EXPECT_EQ(Format(TIAPItemAccKeyFormat()), "") << "(None) must not turn back into the default";
}

TEST_F(IAPItemFixture, TheFormatIsWrittenOnlyByTheApplicationItCameFrom)
{
    struct Case {
        const char* what;
        const char* source;
        bool written;
    };
    const Case cases[] = {
        {"no source", nullptr, false},
        {"another application", "application/x-vnd.Someone-Else", false},
        {"this application", kSignature, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(ValueFile("AccKeyFormat2"));
        TIAPItemAccKeyFormat format;
        format.SetAppSignatureRef(kSignature);
        platform::Message notice = Notice("AccKeyFormat2", c.source);
        notice.AddString("AccKeyFormat2", kAfterFormat);
        EXPECT_EQ(format.SetValue(notice), 0);
        EXPECT_EQ(Format(format), kAfterFormat);
        EXPECT_EQ(std::filesystem::exists(ValueFile("AccKeyFormat2")), c.written);
    }
}

TEST_F(IAPItemFixture, ANoticeWithoutAValueChangesNothing)
{
    TIAPItemAccKeyFormat format;
    TIAPItemFlatToolBar flat;
    format.SetAppSignatureRef(kSignature);
    flat.SetAppSignatureRef(kSignature);
    platform::Message formatNotice = Notice("AccKeyFormat2", kSignature);
    formatNotice.AddBool("AccKeyFormat2", true);  // another type counts as missing
    EXPECT_EQ(format.SetValue(formatNotice), -1);
    EXPECT_EQ(flat.SetValue(Notice("FlatToolBar", kSignature)), -1);
    EXPECT_EQ(Format(format), kDefaultAccKeyFormat);
    EXPECT_TRUE(Flat(flat));
    EXPECT_FALSE(std::filesystem::exists(ValueFile("AccKeyFormat2")));
    EXPECT_FALSE(std::filesystem::exists(ValueFile("FlatToolBar")));
}

// The flat-tool-bar item takes its bool field first, else the check box's state,
// and every application that receives the change writes the file.
TEST_F(IAPItemFixture, TheFlatToolBarSettingComesFromItsFieldOrItsCheckBox)
{
    auto with_check_box = [](platform::Message notice, const int32_t* value) {
        platform::Message control;
        if (value) control.AddInt32("_val", *value);
        notice.AddMessage("_views", control);
        return notice;
    };
    const int32_t on = 1, off = 0;
    struct Case {
        const char* what;
        std::function<platform::Message(platform::Message)> make;
        bool expected;
    };
    const Case cases[] = {
        {"bool false beats a check box that is on",
         [&](platform::Message n) {
             n.AddBool("FlatToolBar", false);
             return with_check_box(n, &on);
         },
         false},
        {"check box on", [&](platform::Message n) { return with_check_box(n, &on); }, true},
        {"check box off", [&](platform::Message n) { return with_check_box(n, &off); }, false},
        {"check box without a value", [&](platform::Message n) { return with_check_box(n, nullptr); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool start : {true, false}) {
            TIAPItemFlatToolBar flat;
            flat.SetAppSignatureRef(kSignature);
            flat.SetBool(start);
            ASSERT_EQ(flat.SetValue(c.make(Notice("FlatToolBar", "application/x-vnd.Someone-Else"))), 0);
            EXPECT_EQ(Flat(flat), c.expected);
            EXPECT_EQ(Flat(TIAPItemFlatToolBar()), c.expected) << "the file holds the new setting";
        }
    }
}

TEST_F(IAPItemFixture, SetBoolChangesOnlyTheRunningValueWhileSetStringAlsoSaves)
{
    {
        TIAPItemFlatToolBar flat;
        flat.SetBool(false);
        EXPECT_FALSE(Flat(flat));
        TIAPItemAccKeyFormat format;
        format.SetString(kAfterFormat);
    }
    EXPECT_TRUE(Flat(TIAPItemFlatToolBar()));
    EXPECT_EQ(Format(TIAPItemAccKeyFormat()), kAfterFormat);
}

TEST_F(IAPItemFixture, GettersWithTheFlagGiveTheDefaultWhateverIsCurrent)
{
    TIAPItemAccKeyFormat format;
    TIAPItemFlatToolBar flat;
    format.SetString("");
    flat.SetBool(false);
    std::string text;
    bool value = false;
    EXPECT_EQ(format.GetString(&text, true), 0);
    EXPECT_EQ(text, kDefaultAccKeyFormat);
    EXPECT_EQ(flat.GetBool(&value, true), 0);
    EXPECT_TRUE(value);
    // Each item answers only for its own value type.
    EXPECT_EQ(format.GetBool(&value, false), -1);
    EXPECT_EQ(flat.GetString(&text, false), -1);
}

TEST_F(IAPItemFixture, ValueMessagesCarryTheIdentificationAndTheValue)
{
    TIAPItemAccKeyFormat format;
    format.SetAppSignatureRef(kSignature);
    format.SetString(kAfterFormat);
    platform::Message value(platform::fourcc("keep"));
    value.AddInt32("earlier", 1);
    ASSERT_EQ(format.GetValue(&value, false), 0);
    EXPECT_EQ(value.what, platform::fourcc("_ipc"));
    EXPECT_EQ(value.FieldNames(),
              (std::vector<std::string>{"earlier", "IAP:SrcApp", "IAP:SrcIAPItem", "AccKeyFormat2"}));
    std::string text;
    value.FindString("AccKeyFormat2", &text);
    EXPECT_EQ(text, kAfterFormat);
    value.FindString("IAP:SrcIAPItem", &text);
    EXPECT_EQ(text, "AccKeyFormat2");
}

TEST_F(IAPItemFixture, TheFormatMenuOffersFiveFormatsAndMarksTheOneAskedFor)
{
    TIAPItemAccKeyFormat format;
    format.SetAppSignatureRef(kSignature);
    struct Case {
        const char* what;
        std::string current;
        bool defaultValue;
        int markedIndex;  // -1: none
    };
    const Case cases[] = {
        {"current default", kDefaultAccKeyFormat, false, 0},
        {"current a) ", kAfterFormat, false, 1},
        {"current none", "", false, 5},
        {"current unknown", "\x01[a]", false, -1},
        {"default asked for", "", true, 0},
    };
    const std::vector<std::string> labels = {"(a)", "a) ", "a\xE3\x83\xBB", "a - ", "", "(None)"};
    const std::vector<std::string> formats = {kDefaultAccKeyFormat,
                                              kAfterFormat,
                                              "\x01"
                                              "a\xE3\x83\xBB",
                                              "\x01"
                                              "a - ",
                                              "",
                                              ""};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        format.SetString(c.current);
        platform::Message archived;
        ASSERT_EQ(format.MakeConfigurationView(&archived, c.defaultValue), 0);
        TIAPConfigView view;
        ASSERT_TRUE(read_config_view(archived, &view));
        EXPECT_EQ(view.name, "AccKeyFormat2");
        EXPECT_EQ(view.control.kind, TIAPControl::Kind::PopUpField);
        EXPECT_EQ(view.control.name, "AAccelerator Format: ");
        EXPECT_EQ(view.control.title, "Select...");
        EXPECT_EQ(view.frame, (platform::Rect{0, 0, 250, 19}));
        ASSERT_EQ(view.control.entries.size(), labels.size());
        for (size_t i = 0; i < labels.size(); ++i) {
            const TIAPMenuEntry& entry = view.control.entries[i];
            EXPECT_EQ(entry.separator, i == 4);
            if (entry.separator) continue;
            EXPECT_EQ(entry.label, labels[i]);
            EXPECT_EQ(entry.marked, static_cast<int>(i) == c.markedIndex) << i;
            EXPECT_EQ(entry.message.what, platform::fourcc("ictc"));
            std::string text;
            entry.message.FindString("AccKeyFormat2", &text);
            EXPECT_EQ(text, formats[i]);
            entry.message.FindString("IAP:SrcApp", &text);
            EXPECT_EQ(text, kSignature);
        }
    }
}

TEST_F(IAPItemFixture, TheCheckBoxShowsTheSettingAskedFor)
{
    TIAPItemFlatToolBar flat;
    flat.SetAppSignatureRef(kSignature);
    flat.SetBool(false);
    for (bool defaultValue : {false, true}) {
        platform::Message archived;
        ASSERT_EQ(flat.MakeConfigurationView(&archived, defaultValue), 0);
        TIAPConfigView view;
        ASSERT_TRUE(read_config_view(archived, &view));
        EXPECT_EQ(view.name, "FlatToolBar");
        EXPECT_EQ(view.control.kind, TIAPControl::Kind::CheckBox);
        EXPECT_EQ(view.control.name, "FFlat Tool Bar");
        EXPECT_EQ(view.control.value, defaultValue ? 1 : 0);
        EXPECT_EQ(view.control.message.what, platform::fourcc("ictc"));
        EXPECT_FALSE(view.control.message.HasField("FlatToolBar"));
        std::string item;
        view.control.message.FindString("IAP:SrcIAPItem", &item);
        EXPECT_EQ(item, "FlatToolBar");
    }
}

TEST_F(IAPItemFixture, SavingWithoutASettingsFolderFailsAndKeepsTheValue)
{
    ::unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string oldHome = home ? home : "";
    ::unsetenv("HOME");
    TIAPItemFlatToolBar flat;
    EXPECT_LT(flat.SaveBool(false), 0);
    platform::Message notice = Notice("FlatToolBar", kSignature);
    notice.AddBool("FlatToolBar", false);
    EXPECT_EQ(flat.SetValue(notice), 0);
    EXPECT_FALSE(Flat(flat));
    if (home) ::setenv("HOME", oldHome.c_str(), 1);
}

// Two applications saving the same value file over and over: whenever it is read,
// the file is one whole save of either, never mixed, empty or missing.
TEST_F(IAPItemFixture, ConcurrentSavesFromTwoProcessesNeverLeaveAMixedFile)
{
    const std::string formats[2] = {kAfterFormat, "\x01"
                                                  "a - "};
    {
        TIAPItemAccKeyFormat format;
        format.SetString(formats[0]);
    }
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = ::fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            TIAPItemAccKeyFormat format;
            for (int i = 0; i < 1000; ++i)
                if (format.SaveString(formats[w]) != platform::kOk) ::_exit(1);
            ::_exit(0);
        }
    }
    int reads = 0;
    auto running = [&] {
        int done = 0;
        for (pid_t& writer : writers) {
            if (writer == 0) {
                ++done;
                continue;
            }
            int status = 0;
            if (::waitpid(writer, &status, WNOHANG) == writer) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
                writer = 0;
                ++done;
            }
        }
        return done < 2;
    };
    TIAPItemAccKeyFormat reader;
    while (running()) {
        platform::Message file;
        ASSERT_EQ(reader.Load(&file), platform::kOk) << "after " << reads << " reads";
        std::string value;
        ASSERT_EQ(file.FindString("AccKeyFormat2", &value), platform::kOk);
        ASSERT_TRUE(value == formats[0] || value == formats[1]);
        ++reads;
    }
    EXPECT_GT(reads, 0);
}
