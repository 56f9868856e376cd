#include "platform/qt/AlertService.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <memory>
#include <mutex>

#include "platform/AlertRequest.h"

namespace platform {

namespace {

QMessageBox::Icon icon_of(AlertType type)
{
    switch (type) {
    case AlertType::Empty: return QMessageBox::NoIcon;
    case AlertType::Info: return QMessageBox::Information;
    case AlertType::Idea: return QMessageBox::Information;
    case AlertType::Warning: return QMessageBox::Warning;
    case AlertType::Stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

bool has_escape_button(const AlertContent& content)
{
    return content.escapeIndex >= 0 && content.escapeIndex < static_cast<int32_t>(content.buttons.size());
}

int32_t withdrawn_answer(const AlertContent& content)
{
    return has_escape_button(content) ? content.escapeIndex : 0;
}

// The alert's keys: a button's letter, typed alone or with Alt as in the dialogs, chooses
// it, and Escape does nothing when no button has it.
class AlertKeys : public QObject {
public:
    AlertKeys(QMessageBox* box, std::vector<QAbstractButton*> buttons, std::vector<char> shortcuts, bool escape)
        : QObject(box), mButtons(std::move(buttons)), mShortcuts(std::move(shortcuts)), mEscape(escape)
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) return !mEscape;
        if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
        char letter = 0;
        if (key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z)
            letter = static_cast<char>('a' + key->key() - Qt::Key_A);
        if (key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9) letter = static_cast<char>(key->key());
        if (letter == 0) return false;
        for (size_t i = 0; i < mButtons.size(); ++i) {
            if (mShortcuts[i] == letter) {
                mButtons[i]->click();
                return true;
            }
        }
        return false;
    }

private:
    std::vector<QAbstractButton*> mButtons;
    std::vector<char> mShortcuts;
    bool mEscape;
};

// The alert box and its buttons in the order given.
struct AlertBox {
    QMessageBox* box;
    std::vector<QAbstractButton*> buttons;

    int32_t IndexOfClicked(const AlertContent& content) const
    {
        auto it = std::find(buttons.begin(), buttons.end(), box->clickedButton());
        if (it == buttons.end()) return withdrawn_answer(content);
        return static_cast<int32_t>(it - buttons.begin());
    }
};

AlertBox make_alert_box(const AlertContent& content)
{
    AlertBox alert;
    alert.box = new QMessageBox(icon_of(content.type), QString::fromStdString(content.windowTitle),
                                QString::fromStdString(content.text), QMessageBox::NoButton);
    alert.box->setTextFormat(Qt::PlainText);
    std::vector<char> shortcuts;
    for (size_t i = 0; i < content.buttons.size(); ++i) {
        QString label = QString::fromStdString(content.buttons[i].label).replace('&', QStringLiteral("&&"));
        QPushButton* button = alert.box->addButton(label, QMessageBox::ActionRole);
        alert.buttons.push_back(button);
        // The Escape button answers to Escape only, not to the letter its label shows.
        shortcuts.push_back(static_cast<int32_t>(i) == content.escapeIndex ? 0 : content.buttons[i].shortcut);
    }
    if (!alert.buttons.empty()) alert.box->setDefaultButton(static_cast<QPushButton*>(alert.buttons.back()));
    if (has_escape_button(content)) alert.box->setEscapeButton(alert.buttons[static_cast<size_t>(content.escapeIndex)]);
    alert.box->installEventFilter(new AlertKeys(alert.box, alert.buttons, shortcuts, has_escape_button(content)));
    return alert;
}

// Alerts that other threads wait for.
std::mutex gPendingMutex;
std::vector<std::weak_ptr<AlertRequest>> gPending;

void add_pending(const std::shared_ptr<AlertRequest>& request)
{
    std::lock_guard lock(gPendingMutex);
    gPending.push_back(request);
}

void remove_pending(const std::shared_ptr<AlertRequest>& request)
{
    std::lock_guard lock(gPendingMutex);
    std::erase_if(gPending, [&](const std::weak_ptr<AlertRequest>& entry) {
        std::shared_ptr<AlertRequest> held = entry.lock();
        return !held || held == request;
    });
}

int32_t run_on_gui_thread(const AlertContent& content)
{
    AlertBox alert = make_alert_box(content);
    alert.box->exec();
    int32_t index = alert.IndexOfClicked(content);
    delete alert.box;
    return index;
}

void show_for_request(const AlertContent& content, const std::shared_ptr<AlertRequest>& request)
{
    if (request->IsSettled()) return;
    AlertBox alert = make_alert_box(content);
    alert.box->setWindowModality(Qt::ApplicationModal);
    QMessageBox* box = alert.box;
    QObject::connect(box, &QDialog::finished, box, [content, alert, request] {
        request->Answer(alert.IndexOfClicked(content));
        alert.box->deleteLater();
    });
    QPointer<QMessageBox> guard(box);
    box->show();
    // Runs on the withdrawing thread: the box is closed on the GUI thread.
    request->SetOnWithdraw([guard] {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app) return;
        QMetaObject::invokeMethod(
            app,
            [guard] {
                if (guard) guard->done(QDialog::Rejected);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace

int32_t run_alert(const AlertContent& content, const std::atomic<bool>* stopFlag)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || content.buttons.empty()) return withdrawn_answer(content);
    if (QThread::currentThread() == app->thread()) return run_on_gui_thread(content);

    auto request = std::make_shared<AlertRequest>(withdrawn_answer(content));
    add_pending(request);
    QMetaObject::invokeMethod(
        app, [content, request] { show_for_request(content, request); }, Qt::QueuedConnection);
    int32_t answer = request->Wait(stopFlag);
    remove_pending(request);
    return answer;
}

void withdraw_pending_alerts()
{
    std::vector<std::shared_ptr<AlertRequest>> requests;
    {
        std::lock_guard lock(gPendingMutex);
        for (const auto& entry : gPending)
            if (auto held = entry.lock()) requests.push_back(held);
    }
    for (const auto& request : requests) request->Withdraw();
}

int32_t count_pending_alerts()
{
    std::lock_guard lock(gPendingMutex);
    return static_cast<int32_t>(std::count_if(
        gPending.begin(), gPending.end(), [](const std::weak_ptr<AlertRequest>& entry) { return !entry.expired(); }));
}

}  // namespace platform
