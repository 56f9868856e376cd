#pragma once
// A strip that holds a row of tool buttons from left to right, 3 pixels in from
// the left and the top, neighbours touching. Raised, every button shows its edge;
// flat, a button shows it only while it is on or the pointer is over it.
//
// Sizes follow inclusive edges, as the buttons' do.

#include <QWidget>
#include <string>
#include <vector>

#include "platform/Handler.h"
#include "platform/Messenger.h"

class TToolButton;

class TToolBar : public QWidget {
public:
    explicit TToolBar(const std::string& name, QWidget* parent = nullptr);
    ~TToolBar() override;

    // False, nothing done, for an index below 0 or above the count.
    bool AddItem(TToolButton* item, int32_t index);
    bool AddItem(TToolButton* item);
    // A separator as high as the tallest item so far.
    void AddSeparatorItem();

    TToolButton* ItemAt(int32_t index) const;
    int32_t CountItems() const { return static_cast<int32_t>(mItems.size()); }
    int32_t IndexOf(TToolButton* item) const;
    // The first item of that name; items without a name never match.
    TToolButton* FindItem(const std::string& name) const;
    // The first item from `start` on that is on.
    TToolButton* FindPushed(int32_t start) const;
    void RelocateItems(int32_t from);
    // Inclusive edges: width 3 for an empty bar, else the last item's right + 3.
    void GetPreferredSize(float* width, float* height) const;

    int32_t SetFlat(bool flat);
    bool IsFlat() const { return mFlat; }
    // Every button draws disabled while the bar is not enabled; their clicks still work.
    virtual void SetEnabled(bool enabled) { mEnabled = enabled; }
    bool IsEnabled() const { return mEnabled; }

    virtual int32_t SetTargetForItems(const platform::Messenger& target);
    virtual int32_t SetTargetForItems(platform::Handler* target);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ResizeToBounds(float right, float bottom);

    bool mEnabled = true;
    bool mFlat = false;
    float mTallest = 0;
    std::vector<TToolButton*> mItems;
    bool mAttached = false;
};
