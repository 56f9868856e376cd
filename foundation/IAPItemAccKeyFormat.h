#pragma once
// The shared preference "AccKeyFormat2": how an accelerator letter is shown inside a
// label. A format is a byte string: byte 0 says where the decorated letter goes (1 in
// front of the label, anything else behind it), and in the bytes after it the first
// "a" stands for the letter. The empty format shows no letter.

#include <string>

#include "foundation/IAPConfigView.h"
#include "foundation/IAPItem.h"

// Byte 2 then "(a)": "Open(O)".
inline const std::string kDefaultAccKeyFormat = "\x02(a)";

class TIAPItemAccKeyFormat : public TIAPItem {
public:
    // Reads the stored format, or takes the default when there is none.
    TIAPItemAccKeyFormat();

    // A pop-up field with the offered formats, the current (or default) one marked.
    int32_t MakeConfigurationView(platform::Message* view, bool defaultValue) const override;
    int32_t GetValue(platform::Message* into, bool defaultValue) const override;
    // Takes the string "AccKeyFormat2"; writes the value file only when "IAP:SrcApp"
    // names this application. -1, nothing changed, without the field.
    int32_t SetValue(const platform::Message& message) override;
    int32_t GetString(std::string* value, bool defaultValue) const override;
    // Takes the format and writes the value file.
    int32_t SetString(const std::string& value) override;

    // The menu entry for `format`, marked when it is the current (or default) format.
    TIAPMenuEntry MakeMenuEntry(const std::string& format, bool defaultValue) const;

private:
    std::string mFormat;
};
