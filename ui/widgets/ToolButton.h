#pragma once
// A small image button of a tool bar: one image for each drawing state, an optional
// label to the right of the image, push or toggle behaviour, an optional radio mode
// that makes the toggles between two separators exclusive, and a tool tip named
// after the button.
//
// Sizes follow inclusive edges: a button whose bounds are 0 to 21 covers 22 pixels.

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Message.h"
#include "platform/Messenger.h"
#include "ui/widgets/WidgetToolTip.h"
#include "ui/widgets/logic/ToolImages.h"

class TToolBar;

// A label alignment, as the platform numbers them.
enum class Alignment : int32_t { Left = 0, Right = 1, Center = 2 };

class TToolButton : public QWidget {
public:
    static constexpr uint32_t kPushBehavior = 0;
    static constexpr uint32_t kToggleBehavior = 1;

    TToolButton(const std::string& name, std::optional<ToolImage> image, const std::string& label,
                const platform::Message& message, uint32_t behavior, QWidget* parent = nullptr);
    TToolButton(const std::string& name, std::optional<ToolImage> image, const platform::Message& message,
                uint32_t behavior, QWidget* parent = nullptr);
    ~TToolButton() override;

    int32_t Value() const { return mValue; }
    virtual void SetValue(int32_t value);
    int32_t SetBehavior(uint32_t behavior);
    uint32_t Behavior() const { return mBehavior; }
    // -1 for turning a push button's on. The whole group follows.
    int32_t SetRadioMode(bool on);
    bool IsRadioMode() const { return mRadioMode; }
    // The items of the button's group in its bar, nearest left neighbour first.
    void GetBrothers(std::vector<TToolButton*>* brothers) const;

    // -1 for a state outside 0 to 4, for a state image before the normal one, for
    // no image in a state other than 0, and for an image of another size.
    int32_t SetImage(int32_t state, const ToolImage* image);
    const std::optional<ToolImage>& Image(int32_t state) const { return mImages[state]; }
    // Derives the missing images from the normal one; -1 without it.
    int32_t SetDefaultImages();
    // Drops every image but the normal one.
    int32_t ClearImages();

    void SetLabel(const std::string& label);
    const std::string& Label() const { return mLabel; }
    // Stores both alignments and works the draw points out again; the drawing uses
    // neither of them.
    void SetAlignment(Alignment first, Alignment second);
    Alignment FirstAlignment() const { return mFirstAlignment; }
    Alignment SecondAlignment() const { return mSecondAlignment; }
    void SetDivider(float divider);
    float Divider() const { return mDivider; }
    // Takes the divider from the normal image without moving the draw points.
    void AdjustDivider();
    void ResizeToPreferred();
    float MinWidth() const;

    void SetMessage(const platform::Message& message) { mMessage = message; }
    void SetTarget(const platform::Messenger& target) { mTarget = target; }

    int32_t SetTip(const std::string& tip);
    std::string Tip() const;
    WidgetToolTip* ToolTip() { return mTip.get(); }

    bool IsPressed() const { return mPressed; }
    bool IsHot() const { return mHot; }
    // Where the label's baseline starts, before the state's offset.
    QPointF LabelPoint() const { return mLabelPoint; }
    // The state the button draws in now.
    ToolButtonState DrawingState() const;

    // The bar sets itself when it takes the button.
    void SetBar(TToolBar* bar) { mBar = bar; }
    TToolBar* Bar() const { return mBar; }

    // Resizes to the given inclusive right and bottom edges.
    void ResizeToBounds(float right, float bottom);

protected:
    // Separators are made without image or tip.
    struct SeparatorTag {};
    TToolButton(SeparatorTag, QWidget* parent);

    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

    // First showing: the tip starts watching and the missing images are derived.
    virtual void Attached();

private:
    void CalcDrawPoints();
    void SetHot(bool hot);
    void Invoke();
    bool InBounds(const QPointF& point) const;

    bool mPressed = false;
    bool mHot = false;
    bool mRadioMode = false;
    uint32_t mBehavior = kPushBehavior;
    int32_t mValue = 0;
    float mDivider = 0;
    Alignment mFirstAlignment = Alignment::Left;
    Alignment mSecondAlignment = Alignment::Left;
    ToolImageSet mImages;
    QPointF mImagePoint{3, 3};
    QPointF mLabelPoint;
    std::string mLabel;
    TToolBar* mBar = nullptr;
    std::unique_ptr<WidgetToolTip> mTip;
    platform::Message mMessage;
    platform::Messenger mTarget;
    bool mAttached = false;
};

// A narrow groove that divides a bar's row into groups.
class TSeparatorButton : public TToolButton {
public:
    // 9 pixels wide and `height` + 1 high.
    explicit TSeparatorButton(float height, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void Attached() override {}
};
