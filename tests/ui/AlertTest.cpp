#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <functional>
#include <vector>

#include "foundation/Thread.h"
#include "ui/guibase/Alert.h"
#include "ui/guibase/ErrorAlertSink.h"
#include "ui/guibase/GUIBase.h"

namespace {

using platform::Rect;

QMessageBox* open_alert()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) return box;
    return nullptr;
}

QMessageBox* wait_for_alert()
{
    QMessageBox* box = nullptr;
    for (int i = 0; i < 500 && !box; ++i) {
        QTest::qWait(10);
        box = open_alert();
    }
    return box;
}

bool no_alert_stays_open()
{
    for (int i = 0; i < 500 && open_alert(); ++i) QTest::qWait(10);
    return open_alert() == nullptr;
}

void close_leftover_alerts()
{
    QTest::qWait(20);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget)) box->done(0);
    QTest::qWait(20);
}

// Stands in for the machine thread: runs one body that shows alerts.
class WorkerThread : public TThread {
public:
    explicit WorkerThread(std::function<int32_t()> body) : TThread("worker", 10), mBody(std::move(body)) {}
    int32_t Execute() override
    {
        answer = mBody();
        return 0;
    }
    std::atomic<int32_t> answer{-100};

private:
    std::function<int32_t()> mBody;
};

const std::string kErrorText = "Compile Error\n\n\xE6\x9C\xAA\xE7\x9F\xA5\xE3\x81\xAE\xE6\x96\x87\xE5\xAD\x97 "
                               "\"\xE3\x81\x82\" \xE3\x81\xA7\xE3\x81\x99\n\nLine: 10";

TEST(AlertThreads, KillDuringAMachineAlertReturnsAndLeavesNoAlertOpen)
{
    TErrorAlertSink sink("Kivo-BASIC");
    WorkerThread machine([&] {
        sink.ShowAlert(kErrorText);
        return 0;
    });
    machine.Resume();
    ASSERT_NE(wait_for_alert(), nullptr);
    EXPECT_EQ(platform::count_pending_alerts(), 1);

    // The kill blocks the GUI thread until the machine thread has ended.
    machine.Terminate();
    machine.Wait(nullptr);
    EXPECT_TRUE(no_alert_stays_open());
    EXPECT_EQ(platform::count_pending_alerts(), 0);
}

TEST(AlertThreads, WithdrawnAlertAnswersTheEscapeButton)
{
    struct Case {
        const char* name;
        int32_t escapeIndex;
        int32_t answer;
    };
    const Case cases[] = {{"escape is button 1", 1, 1}, {"no escape button", -1, 0}};
    for (const Case& c : cases) {
        WorkerThread worker(
            [&] { return show_alert("T", "text", "Yes(Y)", "No(N)", nullptr, c.escapeIndex, AlertType::Info); });
        worker.Resume();
        ASSERT_NE(wait_for_alert(), nullptr) << c.name;
        platform::withdraw_pending_alerts();
        worker.Wait(nullptr);
        EXPECT_EQ(worker.answer.load(), c.answer) << c.name;
        EXPECT_TRUE(no_alert_stays_open()) << c.name;
    }
}

TEST(AlertKeys, LettersAndEscapeChooseTheirButtons)
{
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int32_t answer;  // -1: the alert stays open
    };
    // Buttons "Cancel(C)" (Escape), "Save(S)", "Don't Save(D)".
    const Case cases[] = {
        {"letter of button 1", Qt::Key_S, Qt::NoModifier, 1},
        {"letter of button 2", Qt::Key_D, Qt::NoModifier, 2},
        {"Alt with a button's letter", Qt::Key_D, Qt::AltModifier, 2},
        {"Ctrl with a button's letter", Qt::Key_S, Qt::ControlModifier, -1},
        {"escape", Qt::Key_Escape, Qt::NoModifier, 0},
        {"escape button's own letter", Qt::Key_C, Qt::NoModifier, -1},
        {"Alt with the escape button's letter", Qt::Key_C, Qt::AltModifier, -1},
        {"no such letter", Qt::Key_X, Qt::NoModifier, -1},
    };
    for (const Case& c : cases) {
        WorkerThread worker([] {
            return show_alert("Save?", "The list changed.", "Cancel(C)", "Save(S)", "Don't Save(D)", 0,
                              AlertType::Warning);
        });
        worker.Resume();
        QMessageBox* box = wait_for_alert();
        ASSERT_NE(box, nullptr) << c.name;
        QTest::keyClick(box, c.key, c.modifiers);
        QTest::qWait(50);
        // An alert still open is withdrawn, which answers its Escape button.
        const bool stillOpen = open_alert() != nullptr;
        EXPECT_EQ(stillOpen, c.answer < 0) << c.name;
        if (stillOpen) platform::withdraw_pending_alerts();
        worker.Wait(nullptr);
        EXPECT_EQ(worker.answer.load(), c.answer < 0 ? 0 : c.answer) << c.name;
    }
    close_leftover_alerts();
}

// A window that shows a modal alert while it handles 'alrt'.
class AlertingWindow : public TBasicWindow {
public:
    AlertingWindow() : TBasicWindow(Rect{0, 0, 199, 99}, "alerting") {}
    std::vector<uint32_t> handled;
    void MessageReceived(platform::Message* message) override
    {
        if (message->what == platform::fourcc("alrt")) {
            show_alert("T", "modal", "OK(O)", nullptr, nullptr, 0, AlertType::Info);
            handled.push_back(message->what);
            return;
        }
        if (message->what == platform::fourcc("next")) {
            handled.push_back(message->what);
            return;
        }
        TBasicWindow::MessageReceived(message);
    }
};

TEST(AlertThreads, MessagePostedDuringTheWindowsOwnAlertIsHandledOnceAfterIt)
{
    AlertingWindow window;
    std::vector<uint32_t> seenWhileOpen;
    bool posted = false;
    // Runs inside the alert's own loop: posts once, then answers the alert.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QMessageBox* box = open_alert();
        if (!box) return;
        if (!posted) {
            window.PostMessage(platform::fourcc("next"));
            posted = true;
            return;
        }
        seenWhileOpen = window.handled;
        box->buttons().front()->click();
        closer.stop();
    });
    closer.start(30);
    window.PostMessage(platform::fourcc("alrt"));
    for (int i = 0; i < 500 && window.handled.size() < 2; ++i) QTest::qWait(10);
    EXPECT_TRUE(posted);
    EXPECT_TRUE(seenWhileOpen.empty());
    EXPECT_EQ(window.handled, (std::vector<uint32_t>{platform::fourcc("alrt"), platform::fourcc("next")}));
}

// Under Xvfb with KIVO_SHOT_DIR set, also writes the compile-error alert as alert.png.
TEST(AlertLook, CompileErrorAlertShowsTitleMessageAndOneButton)
{
    TErrorAlertSink sink("Kivo-BASIC");
    WorkerThread compiler([&] {
        sink.ShowAlert(kErrorText);
        return 0;
    });
    compiler.Resume();
    QMessageBox* box = wait_for_alert();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("* Kivo-BASIC *"));
    EXPECT_EQ(box->text(), QString::fromStdString("* Kivo-BASIC *\n\n" + kErrorText));
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons().front()->text(), QStringLiteral("Understand(U)"));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);

    QByteArray shotDir = qgetenv("KIVO_SHOT_DIR");
    if (!shotDir.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(shotDir));
        QTest::qWait(200);
        EXPECT_TRUE(box->grab().save(QString::fromLocal8Bit(shotDir) + QStringLiteral("/alert.png")));
    }
    QTest::keyClick(box, Qt::Key_U);
    compiler.Wait(nullptr);
    EXPECT_EQ(open_alert(), nullptr);
}

}  // namespace
