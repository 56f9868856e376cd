#include "foundation/IAPItemFlatToolBar.h"

#include "foundation/IAPConfigView.h"

namespace {

constexpr const char* kName = "FlatToolBar";

}  // namespace

TIAPItemFlatToolBar::TIAPItemFlatToolBar() : TIAPItem(kName)
{
    LoadBool(&mFlat);
}

int32_t TIAPItemFlatToolBar::GetBool(bool* value, bool defaultValue) const
{
    *value = defaultValue ? true : mFlat;
    return 0;
}

int32_t TIAPItemFlatToolBar::SetBool(bool value)
{
    mFlat = value;
    return 0;
}

int32_t TIAPItemFlatToolBar::GetValue(platform::Message* into, bool defaultValue) const
{
    bool flat;
    GetBool(&flat, defaultValue);
    into->what = platform::fourcc("_ipc");
    AddDefaultInfo(into);
    into->AddBool(kName, flat);
    return 0;
}

int32_t TIAPItemFlatToolBar::SetValue(const platform::Message& message)
{
    bool flat;
    if (message.FindBool(kName, &flat) != platform::kOk) {
        platform::Message control;
        if (message.FindMessage("_views", &control) != platform::kOk) return -1;
        int32_t value = 0;
        flat = control.FindInt32("_val", &value) == platform::kOk && value != 0;
    }
    mFlat = flat;
    SaveBool(mFlat);
    return 0;
}

int32_t TIAPItemFlatToolBar::MakeConfigurationView(platform::Message* view, bool defaultValue) const
{
    TIAPConfigView description;
    TIAPControl& box = description.control;
    box.kind = TIAPControl::Kind::CheckBox;
    box.name = "FFlat Tool Bar";
    box.frame = {0, 0, 250, 25};
    box.message.what = platform::fourcc("ictc");
    AddDefaultInfo(&box.message);
    bool flat;
    GetBool(&flat, defaultValue);
    box.value = flat ? 1 : 0;
    description.name = kName;
    description.frame = {0, 0, box.frame.right - box.frame.left, box.frame.bottom - box.frame.top};
    archive_config_view(description, view);
    return 0;
}
