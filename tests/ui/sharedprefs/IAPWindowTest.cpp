// The shared-preferences window with an application of this process behind it: the
// application's registry opens the window (ShowWindow), and the notices the window
// broadcasts come back through the application's inbox and are applied to that
// registry, as the application shell does.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "IAPTestSupport.h"
#include "SettingsTestSupport.h"
#include "foundation/IAPItemAccKeyFormat.h"
#include "foundation/IAPItemFlatToolBar.h"
#include "foundation/IAPPort.h"
#include "foundation/IAPPortManager.h"
#include "ui/guibase/ControlLabels.h"
#include "ui/guibase/GeometryQt.h"
#include "ui/sharedprefs/IAPWindow.h"

namespace {

using platform::Rect;

constexpr const char* kSignature = "application/x-vnd.TAVREN-KivoBASIC";
const std::string kDefaultFormat = "\x02(a)";
const std::string kBracketFormat = "\x01"
                                   "a) ";
const std::string kDashFormat = "\x01"
                                "a - ";
constexpr int kWaitMs = 10000;

// The application: every notice that reaches its inbox goes to its registry.
class AppStandIn : public TBasicWindow {
public:
    explicit AppStandIn(TInterAppPrefs* prefs) : TBasicWindow(Rect{0, 0, 99, 99}, "app"), mPrefs(prefs) {}
    void IAPChanged(platform::Message* notice) override
    {
        mPrefs->SetValue(*notice);
        ++notices;
    }
    int notices = 0;

private:
    TInterAppPrefs* mPrefs;
};

struct Stored {
    std::optional<std::string> format;
    std::optional<bool> flat;
};

class IAPWindowFixture : public SettingsDirFixture {
protected:
    void TearDown() override
    {
        window.reset();
        inbox.reset();
        app.reset();
        prefs.reset();
        SettingsDirFixture::TearDown();
    }

    // Starts the application on the given value files (none when a value is absent).
    void StartApp(const Stored& stored = {})
    {
        if (stored.format) {
            platform::Message file;
            file.AddString("AccKeyFormat2", *stored.format);
            WriteMessage(SettingsFile("Shared", "AccKeyFormat2.arc"), file);
        }
        if (stored.flat) {
            platform::Message file;
            file.AddBool("FlatToolBar", *stored.flat);
            WriteMessage(SettingsFile("Shared", "FlatToolBar.arc"), file);
        }
        prefs = std::make_unique<TInterAppPrefs>();
        prefs->SetAppSignatureRef(kSignature);
        prefs->AddItem(new TIAPItemAccKeyFormat);
        prefs->AddItem(new TIAPItemFlatToolBar);
        app = std::make_unique<AppStandIn>(prefs.get());
        inbox = std::make_unique<TIAPInbox>(platform::Messenger(app.get()));
        inbox->Resume();
        install_iap_window_maker(prefs.get(), &window);
    }

    // The application's menu command: the window shows with both components.
    void Open()
    {
        prefs->ShowWindow(Rect{100, 100, 200, 200});
        ASSERT_TRUE(window);
        ASSERT_TRUE(QTest::qWaitFor([&] { return View()->CountComponents() == 2 && !window->IsHidden(); }, kWaitMs));
    }

    TIAPView* View() const { return window->View(); }
    QComboBox* FormatMenu() const
    {
        return qobject_cast<QComboBox*>(View()->FindComponent("AccKeyFormat2")->Control());
    }
    QCheckBox* FlatBox() const { return qobject_cast<QCheckBox*>(View()->FindComponent("FlatToolBar")->Control()); }

    // Picks the menu entry with this label, as a click in the open menu does.
    void Choose(const char* label)
    {
        QComboBox* menu = FormatMenu();
        int row = menu->findText(QString::fromUtf8(label));
        ASSERT_GE(row, 0) << label;
        menu->setCurrentIndex(row);
        emit menu->activated(row);
    }
    // Waits until the application has taken `count` notices in all.
    void WaitForNotices(int count)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return app->notices >= count; }, kWaitMs))
            << app->notices << " notices of " << count;
        QApplication::processEvents();
    }

    std::string Format() const
    {
        std::string format;
        EXPECT_EQ(prefs->GetString("AccKeyFormat2", &format), 0);
        return format;
    }
    bool Flat() const
    {
        bool flat = false;
        EXPECT_EQ(prefs->GetBool("FlatToolBar", &flat), 0);
        return flat;
    }

    PortNameScope ports;
    std::unique_ptr<TInterAppPrefs> prefs;
    std::unique_ptr<AppStandIn> app;
    std::unique_ptr<TIAPInbox> inbox;
    std::unique_ptr<TIAPWindow> window;
};

TEST_F(IAPWindowFixture, NewWindowIsTheButtonRowAlone)
{
    StartApp();
    TIAPWindow alone(Rect{40, 50, 400, 400});
    EXPECT_EQ(alone.Bounds(), (Rect{0, 0, 300, 42}));
    EXPECT_EQ(alone.Frame().left, 40);
    EXPECT_EQ(alone.Port(), kIAPNoPort) << "no port before the first Show";
    EXPECT_EQ(alone.windowTitle(), QStringLiteral("TAVREN Common Preferences"));
    struct Place {
        QPushButton* button;
        Rect frame;
    };
    TIAPView* view = alone.View();
    for (const Place& p :
         {Place{view->DefaultsButton(), {10, 10, 90, 32}}, Place{view->CancelButton(), {120, 10, 200, 32}},
          Place{view->OKButton(), {210, 10, 290, 32}}})
        EXPECT_EQ(from_qrect(p.button->geometry()), p.frame) << p.button->objectName().toStdString();
    EXPECT_TRUE(view->OKButton()->isDefault());
}

TEST_F(IAPWindowFixture, ComponentsStackFromTheTopWithTheButtonsBelow)
{
    StartApp();
    Open();
    EXPECT_GE(window->Port(), 0);
    Rect menu = from_qrect(View()->FindComponent("AccKeyFormat2")->geometry());
    Rect box = from_qrect(View()->FindComponent("FlatToolBar")->geometry());
    Rect buttons = from_qrect(View()->ButtonContainer()->geometry());
    EXPECT_EQ(menu.left, 10);
    EXPECT_EQ(menu.top, 10);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, menu.bottom + 10);
    EXPECT_EQ(buttons.top, box.bottom + 10);
    EXPECT_EQ(window->Bounds().bottom, buttons.bottom);
    EXPECT_EQ(window->Bounds().right, std::max({300.0f, menu.right + 10, box.right + 10}));
    EXPECT_EQ(from_qrect(View()->OKButton()->geometry()).right, window->Bounds().right - 10);

    // A second request with the same names adds nothing.
    platform::Messenger(View()).SendMessage(prefs->MakeComponents());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->CountQueued() == 0; }, kWaitMs));
    EXPECT_EQ(View()->CountComponents(), 2);
    EXPECT_EQ(from_qrect(View()->ButtonContainer()->geometry()), buttons);
}

enum class Step {
    ChooseBracket,
    ChooseNone,
    ToggleFlat,
    OK,
    Cancel,
    Escape,
    CloseBox,
    Defaults,
    QuitThroughPort,
    Reopen
};

struct Scenario {
    const char* name;
    Stored stored;
    std::vector<Step> steps;
    std::string format;  // in force afterwards, and in the value file
    bool flat;
};

TEST_F(IAPWindowFixture, ButtonsKeysAndCloseBoxApplyRevertOrResetInEveryApplication)
{
    const std::vector<Scenario> scenarios = {
        {"a chosen format stays after OK",
         {},
         {Step::ChooseBracket, Step::OK, Step::Reopen, Step::Cancel},
         kBracketFormat,
         true},
        {"(None) is kept as the empty format", {}, {Step::ChooseNone, Step::OK}, "", true},
        {"Cancel reverts every change",
         {},
         {Step::ChooseBracket, Step::ToggleFlat, Step::Cancel},
         kDefaultFormat,
         true},
        {"Escape is Cancel", {kDashFormat, false}, {Step::ChooseBracket, Step::Escape}, kDashFormat, false},
        {"the close box reverts", {}, {Step::ToggleFlat, Step::CloseBox}, kDefaultFormat, true},
        {"a quit request through the port reverts",
         {},
         {Step::ToggleFlat, Step::QuitThroughPort},
         kDefaultFormat,
         true},
        {"Defaults then OK makes the defaults current",
         {kDashFormat, false},
         {Step::Defaults, Step::OK, Step::Reopen, Step::Cancel},
         kDefaultFormat,
         true},
        {"Defaults then Cancel returns to the values before",
         {kDashFormat, false},
         {Step::Defaults, Step::Cancel},
         kDashFormat,
         false},
        {"the check box rebuilt by Defaults still works",
         {kDashFormat, false},
         {Step::Defaults, Step::ToggleFlat, Step::OK},
         kDefaultFormat,
         false},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        TearDown();
        SetUp();
        StartApp(s.stored);
        Open();
        int notices = 0;
        for (Step step : s.steps) {
            // How many notices the step broadcasts: one for a control, one per
            // component when stored values are put back.
            int broadcasts = 2;
            switch (step) {
            case Step::ChooseBracket:
                Choose("a) ");
                broadcasts = 1;
                break;
            case Step::ChooseNone:
                Choose("(None)");
                broadcasts = 1;
                break;
            case Step::ToggleFlat:
                FlatBox()->click();
                broadcasts = 1;
                break;
            case Step::OK:
                View()->OKButton()->click();
                broadcasts = 0;
                break;
            case Step::Cancel: View()->CancelButton()->click(); break;
            case Step::Escape: QTest::keyClick(View(), Qt::Key_Escape); break;
            case Step::CloseBox: window->close(); break;
            case Step::Defaults: View()->DefaultsButton()->click(); break;
            case Step::QuitThroughPort: EXPECT_EQ(prefs->CloseWindow(false), 0); break;
            case Step::Reopen:
                Open();
                broadcasts = 0;
                break;
            }
            notices += broadcasts;
            WaitForNotices(notices);
            bool closes = step == Step::OK || step == Step::Cancel || step == Step::Escape || step == Step::CloseBox ||
                          step == Step::QuitThroughPort;
            if (closes) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return window->IsHidden(); }, kWaitMs));
            } else if (step == Step::Defaults) {
                EXPECT_FALSE(window->IsHidden()) << "Defaults keeps the window open";
            }
        }
        EXPECT_EQ(Format(), s.format);
        EXPECT_EQ(Flat(), s.flat);
        EXPECT_TRUE(window) << "the window stays, hidden";
        // What the next start of any application reads.
        std::string saved;
        bool savedFlat = !s.flat;
        TIAPItemAccKeyFormat().GetString(&saved, false);
        TIAPItemFlatToolBar().GetBool(&savedFlat, false);
        EXPECT_EQ(saved, s.format);
        EXPECT_EQ(savedFlat, s.flat);
    }
}

struct Labels {
    const char* name;
    std::string stored;
    const char* choice;
    const char* defaults;
    const char* flat;
    const char* format;
};

TEST_F(IAPWindowFixture, ChoosingAFormatRelabelsTheWindowAtOnceAndCancelKeepsIt)
{
    const std::vector<Labels> cases = {
        {"letter in front", kDefaultFormat, "a) ", "D) Defaults", "F) Flat Tool Bar", "A) Accelerator Format: "},
        {"letter and dash", kDefaultFormat, "a - ", "D - Defaults", "F - Flat Tool Bar", "A - Accelerator Format: "},
        {"no letter", kDefaultFormat, "(None)", "Defaults", "Flat Tool Bar", "Accelerator Format: "},
        {"letter in brackets before the colon", kBracketFormat, "(a)", "Defaults(D)", "Flat Tool Bar(F)",
         "Accelerator Format(A): "},
    };
    for (const Labels& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        StartApp({c.stored, std::nullopt});
        Open();
        Choose(c.choice);
        ASSERT_TRUE(QTest::qWaitFor([&] { return control_label(View()->DefaultsButton()) == c.defaults; }, kWaitMs))
            << control_label(View()->DefaultsButton());
        EXPECT_EQ(control_label(FlatBox()), c.flat);
        EXPECT_EQ(control_label(FormatMenu()), c.format);
        EXPECT_EQ(control_label(View()->OKButton()), "OK");

        // Cancel returns the applications to the stored format, not this window.
        View()->CancelButton()->click();
        WaitForNotices(3);
        EXPECT_EQ(Format(), c.stored);
        EXPECT_EQ(control_label(View()->DefaultsButton()), c.defaults);
        EXPECT_EQ(control_label(FlatBox()), c.flat);
    }
}

// Components of other applications come as data; one that does not describe a
// control of ours is left out, and the rest are shown.
TEST_F(IAPWindowFixture, ComponentThatDoesNotFitTheSchemaIsLeftOut)
{
    StartApp();
    TIAPItemAccKeyFormat format;
    TIAPItemFlatToolBar flat;
    format.SetAppSignatureRef(kSignature);
    flat.SetAppSignatureRef(kSignature);
    auto component = [](const TIAPItem& item, bool defaultValue) {
        platform::Message made;
        item.MakeConfigurationView(&made, defaultValue);
        item.GetValue(&made, defaultValue);
        return made;
    };
    auto control_of = [](platform::Message* view, const std::function<void(platform::Message*)>& change) {
        platform::Message control;
        view->FindMessage("_views", &control);
        change(&control);
        view->RemoveName("_views");
        view->AddMessage("_views", control);
    };
    struct Bad {
        const char* name;
        std::function<void(platform::Message*)> spoil;
    };
    const std::vector<Bad> cases = {
        {"no control", [](platform::Message* m) { m->RemoveName("_views"); }},
        {"a control of an unknown kind",
         [&](platform::Message* m) {
             control_of(m, [](platform::Message* c) {
                 c->RemoveName("_kind");
                 c->AddString("_kind", "slider");
             });
         }},
        {"a view named after another item",
         [](platform::Message* m) {
             m->RemoveName("_name");
             m->AddString("_name", "FlatToolBar");
         }},
        {"a label longer than any",
         [&](platform::Message* m) {
             control_of(m, [](platform::Message* c) {
                 c->RemoveName("_title");
                 c->AddString("_title", std::string(kMaxIAPTextBytes + 1, 'x'));
             });
         }},
        {"a frame that is not finite",
         [](platform::Message* m) {
             m->RemoveName("_frame");
             m->AddRect("_frame", Rect{0, 0, std::numeric_limits<float>::infinity(), 10});
         }},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.name);
        TIAPWindow shown(Rect{0, 0, 10, 10});
        platform::Message request(kIAPAddComponentsMessage);
        platform::Message spoilt = component(format, false);
        c.spoil(&spoilt);
        for (int i = 0; i < 3; ++i) request.AddMessage("AccKeyFormat2", spoilt);
        request.AddString("Other", "not a component");
        for (bool fallback : {false, false, true}) request.AddMessage("FlatToolBar", component(flat, fallback));
        platform::Messenger(shown.View()).SendMessage(request);
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown.View()->CountComponents() == 1; }, kWaitMs));
        EXPECT_EQ(shown.View()->FindComponent("AccKeyFormat2"), nullptr);
        EXPECT_NE(shown.View()->FindComponent("FlatToolBar"), nullptr);
        EXPECT_EQ(from_qrect(shown.View()->FindComponent("FlatToolBar")->geometry()).top, 10);
    }
}

// Under Xvfb with KIVO_SHOT_DIR set, also writes the window as shared-prefs.png.
TEST_F(IAPWindowFixture, LookOfTheWindowWithBothComponents)
{
    StartApp();
    Open();
    QRect inside = window->rect();
    for (const char* name : {"AccKeyFormat2", "FlatToolBar"}) {
        TIAPComponent* component = View()->FindComponent(name);
        EXPECT_TRUE(component->isVisible()) << name;
        EXPECT_TRUE(inside.contains(component->geometry())) << name;
    }
    EXPECT_EQ(FormatMenu()->currentText(), QStringLiteral("(a)"));
    EXPECT_TRUE(FlatBox()->isChecked());
    QByteArray shotDir = qgetenv("KIVO_SHOT_DIR");
    if (!shotDir.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(shotDir));
        QTest::qWait(200);
        EXPECT_TRUE(window->grab().save(QString::fromLocal8Bit(shotDir) + QStringLiteral("/shared-prefs.png")));
    }
}

}  // namespace
