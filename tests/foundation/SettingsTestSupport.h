#pragma once
// A throw-away settings directory for tests: XDG_CONFIG_HOME points into a fresh
// folder for the test's life, and no modifier key is held.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Message.h"
#include "platform/Modifiers.h"
#include "platform/SettingsFolder.h"

class SettingsDirFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/kivo-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        root = name;
        const char* old = std::getenv("XDG_CONFIG_HOME");
        hadConfig = old != nullptr;
        if (old) oldConfig = old;
        ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
        platform::set_modifier_reader(nullptr);
    }
    void TearDown() override
    {
        platform::set_modifier_reader(nullptr);
        if (hadConfig)
            ::setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(root);
    }

    std::filesystem::path SettingsFile(const std::string& folder, const std::string& file) const
    {
        return root / "TAVREN" / folder / file;
    }
    // The message a settings file holds; fails the test when it holds none.
    platform::Message ReadMessage(const std::filesystem::path& path) const
    {
        std::string bytes;
        platform::Message message;
        EXPECT_EQ(platform::read_file(path.string(), 1 << 20, &bytes), platform::kOk) << path;
        EXPECT_EQ(message.Unflatten(bytes), platform::kOk) << path;
        return message;
    }
    void WriteMessage(const std::filesystem::path& path, const platform::Message& message) const
    {
        std::string bytes;
        ASSERT_EQ(message.Flatten(&bytes), platform::kOk);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Contents(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path root;
    bool hadConfig = false;
    std::string oldConfig;
};
