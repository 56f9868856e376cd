// The Renumber dialog: its layout, the values it sends for what the fields hold,
// Escape and Enter, and its labels following the shared accelerator format.

#include "ui/appdialogs/RenumWindow.h"

#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "AppDialogsTestSupport.h"
#include "platform/Locale.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/ControlLabels.h"
#include "ui/guibase/GeometryQt.h"

namespace {

class RenumDialog : public ::testing::Test {
protected:
    RenumDialog()
    {
        TemporaryUserFolders::Get();
        window = std::make_unique<TRenumWindow>(platform::Rect{100, 100, 400, 400});
        window->SetTarget(platform::Messenger(&target.handler));
    }
    ~RenumDialog() override { gIAPs.SetString("AccKeyFormat2", kDefaultAccKeyFormat); }

    void Open()
    {
        window->Appear();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void Fill(const char* newLine, const char* oldLine, const char* step)
    {
        View()->NewLineField()->setText(QString::fromUtf8(newLine));
        View()->OldLineField()->setText(QString::fromUtf8(oldLine));
        View()->StepField()->setText(QString::fromUtf8(step));
    }
    TRenumView* View() const { return window->View(); }
    // The values of every 'rnmr' sent so far.
    std::vector<TRenumberValues> Sent()
    {
        std::vector<TRenumberValues> all;
        for (const platform::Message& m : target.Drain()) {
            EXPECT_EQ(m.what, kRenumberDialogCode);
            TRenumberValues values;
            EXPECT_EQ(m.FindInt32("NewLine", &values.NewLine), platform::kOk);
            EXPECT_EQ(m.FindInt32("OldLine", &values.OldLine), platform::kOk);
            EXPECT_EQ(m.FindInt32("Step", &values.Step), platform::kOk);
            all.push_back(values);
        }
        target.handler.received.clear();
        return all;
    }
    std::string Shown(const QLineEdit* field) const { return field->text().toStdString(); }

    RecordingTarget target;
    std::unique_ptr<TRenumWindow> window;
};

TEST_F(RenumDialog, LaysOutThreeFieldsAboveCancelAndOK)
{
    EXPECT_EQ(window->Bounds(), (platform::Rect{0, 0, 190, 122}));
    EXPECT_EQ(window->pos(), QPoint(100, 100));
    EXPECT_EQ(View()->NewLineField()->geometry().right(), 180);
    EXPECT_EQ(View()->StepField()->geometry().bottom(), 79);
    EXPECT_EQ(View()->CancelButton()->geometry(), to_qrect(platform::Rect{10, 90, 90, 112}));
    EXPECT_EQ(View()->OKButton()->geometry(), to_qrect(platform::Rect{100, 90, 180, 112}));
    EXPECT_TRUE(View()->OKButton()->isDefault());
    EXPECT_EQ(window->windowTitle(), "Renumber");
}

TEST_F(RenumDialog, OKSendsTheSettledValuesAndTheFieldsShowThem)
{
    struct Case {
        const char* newLine;
        const char* oldLine;
        const char* step;
        TRenumberValues sent;
    };
    const Case cases[] = {
        {"", "", "", {10, 1, 10}},      {"0", "5", "10", {1, 5, 10}},      {"-5", "1", "10", {1, 1, 10}},
        {"abc", "1", "10", {1, 1, 10}}, {"100", "20", "3x", {100, 20, 3}},
    };
    for (const Case& c : cases) {
        Open();
        Fill(c.newLine, c.oldLine, c.step);
        View()->OKButton()->click();
        Pump();
        EXPECT_TRUE(window->isHidden()) << c.newLine;
        const std::vector<TRenumberValues> sent = Sent();
        ASSERT_EQ(sent.size(), 1u) << c.newLine;
        EXPECT_EQ(sent[0].NewLine, c.sent.NewLine) << c.newLine;
        EXPECT_EQ(sent[0].OldLine, c.sent.OldLine) << c.oldLine;
        EXPECT_EQ(sent[0].Step, c.sent.Step) << c.step;
        EXPECT_EQ(Shown(View()->NewLineField()), std::to_string(c.sent.NewLine));
        EXPECT_EQ(Shown(View()->OldLineField()), std::to_string(c.sent.OldLine));
        EXPECT_EQ(Shown(View()->StepField()), std::to_string(c.sent.Step));
    }
}

TEST_F(RenumDialog, EscapeHidesAndSendsNothingAndTheFieldsKeepTheirText)
{
    Open();
    Fill("100", "20", "x");
    QTest::keyClick(View()->StepField(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isHidden(); }, 2000));
    Pump();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Shown(View()->StepField()), "x");
}

TEST_F(RenumDialog, EnterConfirms)
{
    Open();
    Fill("500", "1", "5");
    QTest::keyClick(View()->NewLineField(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !target.Drain().empty(); }, 2000));
    const std::vector<TRenumberValues> sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].NewLine, 500);
    EXPECT_TRUE(window->isHidden());
}

TEST_F(RenumDialog, TheAcceleratorFormatRelabelsTheFieldsOnlyForItsOwnNotice)
{
    Open();
    const std::string before = control_label(View()->NewLineField());
    EXPECT_EQ(before, merge_accelerator_key(kDefaultAccKeyFormat, "N", platform::get_string("New Line: ")));

    const std::string format = "\x01"
                               "a) ";
    ASSERT_EQ(gIAPs.SetString("AccKeyFormat2", format), 0);
    platform::Message other(kIAPChangedMessage);
    other.AddString("IAP:SrcIAPItem", "FlatToolBar");
    platform::Messenger(window.get()).SendMessage(other);
    Pump();
    EXPECT_EQ(control_label(View()->NewLineField()), before) << "another item's notice";

    platform::Message notice(kIAPChangedMessage);
    notice.AddString("IAP:SrcIAPItem", "AccKeyFormat2");
    platform::Messenger(window.get()).SendMessage(notice);
    Pump();
    EXPECT_EQ(control_label(View()->NewLineField()),
              merge_accelerator_key(format, "N", platform::get_string("New Line: ")));
    EXPECT_EQ(control_label(View()->OldLineField()),
              merge_accelerator_key(format, "L", platform::get_string("Old Line: ")));
    EXPECT_EQ(control_label(View()->StepField()), merge_accelerator_key(format, "S", platform::get_string("Step: ")));
    EXPECT_NE(control_label(View()->StepField()), before);
}

}  // namespace
