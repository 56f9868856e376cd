#pragma once
// The shared preference "FlatToolBar": whether tool bars are drawn flat (the default).

#include "foundation/IAPItem.h"

class TIAPItemFlatToolBar : public TIAPItem {
public:
    // Reads the stored setting, or takes true when there is none.
    TIAPItemFlatToolBar();

    // A check box "Flat Tool Bar", on when the current (or default) setting is.
    int32_t MakeConfigurationView(platform::Message* view, bool defaultValue) const override;
    int32_t GetValue(platform::Message* into, bool defaultValue) const override;
    // Takes the bool "FlatToolBar", else the check box's "_val" from "_views", and
    // writes the value file (in every application that receives the change). -1,
    // nothing changed, when the message holds neither.
    int32_t SetValue(const platform::Message& message) override;
    int32_t GetBool(bool* value, bool defaultValue) const override;
    // Takes the setting without writing the value file.
    int32_t SetBool(bool value) override;

private:
    bool mFlat = true;
};
