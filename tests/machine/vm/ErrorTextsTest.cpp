// The English texts of the compile and run-time error keys: every key that the
// compiler or the machine raises has one, and the texts say what went wrong.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "platform/Locale.h"
#include "tests/TestPaths.h"
#include "tests/machine/vm/MachineTestSupport.h"

namespace {

namespace fs = std::filesystem;

// Every quoted error key in the sources of the compiler, the machine and the tools.
std::set<std::string> error_keys_in_sources()
{
    const std::regex key("\"(@(Compile|Runtime)_Err_[^\"@]*@)\"");
    std::set<std::string> keys;
    for (const char* folder : {"language", "machine", "platform", "listfiles", "tools", "ui"}) {
        const fs::path root = fs::path(test_paths::SourceDir) / folder;
        if (!fs::exists(root)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            const std::string source = text.str();
            for (std::sregex_iterator it(source.begin(), source.end(), key), end; it != end; ++it)
                keys.insert((*it)[1].str());
        }
    }
    return keys;
}

class ErrorTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::use_key_identity_catalogue(false);
        // The machine adds its own texts when it is made.
        TMidCode mid;
        TBasicRsrc rsrc;
        TRecordingAlertSink alerts;
        TRecordingRunRequests requests;
        TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, &requests, &alerts);
    }
};

TEST_F(ErrorTexts, EveryRaisedKeyHasAnEnglishText)
{
    const std::set<std::string> keys = error_keys_in_sources();
    // Both families are found, so the scan itself is sound.
    EXPECT_TRUE(keys.count("@Compile_Err_Syntax_Err@"));
    EXPECT_TRUE(keys.count("@Runtime_Err_Div_By_Zero@"));
    for (const std::string& key : keys) {
        const std::string text = platform::get_string(key);
        EXPECT_NE(text, key) << key << " has no text";
        EXPECT_FALSE(!text.empty() && text.front() == '@') << key << " -> " << text;
        // A placeholder of the key is kept for the caller to fill in.
        for (const char* placeholder : {"%Symbol%", "%Num%"}) {
            if (key.find(placeholder) != std::string::npos) {
                EXPECT_NE(text.find(placeholder), std::string::npos) << key << " -> " << text;
            }
        }
    }
}

// Keys whose meaning is easily mistaken: each text names the fault the key stands for.
TEST_F(ErrorTexts, TextsNameTheirFault)
{
    struct Case {
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {"@Runtime_Err_Bad_Dimension@", "Wrong number of subscripts"},
        {"@Runtime_Err_Subscript_Out_Of_Range@", "Subscript out of range"},
        {"@Compile_Err_Unknown_Symbol %Symbol%@", "Unknown character \"%Symbol%\""},
        {"@Compile_Err_Direct_Statement@", "Line without a valid line number"},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::get_string(c.key), c.text) << c.key;
}

}  // namespace
